#pragma once
#include <QString>

namespace story {

struct StoryScreenState;

// What the story needs of the story screen: drawing the state the engine
// holds, and the ways off the screen.
class StoryView {
public:
    virtual ~StoryView() = default;

    // The slots, the mirrors and the code box as the state holds them.
    virtual void draw(const StoryScreenState &state) = 0;
    // The pane while a page is read in, a line at a time, so a long page
    // shows as it arrives.
    virtual void drawPane(const QString &text) = 0;
    virtual void extendPane(const QString &more) = 0;

    // Leaves the screen hidden, never unloaded: unloading would end the game.
    virtual void hideStory() = 0;
    virtual void showGameOver() = 0;
    virtual void showConsole() = 0;
};

} // namespace story
