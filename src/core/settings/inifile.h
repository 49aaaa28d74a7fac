#pragma once
// The settings file on disk: read whole into memory, written whole.
// QSettings parses it; writing goes through our own text and QSaveFile,
// because QSettings commits a half-written file on a full disk and waits
// without end on a lock file it cannot remove.
#include <QMap>
#include <QSettings>
#include <QString>

namespace tb {

// "Section/Key" (or "Key" for [General]) -> value text.
using IniValues = QMap<QString, QString>;

struct IniRead {
    IniValues values;
    // NoError (also when there is no file yet), FormatError for a file QSettings
    // cannot parse, AccessError for one it cannot open or that is no regular
    // file at all (a pipe, a device, a folder, a broken link).
    QSettings::Status status = QSettings::NoError;
};

// Never opens anything but a regular file, so a pipe or a device in its
// place cannot stall the program.
IniRead readIniFile(const QString &path);

// The text QSettings writes for these values: sections and keys in name
// order, a blank line between sections.
QByteArray iniText(const IniValues &values);

enum class SaveError {
    None,
    NotAFile,   // a link, a pipe, a device or a folder stands at the path
    WriteFailed // no room, no permission, an I/O error: the old file stays
};

// Replaces the file at path with bytes, or leaves it as it was. Every write
// is checked and the data is on disk before the new file takes the old one's
// name. A symbolic link is not followed: it is refused.
SaveError replaceFileWhole(const QString &path, const QByteArray &bytes);

} // namespace tb
