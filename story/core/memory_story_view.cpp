#include "story/core/memory_story_view.h"

namespace story {

QString MemoryStoryView::caption(Slot slot) const
{
    return state.choice(slot).caption;
}

void MemoryStoryView::setCaption(Slot slot, const QString &caption)
{
    state.choice(slot).caption = caption;
}

bool MemoryStoryView::isShown(Slot slot) const
{
    return state.choice(slot).shown;
}

void MemoryStoryView::setShown(Slot slot, bool shown)
{
    state.choice(slot).shown = shown;
}

tess::TextTarget &MemoryStoryView::pane()
{
    return pane_;
}

QString MemoryStoryView::mirror(Flag flag) const
{
    return state.mirror(flag);
}

void MemoryStoryView::setMirror(Flag flag, const QString &value)
{
    state.mirror(flag) = value;
}

QString MemoryStoryView::password() const
{
    return state.codeBoxText;
}

bool MemoryStoryView::isPasswordBoxShown() const
{
    return state.codeBoxShown;
}

void MemoryStoryView::showPasswordBox()
{
    state.codeBoxShown = true;
}

void MemoryStoryView::hideStory()
{
    journal << QStringLiteral("hide story");
    state.screen = ShownScreen::None;
}

void MemoryStoryView::showGameOver()
{
    journal << QStringLiteral("show game over");
    state.screen = ShownScreen::GameOver;
}

void MemoryStoryView::showConsole()
{
    journal << QStringLiteral("show console");
    state.screen = ShownScreen::Console;
}

} // namespace story
