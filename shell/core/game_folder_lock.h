#pragma once
#include <QString>

#include <memory>

class QLockFile;

namespace tess {

// One game per game folder: a lock file in the folder, held while the game
// runs. A lock left behind by a game that was killed is taken over (the
// process it names is gone); a game that runs keeps its lock however long.
class GameFolderLock {
public:
    enum class Outcome {
        Claimed,        // this game holds the folder
        HeldByAnother,  // another running game does
        Unavailable,    // no lock can be kept here (a read-only folder, an odd file in its place)
    };

    explicit GameFolderLock(const QString &folder);
    ~GameFolderLock();
    GameFolderLock(const GameFolderLock &) = delete;
    GameFolderLock &operator=(const GameFolderLock &) = delete;

    Outcome claim();
    QString path() const { return path_; }
    // Why the lock is unavailable, in a line for the error stream.
    QString problem() const { return problem_; }

    // Gives up the lock the process holds, if any; for ends that run no
    // destructors.
    static void releaseHeld();

private:
    QString path_;
    QString problem_;
    std::unique_ptr<QLockFile> lock_;
};

} // namespace tess
