#pragma once

namespace tess {

class Alerts;
class CursorService;
class ProcessControl;
class ProgressReset;

// The one way the game quits in order.
class QuitProcedure {
public:
    QuitProcedure(CursorService &cursor, ProgressReset &progress, ProcessControl &process, Alerts &alerts);

    // Puts the player's arrow back; with resetFlags resets the story's
    // progress; then ends the program. A file that cannot be written is named
    // to the player before the game ends, so it never lingers without a window.
    void QuitProgram(bool resetFlags);

private:
    CursorService &cursor_;
    ProgressReset &progress_;
    ProcessControl &process_;
    Alerts &alerts_;
};

} // namespace tess
