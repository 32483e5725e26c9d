#include "shell/desktop/single_game.h"

#include "shell/core/data_path.h"
#include "shell/core/front_calls.h"
#include "shell/core/game_folder_lock.h"
#include "shell/core/whole_file_writer.h"
#include "shell/layout/layout_units.h"
#include "shell/desktop/termination_signals.h"

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QWidget>

#include <cstdio>

namespace tess {
namespace {

// The working folder, used as it is: its name may be any bytes, and its
// path longer than the system would take whole.
const QString kGameFolder = QStringLiteral(".");

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
    const auto *calls = new FrontCalls(kGameFolder, comeToTheFront, qApp);
    if (!calls->listening())
        std::fprintf(stderr, "tessaranium: a second start cannot bring this game to the front (the folder cannot be watched)\n");
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
    static GameFolderLock lock(kGameFolder);
    switch (lock.claim()) {
    case GameFolderLock::Outcome::Claimed:
        removeLeftoversOfKilledWrites(flagFiles);
        answerLaterStarts();
        return true;
    case GameFolderLock::Outcome::Unavailable:
        // A folder the game cannot lock still plays; only the guard is lost.
        std::fprintf(stderr, "tessaranium: cannot tell whether the game already runs here: %s; the game plays on\n",
                     lock.problem().toLocal8Bit().constData());
        return true;
    case GameFolderLock::Outcome::HeldByAnother:
        break;
    }
    FrontCalls::call(kGameFolder);
    // Ended by a signal while the message is up, it ends as when dismissed.
    setStartUpExitStatus(1);
    const QString message = QStringLiteral("Игра уже запущена: её окно открыто.");
    std::fprintf(stderr, "tessaranium: %s\n", message.toLocal8Bit().constData());
    QMessageBox::information(nullptr, kGameTitle, message);
    return false;
}

} // namespace tess
