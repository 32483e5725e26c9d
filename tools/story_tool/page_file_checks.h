#pragma once
#include "tools/story_tool/finding.h"

#include <QList>

#include <vector>

namespace storytool {

class StoryPlayer;
class PaneFit;

// Each page file must be there, in the game's code page, with every line
// ending in CR LF, and short enough for the story pane.
std::vector<Finding> checkPageFiles(StoryPlayer &story, const QList<int> &pages, const PaneFit &fit);

} // namespace storytool
