#include "core/settings/wholefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStringList>
#include <algorithm>

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tb {

FileRead readWholeFile(const QString &path, qint64 maxBytes, QByteArray *bytes)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat st = {};
    if (::lstat(name.constData(), &st) != 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return FileRead(); // nothing there: a first start
        return FileRead{ ReadProblem::Unreadable, errno };
    }
    if (S_ISLNK(st.st_mode)) {
        if (::stat(name.constData(), &st) != 0)
            return FileRead{ errno == EACCES ? ReadProblem::Unreadable : ReadProblem::BrokenLink, errno };
        if (!S_ISREG(st.st_mode))
            return FileRead{ ReadProblem::BrokenLink };
    } else if (!S_ISREG(st.st_mode)) {
        return FileRead{ ReadProblem::NotAFile };
    }
    // Should a pipe take the file's place meanwhile, opening it does not wait.
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return FileRead{ ReadProblem::Unreadable, errno };
    FileRead r;
    if (::fstat(fd, &st) != 0) {
        r = FileRead{ ReadProblem::Unreadable, errno };
    } else if (!S_ISREG(st.st_mode)) {
        r = FileRead{ ReadProblem::NotAFile };
    } else if (st.st_size > maxBytes) {
        r = FileRead{ ReadProblem::Damaged }; // never read whole
    } else {
        bytes->resize(qsizetype(st.st_size) + 1);
        qsizetype got = 0;
        // One byte more than the file said it had tells that it grew meanwhile.
        while (got < bytes->size()) {
            const ssize_t n = ::read(fd, bytes->data() + got, size_t(bytes->size() - got));
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0) {
                r = FileRead{ ReadProblem::Unreadable, errno };
                break;
            }
            if (n == 0)
                break;
            got += n;
            if (got == bytes->size() && got <= maxBytes)
                bytes->resize(std::min<qsizetype>(got * 2, maxBytes + 1));
        }
        if (got > maxBytes)
            r = FileRead{ ReadProblem::Damaged };
        bytes->truncate(got);
    }
    ::close(fd);
    return r;
}

bool writeAll(int fd, const QByteArray &bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno != EINTR)
            return false;
        if (n > 0)
            done += n;
    }
    return true;
}

namespace {

// Saves write to "<file>.saving-XXXXXX" beside the file they replace.
const QString kSavingInfix = QStringLiteral(".saving-");

QString randomSuffix()
{
    static const char chars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QString s;
    for (int i = 0; i < 6; ++i)
        s += QLatin1Char(chars[QRandomGenerator::global()->bounded(62)]);
    return s;
}

// Creates the folders missing on the way to folder, but never one at the
// root: a home folder that is "/" or missing must not leave "/.config" behind.
bool makeFolders(const QString &folder, int *error)
{
    struct stat st = {};
    if (::stat(QFile::encodeName(folder).constData(), &st) == 0) {
        *error = S_ISDIR(st.st_mode) ? 0 : ENOTDIR;
        return *error == 0;
    }
    *error = errno;
    const QString parent = QFileInfo(folder).absolutePath();
    if (*error != ENOENT || parent == QLatin1String("/") || parent == folder)
        return false;
    if (!makeFolders(parent, error))
        return false;
    if (::mkdir(QFile::encodeName(folder).constData(), 0777) != 0 && errno != EEXIST) {
        *error = errno;
        return false;
    }
    return true;
}

} // namespace

SaveError replaceFileWhole(const QString &path, const QByteArray &bytes, int *error)
{
    int ignored = 0;
    int &err = error ? *error : ignored;
    err = 0;
    QString target = path;
    struct stat st = {};
    const bool exists = ::lstat(QFile::encodeName(path).constData(), &st) == 0;
    if (!exists && errno != ENOENT) {
        err = errno;
        return SaveError::WriteFailed;
    }
    if (exists && S_ISLNK(st.st_mode)) {
        char *real = ::realpath(QFile::encodeName(path).constData(), nullptr);
        if (!real) {
            err = errno;
            return SaveError::BrokenLink;
        }
        target = QFile::decodeName(real);
        ::free(real);
        if (::stat(QFile::encodeName(target).constData(), &st) != 0) {
            err = errno;
            return SaveError::BrokenLink;
        }
        if (!S_ISREG(st.st_mode))
            return SaveError::BrokenLink;
    } else if (exists && !S_ISREG(st.st_mode)) {
        // A device or a pipe must not be replaced by a file.
        return SaveError::NotAFile;
    }
    const QString folder = QFileInfo(target).absolutePath();
    if (!exists && !makeFolders(folder, &err))
        return SaveError::WriteFailed;

    // Our own temporary name, not QSaveFile's: left over after a crash, it
    // can be told from the user's own files and removed.
    QString temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = target + kSavingInfix + randomSuffix();
        fd = ::open(QFile::encodeName(temp).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0) {
        err = errno;
        return SaveError::WriteFailed;
    }
    if (exists)
        ::fchmod(fd, st.st_mode & 07777); // the replaced file's permissions stay
    // Every write checked, and the data on disk before the rename.
    struct stat written = {};
    bool ok = writeAll(fd, bytes) && ::fsync(fd) == 0 && ::fstat(fd, &written) == 0;
    if (ok && written.st_size != bytes.size()) {
        ok = false;
        errno = EIO;
    }
    err = ok ? 0 : errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        err = errno;
    }
    if (ok && ::rename(QFile::encodeName(temp).constData(), QFile::encodeName(target).constData()) != 0) {
        ok = false;
        err = errno;
    }
    if (!ok) {
        ::unlink(QFile::encodeName(temp).constData());
        return SaveError::WriteFailed;
    }
    // The rename itself reaches the disk with the folder.
    const int dir = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return SaveError::None;
}

void removeLeftoverSaves(const QString &path)
{
    QStringList files{ path };
    const QFileInfo info(path);
    if (info.isSymLink() && !info.canonicalFilePath().isEmpty())
        files << info.canonicalFilePath();
    const time_t minuteAgo = ::time(nullptr) - 60;
    for (const QString &file : files) {
        const QFileInfo f(file);
        const QRegularExpression ours(QLatin1Char('^') + QRegularExpression::escape(f.fileName() + kSavingInfix)
                                      + QStringLiteral("[A-Za-z0-9]{6}$"));
        const QDir dir = f.absoluteDir();
        const QStringList names = dir.entryList({ f.fileName() + kSavingInfix + QLatin1Char('*') },
                                                QDir::Files | QDir::Hidden | QDir::System);
        for (const QString &name : names) {
            const QByteArray leftover = QFile::encodeName(dir.filePath(name));
            struct stat st = {};
            if (ours.match(name).hasMatch() && ::lstat(leftover.constData(), &st) == 0 && S_ISREG(st.st_mode)
                && st.st_uid == ::geteuid() && st.st_mtime < minuteAgo)
                ::unlink(leftover.constData());
        }
    }
}
} // namespace tb
