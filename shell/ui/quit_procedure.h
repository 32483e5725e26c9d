#pragma once

namespace story {
class StoryFlags;
}

namespace tess {

class Alerts;
class CursorService;
class ProcessControl;

// The one way the game quits in order.
class QuitProcedure {
public:
    QuitProcedure(CursorService &cursor, story::StoryFlags &flags, ProcessControl &process, Alerts &alerts);

    // Puts the player's arrow back; with resetFlags writes 0 into the story
    // flags b, c and bc, in this order; then ends the program. A flag that
    // cannot be written is named to the player before the game ends, so it
    // never lingers without a window.
    void QuitProgram(bool resetFlags);

private:
    CursorService &cursor_;
    story::StoryFlags &flags_;
    ProcessControl &process_;
    Alerts &alerts_;
};

} // namespace tess
