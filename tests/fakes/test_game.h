#pragma once
#include "memory_files.h"
#include "recorders.h"

#include "shell/app/game_screens.h"
#include "shell/core/input_gate.h"
#include "shell/core/text_loader.h"
#include "shell/ui/quit_procedure.h"
#include "shell/ui/screens.h"
#include "story/core/story_flags.h"

#include <QCoreApplication>

// The whole game wired with in-memory files and recording services: every
// screen is real, nothing leaves the process.
struct TestGame {
    EventLog log;
    MemoryFiles files;
    tess::InputGate gate;
    tess::TextLoader loader{files, gate};
    RecordingMusic music{log};
    RecordingCursor cursor{log};
    RecordingAlerts alerts;
    RecordingProcess process{log};
    story::StoryFlags flags{files};
    tess::QuitProcedure quit{cursor, flags, process, alerts};
    tess::Screens screens{process};
    tess::Services services{screens, music, cursor, loader, gate, quit, alerts, process, files};

    TestGame()
    {
        tess::defineGameScreens(screens, services);
        files.content[QStringLiteral("text\\read.tf")] = "About line\r\n";
        files.content[QStringLiteral("text\\into.tf")] = "Intro line\r\n";
        for (int page = 1; page <= 57; ++page)
            files.content[QStringLiteral("text\\gt%1.tf").arg(page)] = "page " + QByteArray::number(page) + "\r\n";
        for (story::Flag flag : story::kAllFlags)
            files.content[story::StoryFlags::fileOf(flag)] = "0\r\n";
    }

    template <typename T>
    T &screen(tess::ScreenId id) { return screens.get<T>(id); }

    QByteArray flag(story::Flag f) const { return files.content.value(story::StoryFlags::fileOf(f)); }

    // Lets deleteLater and posted events run.
    static void settle()
    {
        for (int i = 0; i < 3; ++i) {
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QCoreApplication::processEvents();
        }
    }
};
