#pragma once
// The settings file's text: QSettings parses it; writing goes through our
// own text (see replaceFileWhole), because QSettings commits a half-written
// file on a full disk and waits without end on a lock file it cannot remove.
#include "core/settings/wholefile.h"

#include <QMap>
#include <QString>
#include <functional>

namespace tb {

// "Section/Key" (or "Key" for [General]) -> value text.
using IniValues = QMap<QString, QString>;

// A file larger than this is no settings file of ours: it is not read.
constexpr qint64 kMaxIniBytes = 16 * 1024 * 1024;

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

} // namespace tb
