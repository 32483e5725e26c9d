#include "shell/core/game_folder_lock.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QLockFile>

#include <sys/stat.h>

namespace tess {
namespace {

GameFolderLock *held = nullptr;
constexpr qint64 kUnreadableLockSeconds = 10;

} // namespace

GameFolderLock::GameFolderLock(const QString &folder)
    : path_(QDir(folder).filePath(QStringLiteral(".tessaranium.lock")))
{
}

GameFolderLock::~GameFolderLock()
{
    if (held == this)
        held = nullptr;
}

GameFolderLock::Outcome GameFolderLock::claim()
{
    // A FIFO or a link in the lock's place would make reading the holder's
    // name wait or wander; only a regular file is the lock.
    struct stat status {};
    if (::lstat(QFile::encodeName(path_).constData(), &status) == 0 && !S_ISREG(status.st_mode)) {
        problem_ = QStringLiteral("%1 is not a regular file").arg(path_);
        return Outcome::Unavailable;
    }
    lock_ = std::make_unique<QLockFile>(path_);
    // Only a lock whose process is gone is stale, never one merely old.
    lock_->setStaleLockTime(0);
    if (lock_->tryLock(0)) {
        held = this;
        return Outcome::Claimed;
    }
    if (lock_->error() == QLockFile::LockFailedError) {
        // A lock file that names no process (junk, or cut short) is stale
        // once it is old enough not to be one being written right now.
        qint64 pid = 0;
        QString host;
        QString application;
        const QFileInfo file(path_);
        const bool junk = !lock_->getLockInfo(&pid, &host, &application)
                          && file.lastModified().secsTo(QDateTime::currentDateTime()) > kUnreadableLockSeconds;
        if (!junk || !lock_->removeStaleLockFile())
            return Outcome::HeldByAnother;
        if (lock_->tryLock(0)) {
            held = this;
            return Outcome::Claimed;
        }
    }
    problem_ = QStringLiteral("cannot create %1").arg(path_);
    return Outcome::Unavailable;
}

void GameFolderLock::releaseHeld()
{
    if (held && held->lock_)
        held->lock_->unlock();
    held = nullptr;
}

} // namespace tess
