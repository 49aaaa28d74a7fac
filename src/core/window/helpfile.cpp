#include "core/window/helpfile.h"

#include <QDir>
#include <QFileInfo>

#ifndef TEMBRA_DATA_FROM_BIN
#define TEMBRA_DATA_FROM_BIN "../share/tembra"
#endif

namespace tb {

QString helpFileName()
{
    return QStringLiteral("tembra.hlp");
}

QStringList helpFileCandidates(const QString &programDir)
{
    const QDir bin(programDir);
    return { QDir::cleanPath(bin.absoluteFilePath(helpFileName())),
             QDir::cleanPath(bin.absoluteFilePath(QStringLiteral(TEMBRA_DATA_FROM_BIN "/")
                                                  + helpFileName())) };
}

HelpLookup findHelpFile(const QString &programDir)
{
    HelpLookup out;
    for (const QString &path : helpFileCandidates(programDir)) {
        out.tried.append(path);
        const QFileInfo info(path);
        // A folder or a file we may not read is no help file: keep looking.
        if (info.isFile() && info.isReadable()) {
            out.found = path;
            break;
        }
    }
    return out;
}

QString missingHelpMessage(const QStringList &tried)
{
    QString text = QStringLiteral("ヘルプファイル %1 が見つかりません。\n探した場所:").arg(helpFileName());
    for (const QString &path : tried)
        text += QStringLiteral("\n") + QDir::toNativeSeparators(path);
    return text;
}

} // namespace tb
