#include "shell/ui/single_game.h"

#include "shell/core/data_path.h"
#include "shell/core/game_folder_lock.h"
#include "shell/core/whole_file_writer.h"
#include "shell/ui/layout_units.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QMessageBox>
#include <QWidget>

#include <cstdio>

#include <unistd.h>

namespace tess {
namespace {

// The running game listens on a local socket named after its folder, so that
// a second start can ask it to come to the front.
QString callName()
{
    const QByteArray folder = QFile::encodeName(QDir::current().canonicalPath());
    return QStringLiteral("tessaranium-%1-%2")
        .arg(::getuid())
        .arg(QString::fromLatin1(QCryptographicHash::hash(folder, QCryptographicHash::Sha256).toHex().left(24)));
}

void comeToTheFront()
{
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (!window->isVisible())
            continue;
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
        window->raise();
        window->activateWindow();
    }
}

void answerLaterStarts()
{
    auto *server = new QLocalServer(qApp);
    server->setSocketOptions(QLocalServer::AbstractNamespaceOption);
    QObject::connect(server, &QLocalServer::newConnection, server, [server] {
        while (QLocalSocket *caller = server->nextPendingConnection()) {
            caller->deleteLater();
            comeToTheFront();
        }
    });
    if (!server->listen(callName()))
        std::fprintf(stderr, "tessaranium: a second start cannot bring this game to the front (%s)\n",
                     qPrintable(server->errorString()));
}

void askTheRunningGameToComeForward()
{
    QLocalSocket socket;
    socket.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
    socket.connectToServer(callName());
    if (socket.waitForConnected(500))
        socket.disconnectFromServer();
}

// Temporary files of flag writes that a kill cut short, beside each flag.
void removeLeftoversOfKilledWrites(const QStringList &flagFiles)
{
    for (const QString &flagFile : flagFiles) {
        const QFileInfo file(localPath(flagFile));
        removeLeftoverTemporaries(file.path(), {file.fileName()});
    }
}

} // namespace

bool claimGameFolder(const QStringList &flagFiles)
{
    static GameFolderLock lock(QDir::currentPath());
    switch (lock.claim()) {
    case GameFolderLock::Outcome::Claimed:
        removeLeftoversOfKilledWrites(flagFiles);
        answerLaterStarts();
        return true;
    case GameFolderLock::Outcome::Unavailable:
        // A folder the game cannot lock still plays; only the guard is lost.
        std::fprintf(stderr, "tessaranium: cannot tell whether the game already runs here: %s\n",
                     qPrintable(lock.problem()));
        return true;
    case GameFolderLock::Outcome::HeldByAnother:
        break;
    }
    askTheRunningGameToComeForward();
    const QString message = QStringLiteral("Игра уже запущена: её окно открыто.");
    std::fprintf(stderr, "tessaranium: %s\n", message.toLocal8Bit().constData());
    QMessageBox::information(nullptr, kGameTitle, message);
    return false;
}

} // namespace tess
