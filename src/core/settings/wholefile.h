#pragma once
// A file read and replaced whole: nothing but a regular file is opened (a
// pipe or a device in its place cannot stall the program), a link is
// followed to its final target, and a new file takes the old one's place
// only once every byte of it is on disk.
#include <QByteArray>
#include <QString>

namespace tb {

enum class ReadProblem {
    None,       // read, or nothing there yet (a first start)
    Damaged,    // too large; for the settings file also: not text, or none of its sections in it
    NotAFile,   // a folder, a pipe or a device stands at the path
    BrokenLink, // a link to nothing, a loop, or a link to something that is no regular file
    Unreadable, // there, but it cannot be read (no permission, an I/O error)
};

struct FileRead {
    ReadProblem problem = ReadProblem::None;
    int error = 0; // errno behind Unreadable and BrokenLink; 0 for a link to no regular file
};

// The bytes of the regular file at path, or at a link's final target. A
// file larger than maxBytes is Damaged and not read. Nothing at path is no
// problem, and no bytes.
FileRead readWholeFile(const QString &path, qint64 maxBytes, QByteArray *bytes);

// Writes every byte to fd; false, with errno set, when it cannot.
bool writeAll(int fd, const QByteArray &bytes);

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
