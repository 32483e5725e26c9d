#include "shell/app/game.h"

#include "shell/app/game_wiring.h"
#include "shell/core/disk_files.h"
#include "shell/ui/accessibility.h"
#include "shell/ui/desktop_services.h"
#include "shell/ui/game_cursor.h"
#include "shell/ui/qt_music.h"
#include "shell/ui/termination_signals.h"

#include <QApplication>
#include <QIcon>
#include <QSessionManager>
#include <QStyleFactory>

namespace tess {

void applyGameLook(QApplication &app)
{
    app.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    app.setPalette(gamePalette());
    loadBundledFonts();
    app.setFont(defaultLayoutFont());
    app.setWindowIcon(QIcon(QStringLiteral(":/pictures/tessaranium.ico")));
    installAccessibility();
}

int runGame(QApplication &app)
{
    app.setQuitOnLastWindowClosed(false);
    applyGameLook(app);

    DiskFiles files;
    QtMusic music;
    GameCursor cursor(QCoreApplication::applicationDirPath() + QStringLiteral("/cursor/cur.cgf"));
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

    try {
        screens.Show(ScreenId::Main);
    } catch (const FileError &error) {
        alerts.showError(error.message());
        return 1;
    }
    return app.exec();
}

} // namespace tess
