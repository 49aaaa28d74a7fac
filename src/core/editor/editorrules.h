#pragma once
// What the clock editor decides without any window: which user-picture slot
// a new picture takes, the slot settings it writes, and the preview's time.
#include "core/common/picturefile.h"
#include "core/settings/schema.h"
#include "core/time/clockentry.h"
#include "core/time/datetime.h"

#include <QList>

#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <optional>

namespace tb {

struct UserSlotChoice {
    int slot = 0;  // 1 … 999
    int count = 0; // "UserImgCount" after the picture is added
};

// The lowest free slot from 1 to "UserImgCount", else the next new number;
// nullopt when all 999 slots are in use. Reads the settings only.
std::optional<UserSlotChoice> chooseUserSlot();
// Writes "UserImgCount", then the slot's FileName and Size, in that order.
// False when the settings could not be written.
bool storeUserSlot(const UserSlotChoice &choice, const QString &file, const QString &sizeTag);
// Empties the slot's FileName and Size; "UserImgCount" stays, so the slot is
// handed out again before a new number is.
bool freeUserSlot(int slot);

// After a user picture is removed: every placed clock 0 … lastIndex that
// showed it loses its picture (pictureKey cleared), nothing else of it changes.
// Returns the clocks changed, so the window can clear their picture boxes.
QList<int> dropRemovedPicture(ClockEntries &entries, int lastIndex, const QString &key);

// Loads a user picture for the picture store, as start-up does
// (loadPictureFile with its size tag).
PictureFile loadUserPicture(const QString &path, const QString &sizeTag);

// A name of the user's own pictures ("005User"), told by its last four letters.
bool isUserPictureName(const QString &name);
QString removeButtonCaption(const QString &name);   // "[005User]をリストから削除"
QString removeQuestion(const QString &name);        // "[005User]をリストから削除します"
QString userPicturesFullMessage();
QString pictureNotLoadedMessage();

// The preview's time: Japan time (Moment::japan) + minutes, then + hours and the summer hour.
DateTime previewTime(DateTime japan, qint16 difTime, qint16 difMinute, bool summerBox);

// Where `name` goes in a list kept in picture-name order.
int sortedInsertPosition(const QStringList &sorted, const QString &name);

} // namespace tb
