#include "editor/picturestore.h"

#include "editor/builtinpictures.h"

#include <QHash>
#include <QtDebug>

#include <algorithm>

namespace tb {

namespace {

QImage placeholder(bool isFlag)
{
    // Most flags are 42 × 28 and the red dot 16 × 16: a stand-in of that size
    // keeps the layout of a clock the same as with the real picture.
    QImage img = isFlag ? QImage(42, 28, QImage::Format_ARGB32_Premultiplied)
                        : QImage(16, 16, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    return img;
}

} // namespace

PictureStore PictureStore::builtIn()
{
    return builtIn(QString::fromLatin1(kBuiltInFolder), builtInPictureRatio());
}

PictureStore PictureStore::builtIn(const QString &folder, qreal devicePixelRatio)
{
    PictureStore store;
    store.m_entries.reserve(size_t(kBuiltInPictureCount));
    // Several keys share one flag file; read each file once and let the
    // images share their data.
    QHash<QString, QImage> loaded;
    QStringList missing;
    for (const BuiltInPicture &p : builtInPictures()) {
        const QString file = builtInPictureFile(p);
        auto it = loaded.find(file);
        if (it == loaded.end()) {
            QImage img = loadBuiltInPicture(folder + QLatin1Char('/') + file, devicePixelRatio);
            if (img.isNull()) {
                // Without its picture the key must still exist: a placed clock
                // that names it would otherwise lose its picture setting.
                missing.append(file);
                img = placeholder(p.iso[0] != '\0');
            }
            it = loaded.insert(file, img);
        }
        store.m_entries.push_back(PictureEntry{QString::fromLatin1(p.key), it.value(),
                                               QString::fromLatin1(p.tag)});
    }
    if (!missing.isEmpty()) {
        qWarning("tembra: %lld built-in picture(s) missing from %s, shown blank: %s",
                 qlonglong(missing.size()), qUtf8Printable(folder),
                 qUtf8Printable(missing.join(QStringLiteral(", "))));
    }
    return store;
}

const PictureEntry *PictureStore::find(const QString &key) const
{
    if (key.isEmpty())
        return nullptr;
    // At most 163 + 999 entries: a scan is cheap and needs no index to keep
    // in step with removals.
    const auto it = std::find_if(m_entries.begin(), m_entries.end(),
                                 [&](const PictureEntry &e) { return e.key == key; });
    return it == m_entries.end() ? nullptr : &*it;
}

bool PictureStore::add(const QString &key, const QImage &picture, const QString &tag)
{
    if (key.isEmpty() || picture.isNull() || contains(key))
        return false;
    m_entries.push_back(PictureEntry{key, picture, tag});
    return true;
}

bool PictureStore::addUser(int slot, const QImage &picture, const QString &tag)
{
    const QString key = userKey(slot);
    if (key.isEmpty() || picture.isNull())
        return false;
    // A slot names one file in the settings. When a slot is handed out again
    // while its old picture is still here, the settings now describe the new
    // file, so the store follows them: the entry keeps its place (clocks and
    // lists that hold the key stay valid) and takes the new picture and tag.
    for (PictureEntry &e : m_entries) {
        if (e.key == key) {
            e.picture = picture;
            e.tag = tag;
            return true;
        }
    }
    m_entries.push_back(PictureEntry{key, picture, tag});
    return true;
}

bool PictureStore::remove(const QString &key)
{
    const auto it = std::find_if(m_entries.begin(), m_entries.end(),
                                 [&](const PictureEntry &e) { return e.key == key; });
    if (it == m_entries.end())
        return false;
    m_entries.erase(it);
    return true;
}

QStringList PictureStore::keys() const
{
    QStringList out;
    out.reserve(count());
    for (const PictureEntry &e : m_entries)
        out.append(e.key);
    return out;
}

QString PictureStore::userKey(int slot)
{
    if (slot < 1 || slot > kMaxUserSlot)
        return QString();
    return QStringLiteral("%1User").arg(slot, 3, 10, QLatin1Char('0'));
}

int PictureStore::userSlot(const QString &key)
{
    // Exactly three digits and "User": "7User" or "0012User" were never
    // handed out, and "000User" is no slot.
    if (key.size() != 7 || !key.endsWith(QLatin1String("User")))
        return 0;
    int slot = 0;
    for (int i = 0; i < 3; ++i) {
        const char16_t c = key.at(i).unicode();
        if (c < u'0' || c > u'9')
            return 0;
        slot = slot * 10 + int(c - u'0');
    }
    return slot;
}

} // namespace tb
