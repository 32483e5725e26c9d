#pragma once
#include "tools/story_tool/story_graph.h"

#include <QList>

#include <vector>

namespace storytool {

// The story as a Graphviz graph: a node for each page, an edge for each
// choice play makes (its caption, condition and flag write), a node for each
// game over, one for the console, and the two keys that work from any page.
// Pages that play never shows are drawn dashed.
QString storyMapDot(const std::vector<StoryGraph> &graphs, const QList<int> &pages);

} // namespace storytool
