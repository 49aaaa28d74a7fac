#pragma once
// Where the help file lives. The build tree keeps it beside the program;
// an installed program keeps it in the shared data folder, since data files
// do not belong in bin/.
#include <QString>
#include <QStringList>

namespace tb {

struct HelpLookup {
    QString found;     // absolute path of the help file; empty when none was found
    QStringList tried; // every path looked at, in order
};

QString helpFileName(); // "tembra.hlp"

// The places to look, most preferred first: the program's own folder, then
// the installed data folder derived from it (<prefix>/bin → <prefix>/share/tembra).
QStringList helpFileCandidates(const QString &programDir);

// The first candidate that is a readable regular file.
HelpLookup findHelpFile(const QString &programDir);

// The message shown when no help file was found, naming each path tried.
QString missingHelpMessage(const QStringList &tried);

} // namespace tb
