#include "core/editor/editorrules.h"

#include "core/editor/namesort.h"
#include "core/editor/picturestore.h"
#include "core/settings/schema.h"
#include "core/settings/settingsstore.h"
#include "core/common/sizetag.h"

#include <QFileInfo>
#include <QImageReader>

#include <algorithm>

namespace tb {

namespace {
SettingPlace slotPlace(int slot) { return SettingPlace{ QString(), slotNumber(slot) }; }
} // namespace

std::optional<UserSlotChoice> chooseUserSlot()
{
    const int c = readUserPictureCount();
    if (c < 1)
        return UserSlotChoice{ 1, 1 };
    for (int n = 1; n <= c; ++n) {
        if (readSetting(keys::kUserPictureFile, slotPlace(n)).isEmpty())
            return UserSlotChoice{ n, c };
    }
    if (c >= PictureStore::kMaxUserSlot)
        return std::nullopt;
    return UserSlotChoice{ c + 1, c + 1 };
}

bool storeUserSlot(const UserSlotChoice &choice, const QString &file, const QString &sizeTag)
{
    SettingsWriteGroup group;
    writeSettingNumber(keys::kUserPictureCount, choice.count);
    writeSetting(keys::kUserPictureFile, file, slotPlace(choice.slot));
    writeSetting(keys::kUserPictureSize, sizeTag, slotPlace(choice.slot));
    return group.end();
}

bool freeUserSlot(int slot)
{
    SettingsWriteGroup group;
    writeSetting(keys::kUserPictureFile, QString(), slotPlace(slot));
    writeSetting(keys::kUserPictureSize, QString(), slotPlace(slot));
    return group.end();
}

QList<int> dropRemovedPicture(ClockEntries &entries, int lastIndex, const QString &key)
{
    QList<int> changed;
    if (key.isEmpty())
        return changed;
    for (int i = 0; i <= lastIndex && i < int(entries.size()); ++i) {
        if (entries[size_t(i)].pictureKey == key) {
            entries[size_t(i)].pictureKey.clear();
            changed << i;
        }
    }
    return changed;
}

PictureFile loadUserPicture(const QString &path, const QString &sizeTag)
{
    return loadPictureFile(path, sizeTag);
}

bool isUserPictureName(const QString &name)
{
    return name.endsWith(QLatin1String("User"));
}

QString removeButtonCaption(const QString &name)
{
    return QLatin1Char('[') + name + QStringLiteral("]をリストから削除");
}

QString removeQuestion(const QString &name)
{
    return QLatin1Char('[') + name + QStringLiteral("]をリストから削除します");
}

QString userPicturesFullMessage()
{
    return QStringLiteral("登録できる画像は999枚までです。これ以上追加できません。");
}

QString pictureNotLoadedMessage()
{
    return QStringLiteral("画像ファイルではありません");
}

DateTime previewTime(DateTime japan, qint16 difTime, qint16 difMinute, bool summerBox)
{
    const DateTime t = addMinutes(japan, difMinute);
    return addHours(t, double(difTime) + (summerBox ? 1 : 0));
}

int sortedInsertPosition(const QStringList &sorted, const QString &name)
{
    return int(std::lower_bound(sorted.begin(), sorted.end(), name, pictureNameLess) - sorted.begin());
}

} // namespace tb
