#pragma once
// The settings file on disk: read whole into memory, written whole.
// QSettings parses it; writing goes through our own text and a temporary
// file renamed over the old one, because QSettings commits a half-written
// file on a full disk and waits without end on a lock file it cannot remove.
#include <QMap>
#include <QString>
#include <functional>

namespace tb {

// "Section/Key" (or "Key" for [General]) -> value text.
using IniValues = QMap<QString, QString>;

// A file larger than this is no settings file of ours: it is not read.
constexpr qint64 kMaxIniBytes = 16 * 1024 * 1024;

enum class ReadProblem {
    None,       // read, or nothing there yet (a first start)
    Damaged,    // not text, too large, or none of the program's sections in it
    NotAFile,   // a folder, a pipe or a device stands at the path
    BrokenLink, // a link to nothing, a loop, or a link to something that is no regular file
    Unreadable, // there, but it cannot be read (no permission, an I/O error)
};

struct IniRead {
    IniValues values;
    ReadProblem problem = ReadProblem::None;
    int error = 0;     // errno behind Unreadable and BrokenLink; 0 for a link to no regular file
    bool blank = true; // no file, or nothing in it but blanks
};

// Tells the sections the program keeps from others.
using SectionFilter = std::function<bool(const QString &section)>;

// Never opens anything but a regular file, so a pipe or a device in its
// place cannot stall the program; a link is followed to its final target.
// A byte-order mark, comment lines ('#', ';') and lines that are neither a
// [section] nor key=value are skipped; what remains reads as QSettings
// reads it. A file with something in it but no value in an own section
// (any section when ownSection is empty) counts as damaged.
IniRead readIniFile(const QString &path, const SectionFilter &ownSection = {});

// The text QSettings writes for these values: sections and keys in name
// order, a blank line between sections.
QByteArray iniText(const IniValues &values);

enum class SaveError {
    None,
    NotAFile,   // a pipe, a device or a folder stands at the path
    BrokenLink, // a link that leads to no regular file
    WriteFailed // no room, no permission, an I/O error: the old file stays
};

// Replaces the file at path with bytes, or leaves it as it was. Every write
// is checked and the data is on disk before the new file takes the old one's
// name. A link is followed to its final target, which is replaced in its own
// folder; the link stays. error gets the errno behind a failure.
SaveError replaceFileWhole(const QString &path, const QByteArray &bytes, int *error = nullptr);

// Removes what earlier saves of path (or of its link's target) left behind
// when the program was stopped between writing and renaming: only files of
// our own naming, only those older than a minute (another copy may be saving).
void removeLeftoverSaves(const QString &path);

} // namespace tb
