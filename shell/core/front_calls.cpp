#include "shell/core/front_calls.h"

#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>

#include <utility>

namespace tess {

QString FrontCalls::callPath(const QString &folder)
{
    return folder + QStringLiteral("/.tessaranium.call");
}

FrontCalls::FrontCalls(const QString &folder, std::function<void()> answer, QObject *parent)
    : QObject(parent), path_(callPath(folder)), answer_(std::move(answer)), watcher_(new QFileSystemWatcher(this))
{
    QFile::remove(path_);
    listening_ = watcher_->addPath(folder);
    connect(watcher_, &QFileSystemWatcher::directoryChanged, this, [this] { takeCalls(); });
}

void FrontCalls::takeCalls()
{
    // Any change in the folder lands here; only a call that could be taken
    // away is answered, so nothing left in its place answers again and again.
    const QFileInfo call(path_);
    if ((call.exists() || call.isSymLink()) && QFile::remove(path_))
        answer_();
}

bool FrontCalls::call(const QString &folder)
{
    QFile call(callPath(folder));
    // NewOnly creates the file or fails: it never follows a link. A call
    // already waiting there is as good as a new one.
    if (call.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return true;
    const QFileInfo waiting(call.fileName());
    return waiting.isFile() && !waiting.isSymLink();
}

} // namespace tess
