#include "story/ui/story_pane.h"

#include "shell/layout/caption_layout.h"
#include "shell/layout/layout_units.h"

namespace story {

QRect storyPaneRect()
{
    return tess::twipsRect(6840, 120, 4935, 6975);
}

int storyPaneHeightNeeded(const QString &pageText)
{
    return tess::CaptionLayout(tess::defaultLayoutFont(), storyPaneRect().width(), Qt::AlignLeft)
        .heightOf(pageText);
}

bool fitsStoryPane(const QString &pageText)
{
    return storyPaneHeightNeeded(pageText) <= storyPaneRect().height();
}

} // namespace story
