#include "tools/story_tool/story_graph.h"

#include <algorithm>

namespace storytool {

std::vector<int> StoryGraph::routeTo(int state) const
{
    std::vector<int> route;
    for (int edge = states[std::size_t(state)].firstReachedBy; edge >= 0;
         edge = states[std::size_t(edges[std::size_t(edge)].from)].firstReachedBy)
        route.push_back(edge);
    std::reverse(route.begin(), route.end());
    return route;
}

bool StoryGraph::isPlayClick(const StoryEdge &edge) const
{
    return edge.move.isClick() && states[std::size_t(edge.from)].byPlay;
}

} // namespace storytool
