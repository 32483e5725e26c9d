#include "shell/core/game_folder_lock.h"

#include "shell/core/file_descriptor.h"

#include <QFile>

#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tess {
namespace {

GameFolderLock *held = nullptr;

// A try ends early only when another start replaced or removed the file at
// that very moment; a few are plenty.
constexpr int kTries = 8;

bool sameFile(const struct stat &a, const struct stat &b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Whether the open file is still the one the lock's name leads to: a lock on
// a file that was removed or replaced meanwhile guards nothing.
bool stillNamed(int fd, const QByteArray &path)
{
    struct stat open {};
    struct stat named {};
    return ::fstat(fd, &open) == 0 && ::lstat(path.constData(), &named) == 0 && sameFile(open, named);
}

// For a person who looks: which process holds the folder, on which machine.
void writeHolder(int fd)
{
    char host[256] = {};
    ::gethostname(host, sizeof host - 1);
    const QByteArray text = QByteArray::number(qint64(::getpid())) + '\n' + host + '\n';
    if (::ftruncate(fd, 0) == 0)
        [[maybe_unused]] const auto written = ::pwrite(fd, text.constData(), text.size(), 0);
}

// The lock file as the player knows it, for messages only: a folder name
// that is no text shows the way Qt decodes it.
QString shownPath(const QByteArray &path)
{
    char folder[PATH_MAX];
    if (path.startsWith("./") && ::getcwd(folder, sizeof folder))
        return QFile::decodeName(folder) + QFile::decodeName(path.mid(1));
    return QFile::decodeName(path);
}

} // namespace

GameFolderLock::GameFolderLock(const QString &folder)
    : path_(QFile::encodeName(folder) + "/.tessaranium.lock")
{
}

GameFolderLock::~GameFolderLock()
{
    release();
    if (held == this)
        held = nullptr;
}

GameFolderLock::Outcome GameFolderLock::unavailable(const QString &why, const QString &remedy)
{
    problem_ = QStringLiteral("«%1» %2").arg(shownPath(path_), why);
    if (!remedy.isEmpty())
        problem_ += QStringLiteral("; ") + remedy;
    return Outcome::Unavailable;
}

GameFolderLock::Outcome GameFolderLock::claim()
{
    const char *path = path_.constData();
    const QString removeIt = QStringLiteral("if no game runs in this folder, remove it (rm -r '%1')").arg(shownPath(path_));
    for (int attempt = 0; attempt < kTries; ++attempt) {
        // Only a regular file is the lock: a device is never opened, a FIFO
        // or a link never followed.
        struct stat status {};
        if (::lstat(path, &status) == 0 && !S_ISREG(status.st_mode))
            return unavailable(QStringLiteral("is not a regular file"), removeIt);
        FileDescriptor file(::open(path, O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0644));
        bool foreign = false;
        const int createError = errno;
        if (file.get() < 0 && (errno == EACCES || errno == EPERM || errno == EROFS)) {
            // Another user's file (a game run as root left it), or a folder
            // that forbids new files: reading is enough to lock and test it.
            foreign = true;
            file.reset(::open(path, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
            if (file.get() < 0 && (errno == EACCES || errno == EPERM)) {
                // Not even readable, so no running game made it: the game's
                // locks are readable to everyone. The folder is the player's.
                if (::unlink(path) != 0 && errno != ENOENT)
                    return unavailable(QStringLiteral("cannot be read or removed (%1)").arg(QString::fromLocal8Bit(std::strerror(errno))),
                                       QStringLiteral("if no game runs in this folder, its owner can remove it"));
                continue;
            }
            if (file.get() < 0 && errno == ENOENT)
                return unavailable(QStringLiteral("cannot be created (%1)").arg(QString::fromLocal8Bit(std::strerror(createError))));
        }
        if (file.get() < 0) {
            if (errno == ENOENT && attempt + 1 < kTries)
                continue;  // removed between the look and the open
            return unavailable(QStringLiteral("cannot be opened (%1)").arg(QString::fromLocal8Bit(std::strerror(errno))),
                               errno == ELOOP ? removeIt : QString());
        }
        if (::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode))
            return unavailable(QStringLiteral("is not a regular file"), removeIt);
        if (::flock(file.get(), LOCK_EX | LOCK_NB) != 0) {
            if (errno == EWOULDBLOCK) {
                if (stillNamed(file.get(), path_))
                    return Outcome::HeldByAnother;
                continue;
            }
            // NFS locks a file only through a descriptor open for writing.
            if (foreign && errno == EBADF && ::unlink(path) == 0)
                continue;
            return unavailable(QStringLiteral("cannot be locked here (%1)").arg(QString::fromLocal8Bit(std::strerror(errno))));
        }
        if (!stillNamed(file.get(), path_))
            continue;
        // Holding the lock of another user's file, so that no other start
        // takes it meanwhile, the file gives way to one of the player's. In a
        // folder that forbids that, its lock guards as well.
        if (foreign && ::unlink(path) == 0)
            continue;
        if (!foreign) {
            ::fchmod(file.get(), 0644);  // readable to every user, whatever the umask
            writeHolder(file.get());
        }
        release();
        fd_ = file.release();
        held = this;
        return Outcome::Claimed;
    }
    return unavailable(QStringLiteral("keeps changing while the game starts"), removeIt);
}

void GameFolderLock::release()
{
    if (fd_ < 0)
        return;
    // Removed while still locked, so no other start can have taken it.
    if (stillNamed(fd_, path_))
        ::unlink(path_.constData());
    ::close(fd_);
    fd_ = -1;
}

void GameFolderLock::releaseHeld()
{
    if (held)
        held->release();
    held = nullptr;
}

} // namespace tess
