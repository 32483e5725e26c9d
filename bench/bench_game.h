#pragma once
// The game's screens and services wired as the game wires them, for the
// benchmarks that drive a screen in-process: real files in the working folder
// (a game folder), the real input gate, text loader and cursor; only what
// would end the process or open a message box is replaced.
#include "game_folder.h"

#include "app/game.h"
#include "app/game_wiring.h"
#include "shell/core/alerts.h"
#include "shell/core/disk_files.h"
#include "shell/core/quiet_services.h"
#include "shell/desktop/game_cursor.h"

#include <QApplication>
#include <QDir>
#include <QStringList>

#include <cstdio>

namespace bench {

// Errors go to the error stream instead of a modal box.
class PrintedAlerts final : public tess::Alerts {
public:
    void showError(const QString &message) override
    {
        std::fprintf(stderr, "bench: the game says: %s\n", qPrintable(message));
    }
};

struct BenchParts {
    explicit BenchParts(tess::Music &gameMusic) : music(gameMusic) {}

    tess::DiskFiles files;
    tess::Music &music;
    tess::GameCursor cursor{QDir::currentPath() + QStringLiteral("/cursor/cur.cgf")};
    PrintedAlerts alerts;
    tess::KeptAlive process;
};

struct BenchGame : BenchParts, tess::GameWiring {
    explicit BenchGame(tess::Music &gameMusic)
        : BenchParts(gameMusic), GameWiring({files, music, cursor, alerts, process})
    {
    }
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

inline void settle()
{
    tess::GameWiring::settle();
}

// The offscreen platform unless another is asked for, and its notes dropped.
struct OffscreenPlatform {
    OffscreenPlatform()
    {
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        quietPlatformNotes();
    }
};

// What an in-process benchmark runs in: the application with the game's look
// and a game folder without music as the working folder.
struct InProcessBench : OffscreenPlatform {
    InProcessBench(int &argc, char **argv) : app(argc, argv)
    {
        tess::applyGameLook(app);
        QDir::setCurrent(QString::fromStdString(folder.path()));
    }

    QApplication app;
    const GameFolder folder{false};
};

} // namespace bench
