#pragma once
#include <QObject>
#include <QString>

#include <functional>

class QFileSystemWatcher;

namespace tess {

// A later start of the game in the same folder asks the running game to come
// to the front: it leaves a call file (".tessaranium.call") in the folder,
// which the running game watches for, takes away and answers. The folder is
// what the two share already, and watching it costs the start-up nothing,
// where a local socket would load the network library before the first
// window.
class FrontCalls final : public QObject {
public:
    // Listens in `folder` for the running game; a call that no game took
    // (its game was killed) is taken away first, unanswered.
    FrontCalls(const QString &folder, std::function<void()> answer, QObject *parent = nullptr);

    // False when the folder cannot be watched: later starts then cannot
    // bring this game to the front.
    bool listening() const { return listening_; }

    // Leaves a call in `folder`, for a later start. Never writes through a
    // link or over anything in the call's place; false when no call could
    // be left.
    static bool call(const QString &folder);

    static QString callPath(const QString &folder);

private:
    void takeCalls();

    QString path_;
    std::function<void()> answer_;
    QFileSystemWatcher *watcher_;
    bool listening_ = false;
};

} // namespace tess
