#pragma once
// The keyed picture store: the built-in flags and the red dot, in their
// fixed order, and the user's pictures under 001User … 999User.
#include "core/settings/schema.h"

#include <QImage>
#include <QString>
#include <QStringList>
#include <vector>

namespace tb {

struct PictureEntry {
    QString key;
    QImage picture;
    QString tag; // size tag for user pictures; a copy of the name for some built-ins; may be empty
};

class PictureStore {
public:
    PictureStore() = default;
    // The 163 built-in pictures, from the compiled-in resources at the
    // screens' pixel ratio (builtInPictureRatio()). Each picture is decoded
    // when at() or find() first hands out its entry, so that start-up only
    // pays for the flags the placed clocks show.
    static PictureStore builtIn();
    // The same, with the pictures read from another folder (":/flags" for the
    // resources). A picture that cannot be read is replaced by a transparent
    // one of the usual size, with a warning, so that its key still works.
    // With a ratio above 1 the "@2x" pictures are taken where they exist; they
    // have the same deviceIndependentSize() as the ordinary ones.
    static PictureStore builtIn(const QString &folder, qreal devicePixelRatio = 1.0);
    static constexpr const char *kBuiltInFolder = ":/flags";

    int count() const { return int(m_slots.size()); }
    // The entry's picture is decoded by then (GUI thread only: this fills it in).
    const PictureEntry &at(int index) const;
    // nullptr when no entry has this key ("not found").
    const PictureEntry *find(const QString &key) const;
    bool contains(const QString &key) const { return slotOf(key) != m_slots.end(); }

    // Appends an entry; refused (false) for an empty key, a key already present or a null picture.
    bool add(const QString &key, const QImage &picture, const QString &tag = QString());
    // Adds a user picture under userKey(slot); refused for a slot outside 1 … 999
    // or a null picture. A slot already in the store gets the new picture and
    // tag in place (see the definition for why).
    bool addUser(int slot, const QImage &picture, const QString &tag);
    // Removes the entry with this key; false when there is none.
    bool remove(const QString &key);

    // Keys in store order.
    QStringList keys() const;

    // "001User" for slot 1; empty for a slot outside 1 … 999.
    static QString userKey(int slot);
    // The slot of a user key ("012User" → 12); 0 for any other key.
    static int userSlot(const QString &key);
    static constexpr int kMaxUserSlot = ::tb::kMaxUserSlot; // the settings keep that many

private:
    struct Slot {
        PictureEntry entry;
        QString source; // the file still to decode into entry.picture; empty once done
    };
    std::vector<Slot>::iterator slotOf(const QString &key) const;
    const PictureEntry &decoded(Slot &slot) const;

    mutable std::vector<Slot> m_slots;
    qreal m_ratio = 1.0; // of the built-in pictures still to decode
};

} // namespace tb
