#include "core/editor/picturestore.h"

#include "core/editor/builtinpictures.h"

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
    store.m_ratio = devicePixelRatio;
    store.m_slots.reserve(size_t(kBuiltInPictureCount));
    // Decoding all the flags took a good part of the start-up, for pictures
    // most users never look at: here each file's header is only checked, so
    // that missing ones are still reported at once, and the pixels wait for
    // the first at() or find() of an entry that shows them.
    QHash<QString, bool> readable;
    QStringList missing;
    for (const BuiltInPicture &p : builtInPictures()) {
        const QString file = builtInPictureFile(p);
        const QString path = folder + QLatin1Char('/') + file;
        auto it = readable.find(file);
        if (it == readable.end()) {
            const bool ok = canLoadBuiltInPicture(path, devicePixelRatio);
            if (!ok)
                missing.append(file);
            it = readable.insert(file, ok);
        }
        // Without its picture the key must still exist: a placed clock that
        // names it would otherwise lose its picture setting.
        Slot slot{PictureEntry{QString::fromLatin1(p.key), QImage(), QString::fromLatin1(p.tag)},
                  it.value() ? path : QString()};
        if (!it.value())
            slot.entry.picture = placeholder(p.iso[0] != '\0');
        store.m_slots.push_back(slot);
    }
    if (!missing.isEmpty()) {
        qWarning("tembra: %lld built-in picture(s) missing from %s, shown blank: %s",
                 qlonglong(missing.size()), qUtf8Printable(folder),
                 qUtf8Printable(missing.join(QStringLiteral(", "))));
    }
    return store;
}

const PictureEntry &PictureStore::decoded(Slot &slot) const
{
    if (slot.source.isEmpty())
        return slot.entry;
    const QString source = slot.source;
    QImage img = loadBuiltInPicture(source, m_ratio);
    if (img.isNull()) {
        // The header read but the rest did not (a truncated file).
        qWarning("tembra: built-in picture %s missing, shown blank", qUtf8Printable(source));
        img = placeholder(!source.endsWith(QLatin1String("/redpointer.png")));
    }
    // Keys that show the same flag ("UK", "UnitedKingdom") share the file:
    // decode it once and let their images share the data.
    for (Slot &s : m_slots) {
        if (s.source == source) {
            s.entry.picture = img;
            s.source.clear();
        }
    }
    return slot.entry;
}

const PictureEntry &PictureStore::at(int index) const
{
    return decoded(m_slots[size_t(index)]);
}

std::vector<PictureStore::Slot>::iterator PictureStore::slotOf(const QString &key) const
{
    if (key.isEmpty())
        return m_slots.end();
    // At most 163 + 999 entries: a scan is cheap and needs no index to keep
    // in step with removals.
    return std::find_if(m_slots.begin(), m_slots.end(),
                        [&](const Slot &s) { return s.entry.key == key; });
}

const PictureEntry *PictureStore::find(const QString &key) const
{
    const auto it = slotOf(key);
    return it == m_slots.end() ? nullptr : &decoded(*it);
}

bool PictureStore::add(const QString &key, const QImage &picture, const QString &tag)
{
    if (key.isEmpty() || picture.isNull() || contains(key))
        return false;
    m_slots.push_back(Slot{PictureEntry{key, picture, tag}, QString()});
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
    const auto it = slotOf(key);
    if (it != m_slots.end()) {
        it->entry.picture = picture;
        it->entry.tag = tag;
        it->source.clear();
        return true;
    }
    m_slots.push_back(Slot{PictureEntry{key, picture, tag}, QString()});
    return true;
}

bool PictureStore::remove(const QString &key)
{
    const auto it = slotOf(key);
    if (it == m_slots.end())
        return false;
    m_slots.erase(it);
    return true;
}

QStringList PictureStore::keys() const
{
    QStringList out;
    out.reserve(count());
    for (const Slot &s : m_slots)
        out.append(s.entry.key);
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
