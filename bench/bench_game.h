#pragma once
// The game's screens and services wired as the game wires them, for the
// benchmarks that drive a screen in-process: real files in the working folder
// (a game folder), the real input gate, text loader and cursor; only what
// would end the process or open a message box is replaced.
#include "shell/app/game_screens.h"
#include "shell/core/alerts.h"
#include "shell/core/disk_files.h"
#include "shell/core/input_gate.h"
#include "shell/core/music.h"
#include "shell/core/process_control.h"
#include "shell/core/text_loader.h"
#include "shell/ui/game_cursor.h"
#include "shell/ui/quit_procedure.h"
#include "shell/ui/screens.h"
#include "story/core/story_flags.h"

#include <QCoreApplication>
#include <QDir>
#include <QStringList>

#include <cstdio>

namespace bench {

class SilentMusic final : public tess::Music {
public:
    void send(const QString &) override {}
};

// Errors go to the error stream instead of a modal box.
class PrintedAlerts final : public tess::Alerts {
public:
    void showError(const QString &message) override
    {
        std::fprintf(stderr, "bench: the game says: %s\n", qPrintable(message));
    }
};

// The benchmark goes on where the game would end.
class KeptAlive final : public tess::ProcessControl {
public:
    void endProgram(int) override {}
};

struct BenchGame {
    explicit BenchGame(tess::Music &gameMusic) : music(gameMusic) { tess::defineGameScreens(screens, services); }

    tess::DiskFiles files;
    tess::InputGate gate;
    tess::TextLoader loader{files, gate};
    tess::Music &music;
    tess::GameCursor cursor{QDir::currentPath() + QStringLiteral("/cursor/cur.cgf")};
    PrintedAlerts alerts;
    KeptAlive process;
    story::StoryFlags flags{files};
    tess::QuitProcedure quit{cursor, flags, process, alerts};
    tess::Screens screens{process};
    tess::Services services{screens, music, cursor, loader, gate, quit, alerts, process, files};

    template <typename T>
    T &screen(tess::ScreenId id) { return screens.get<T>(id); }
};

// Drops the offscreen platform's note that it cannot raise windows, printed
// at every screen shown, and the one about a missing runtime folder.
inline void quietPlatformNotes()
{
    static QtMessageHandler printing = nullptr;
    printing = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &context, const QString &message) {
        if (!message.contains(QStringLiteral("does not support raise()"))
            && !message.startsWith(QStringLiteral("QStandardPaths: XDG_RUNTIME_DIR")))
            printing(type, context, message);
    });
}

// Lets deferred deletes, posted events and pending paints run.
inline void settle()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
}

} // namespace bench
