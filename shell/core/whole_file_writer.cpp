#include "shell/core/whole_file_writer.h"

#include "shell/core/file_descriptor.h"
#include "shell/core/regular_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tess {
namespace {

constexpr int kTemporarySuffixLength = 6;
constexpr char kSuffixCharacters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
// One write within the first sector of a file is never torn by a kill, and
// on common disks not by a power loss either; larger files are not
// overwritten in place.
constexpr qsizetype kMaxInPlaceBytes = 512;

QString writeReason(int error)
{
    switch (error) {
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY: return file_reason::noWritePermission();
    default: return file_reason::systemError(error);
    }
}

bool writeAll(int fd, const QByteArray &bytes, off_t offset)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t wrote = ::pwrite(fd, bytes.constData() + done, bytes.size() - done, offset + done);
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote <= 0)
            return false;
        done += wrote;
    }
    return true;
}

QByteArray temporaryName(const QByteArray &name)
{
    QByteArray suffix(kTemporarySuffixLength, Qt::Uninitialized);
    for (char &character : suffix)
        character = kSuffixCharacters[QRandomGenerator::global()->bounded(int(sizeof kSuffixCharacters) - 1)];
    return name + '.' + suffix;
}

// The folder forbids new files: overwrite the file itself, one write at its
// start. A flag is always three bytes, so the write replaces it whole and
// nothing is cut first; only a longer, already spoiled file is then cut.
QString overwriteInPlace(int folder, const QByteArray &name, const QByteArray &bytes, int createError)
{
    if (bytes.size() > kMaxInPlaceBytes)
        return writeReason(createError);
    const FileDescriptor file(::openat(folder, name.constData(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (file.get() < 0)
        return errno == ENOENT ? writeReason(createError) : errno == ELOOP ? file_reason::aLinkInItsPlace() : writeReason(errno);
    struct stat status {};
    if (::fstat(file.get(), &status) != 0)
        return writeReason(errno);
    if (!S_ISREG(status.st_mode))
        return file_reason::notAPlainFile();
    // A file with other names elsewhere would change there too.
    if (status.st_nlink != 1)
        return file_reason::otherNames();
    if (!writeAll(file.get(), bytes, 0))
        return writeReason(errno);
    if (status.st_size > bytes.size() && ::ftruncate(file.get(), bytes.size()) != 0)
        return writeReason(errno);
    if (::fsync(file.get()) != 0)
        return writeReason(errno);
    return {};
}

QString writeAndRename(int folder, const QByteArray &name, const QByteArray &bytes, const struct stat *old)
{
    QByteArray temporary;
    FileDescriptor file;
    const mode_t mode = old ? (old->st_mode & 0777) : 0666;
    for (int attempt = 0; attempt < 100 && file.get() < 0; ++attempt) {
        temporary = temporaryName(name);
        file.reset(::openat(folder, temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode));
        if (file.get() < 0 && errno != EEXIST) {
            const int error = errno;
            if ((error == EACCES || error == EPERM) && old)
                return overwriteInPlace(folder, name, bytes, error);
            return writeReason(error);
        }
    }
    if (file.get() < 0)
        return writeReason(EEXIST);
    if (old)
        ::fchmod(file.get(), mode);  // as it was, whatever the umask
    const bool written = writeAll(file.get(), bytes, 0) && ::fsync(file.get()) == 0;
    const int error = errno;
    file.reset();
    if (!written || ::renameat(folder, temporary.constData(), folder, name.constData()) != 0) {
        const int failure = written ? errno : error;
        ::unlinkat(folder, temporary.constData(), 0);
        return writeReason(failure);
    }
    ::fsync(folder);  // the rename itself, for a power loss
    return {};
}

} // namespace

QString replaceFileWhole(const QString &path, const QByteArray &bytes)
{
    const QFileInfo info(path);
    const QString folderPath = info.path();
    const QByteArray name = QFile::encodeName(info.fileName());
    const FileDescriptor folder(::open(QFile::encodeName(folderPath).constData(),
                                   O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (folder.get() < 0) {
        const int error = errno;
        if (error == ENOENT || (error == ENOTDIR && !QFileInfo(folderPath).isSymLink()))
            return QStringLiteral("нет папки «%1»").arg(QFileInfo(folderPath).fileName());
        if (error == ELOOP || error == ENOTDIR)
            return QStringLiteral("на месте папки «%1» лежит ссылка").arg(QFileInfo(folderPath).fileName());
        return writeReason(error);
    }
    struct stat status {};
    if (::fstatat(folder.get(), name.constData(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
        if (errno != ENOENT)
            return writeReason(errno);
        return writeAndRename(folder.get(), name, bytes, nullptr);
    }
    if (S_ISLNK(status.st_mode))
        return file_reason::aLinkInItsPlace();
    if (S_ISDIR(status.st_mode))
        return file_reason::folderInItsPlace();
    if (!S_ISREG(status.st_mode))
        return file_reason::notAPlainFile();
    return writeAndRename(folder.get(), name, bytes, &status);
}

bool isLeftoverTemporary(const QString &fileName, const QStringList &targetNames)
{
    const qsizetype dot = fileName.size() - kTemporarySuffixLength - 1;
    if (dot <= 0 || fileName[dot] != u'.' || !targetNames.contains(fileName.left(dot)))
        return false;
    const QString suffix = fileName.mid(dot + 1);
    return std::all_of(suffix.begin(), suffix.end(), [](QChar character) {
        return character.unicode() < 128 && std::isalnum(character.unicode());
    });
}

int removeLeftoverTemporaries(const QString &folder, const QStringList &targetNames)
{
    int removed = 0;
    const QDir dir(folder);
    // Hidden and system entries too; links and other kinds are left alone.
    const QStringList names = dir.entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &fileName : names) {
        if (!isLeftoverTemporary(fileName, targetNames))
            continue;
        const QByteArray path = QFile::encodeName(dir.filePath(fileName));
        struct stat status {};
        if (::lstat(path.constData(), &status) == 0 && S_ISREG(status.st_mode) && ::unlink(path.constData()) == 0)
            ++removed;
    }
    return removed;
}

} // namespace tess
