#pragma once
#include "memory_files.h"
#include "recorders.h"

#include "app/game_wiring.h"
#include "story/core/choice_tables.h"

// In-memory files and recording services, in one log where order matters.
struct TestParts {
    EventLog log;
    MemoryFiles files;
    RecordingMusic music{log};
    RecordingCursor cursor{log};
    RecordingAlerts alerts;
    RecordingProcess process{log};
};

// The whole game wired with in-memory files and recording services: every
// screen is real, nothing leaves the process.
struct TestGame : TestParts, tess::GameWiring {
    TestGame() : GameWiring({files, music, cursor, alerts, process})
    {
        files.content[QStringLiteral("text\\read.tf")] = "About line\r\n";
        files.content[QStringLiteral("text\\into.tf")] = "Intro line\r\n";
        for (int page = 1; page <= story::pageCount(story::gameTables()); ++page)
            files.content[QStringLiteral("text\\gt%1.tf").arg(page)] = "page " + QByteArray::number(page) + "\r\n";
        for (story::Flag flag : story::kAllFlags)
            files.content[story::StoryFlags::fileOf(flag)] = "0\r\n";
    }

    QByteArray flag(story::Flag f) const { return files.content.value(story::StoryFlags::fileOf(f)); }
};
