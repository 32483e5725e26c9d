#include "tools/story_tool/game_pane_fit.h"

#include "story/ui/story_pane.h"

namespace storytool {

bool GamePaneFit::fits(const QString &paneText) const
{
    return story::fitsStoryPane(paneText);
}

int GamePaneFit::heightNeeded(const QString &paneText) const
{
    return story::storyPaneHeightNeeded(paneText);
}

int GamePaneFit::paneHeight() const
{
    return story::storyPaneRect().height();
}

} // namespace storytool
