#pragma once
#include "shell/core/input_gate.h"
#include "shell/core/text_loader.h"
#include "shell/desktop/quit_procedure.h"
#include "shell/toolkit/screens.h"
#include "story/core/story_flags.h"

namespace tess {

// The parts that differ between the game and the harnesses that drive it:
// where the files are, and what plays music, shows the cursor, tells the
// player of an error and ends the process.
struct GameParts {
    Files &files;
    Music &music;
    CursorService &cursor;
    Alerts &alerts;
    ProcessControl &process;
};

// Every other service of the game and its seven screens, wired the one way
// the game, its tests, its reliability harnesses and its benchmarks share.
// The parts must outlive the wiring.
class GameWiring {
public:
    explicit GameWiring(const GameParts &parts);
    GameWiring(const GameWiring &) = delete;
    GameWiring &operator=(const GameWiring &) = delete;

    InputGate gate;
    TextLoader loader;
    story::StoryFlags flags;
    QuitProcedure quit;
    Screens screens;
    Services services;

    template <typename T>
    T &screen(ScreenId id) { return screens.get<T>(id); }

    // For harnesses without a running event loop: lets deferred deletes,
    // posted events and pending paints run.
    static void settle();
};

} // namespace tess
