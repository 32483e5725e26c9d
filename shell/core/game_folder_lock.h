#pragma once
#include <QByteArray>
#include <QString>

namespace tess {

// One game per game folder: the file ".tessaranium.lock" in the folder,
// locked by the system (flock) while the game runs. The system lets go of
// the lock when its process ends, however it ends, and a lock taken through
// NFS is the server's, so a lock is never stale: the file a killed game left,
// one copied along with its folder, restored from a backup or written on
// another machine holds no lock and is simply taken over. What the file says
// (process and host) is only for a person who reads it. A Windows build
// would open the file without sharing (CreateFile) or lock it with
// LockFileEx, which the system likewise drops with the process.
class GameFolderLock {
public:
    enum class Outcome {
        Claimed,        // this game holds the folder
        HeldByAnother,  // another running game does
        Unavailable,    // no lock can be kept here (a read-only folder, an odd file in its place)
    };

    // `folder` is used as it is, never resolved: "." is the working folder,
    // whatever bytes its name has and however long its path is.
    explicit GameFolderLock(const QString &folder = QStringLiteral("."));
    ~GameFolderLock();
    GameFolderLock(const GameFolderLock &) = delete;
    GameFolderLock &operator=(const GameFolderLock &) = delete;

    Outcome claim();
    QString path() const { return QString::fromLocal8Bit(path_); }
    // Why the lock is unavailable, naming the lock file and what to do, in a
    // line for the error stream.
    QString problem() const { return problem_; }

    // Gives up the lock the process holds, if any, and removes its file; for
    // ends that run no destructors.
    static void releaseHeld();

private:
    bool replaceForeignFile(int foreign);
    Outcome unavailable(const QString &why, const QString &remedy = {});
    void release();

    QByteArray path_;
    QString problem_;
    int fd_ = -1;
};

} // namespace tess
