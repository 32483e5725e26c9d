#include "app/game.h"

#include "app/game_wiring.h"
#include "shell/core/disk_files.h"
#include "shell/core/program_folder.h"
#include "shell/accessibility/accessibility.h"
#include "shell/desktop/after_first_frame.h"
#include "shell/desktop/desktop_services.h"
#include "shell/desktop/display_loss.h"
#include "shell/desktop/game_cursor.h"
#include "shell/desktop/qt_music.h"
#include "shell/desktop/termination_signals.h"

#include <QApplication>
#include <QIcon>
#include <QSessionManager>
#include <QStyleFactory>

#include <utility>

namespace tess {

namespace {

// What the splash needs for its first frame: it shows a picture on white.
void applySplashLook(QApplication &app)
{
    app.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    app.setPalette(gamePalette());
}

// The rest of the look, which the splash does not show: registering the
// fonts reads the whole font database, and the first text comes with the
// menu, six seconds later.
void finishGameLook(QApplication &app)
{
    static bool finished = false;
    if (std::exchange(finished, true))
        return;
    loadBundledFonts();
    app.setFont(defaultLayoutFont());
    app.setWindowIcon(QIcon(QStringLiteral(":/pictures/tessaranium.ico")));
    installAccessibility();
}

} // namespace

void applyGameLook(QApplication &app)
{
    applySplashLook(app);
    finishGameLook(app);
}

int runGame(QApplication &app)
{
    app.setQuitOnLastWindowClosed(false);
    applySplashLook(app);

    DiskFiles files;
    QtMusic music;
    // Without the program's folder there is no cursor file to read: the
    // player's own arrow stays.
    const QString programs = programFolder();
    GameCursor cursor(programs.isEmpty() ? QString() : programs + QStringLiteral("/cursor/cur.cgf"));
    MessageBoxAlerts alerts;
    ImmediateExit process;
    GameWiring game({files, music, cursor, alerts, process});
    InputGate &gate = game.gate;
    Screens &screens = game.screens;

    TerminationSignals terminations;
    QObject::connect(&terminations, &TerminationSignals::terminationRequested, &screens, [&] {
        alerts.stopWaitingForThePlayer();
        gate.deliver([&] { screens.closeAll(CloseReason::TaskManager); });
    });
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &screens, [&](QSessionManager &) {
        gate.deliver([&] { screens.closeAll(CloseReason::SessionEnd); });
    });
    // Now, not through the gate: Qt exits as soon as this returns.
    endWithTheDisplay([&] {
        alerts.stopWaitingForThePlayer();
        screens.closeAll(CloseReason::SessionEnd);
    });

    // Asked for before the splash is shown, so that the rest of the look and
    // the screen reader's view come before the music the splash starts: the
    // first track loads the media framework, a tenth of a second or more.
    afterWindowsAreDrawn(&screens, [&app] { finishGameLook(app); });
    try {
        screens.Show(ScreenId::Main);
    } catch (const FileError &error) {
        finishGameLook(app);
        alerts.showError(error.message());
        endWithTheDisplay({});
        return 1;
    }
    const int status = app.exec();
    endWithTheDisplay({});
    return status;
}

} // namespace tess
