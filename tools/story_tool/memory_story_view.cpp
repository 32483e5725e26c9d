#include "tools/story_tool/memory_story_view.h"

namespace storytool {

QString MemoryStoryView::caption(story::Slot slot) const
{
    return state.choice(slot).caption;
}

void MemoryStoryView::setCaption(story::Slot slot, const QString &caption)
{
    state.choice(slot).caption = caption;
}

bool MemoryStoryView::isShown(story::Slot slot) const
{
    return state.choice(slot).shown;
}

void MemoryStoryView::setShown(story::Slot slot, bool shown)
{
    state.choice(slot).shown = shown;
}

tess::TextTarget &MemoryStoryView::pane()
{
    return pane_;
}

QString MemoryStoryView::mirror(story::Flag flag) const
{
    return state.mirror(flag);
}

void MemoryStoryView::setMirror(story::Flag flag, const QString &value)
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
    state.screen = Screen::None;
}

void MemoryStoryView::showGameOver()
{
    state.screen = Screen::GameOver;
}

void MemoryStoryView::showConsole()
{
    state.screen = Screen::Console;
}

} // namespace storytool
