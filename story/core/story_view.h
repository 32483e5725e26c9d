#pragma once
#include "story/core/choice_rule.h"

#include <QString>

namespace tess {
class TextTarget;
}

namespace story {

// What the story needs of the story screen: its three choice slots, the story
// pane, the hidden flag mirrors, the code box, and the ways off the screen.
class StoryView {
public:
    virtual ~StoryView() = default;

    virtual QString caption(Slot slot) const = 0;
    virtual void setCaption(Slot slot, const QString &caption) = 0;
    virtual bool isShown(Slot slot) const = 0;
    virtual void setShown(Slot slot, bool shown) = 0;

    virtual tess::TextTarget &pane() = 0;

    virtual QString mirror(Flag flag) const = 0;
    virtual void setMirror(Flag flag, const QString &value) = 0;

    virtual QString password() const = 0;
    virtual bool isPasswordBoxShown() const = 0;
    virtual void showPasswordBox() = 0;

    // Leaves the screen hidden, never unloaded: unloading would end the game.
    virtual void hideStory() = 0;
    virtual void showGameOver() = 0;
    virtual void showConsole() = 0;
};

} // namespace story
