#include "tools/story_tool/walkthroughs.h"

#include <algorithm>

namespace storytool {

std::vector<Walkthrough> shortestWalkthroughs(const std::vector<StoryGraph> &graphs)
{
    std::vector<Walkthrough> walks;
    for (const StoryGraph &graph : graphs) {
        for (const ReachedEnding &reached : playEndings(graph)) {
            const bool known = std::any_of(walks.begin(), walks.end(),
                                           [&](const Walkthrough &walk) { return walk.ending == reached.ending; });
            if (known)
                continue;
            const StoryEdge &last = graph.edges[std::size_t(reached.lastEdge)];
            std::vector<int> route = graph.routeTo(last.from);
            route.push_back(reached.lastEdge);
            walks.push_back({QString(), reached.ending, &graph, std::move(route)});
        }
    }
    std::vector<Ending> endings;
    for (const Walkthrough &walk : walks)
        endings.push_back(walk.ending);
    for (Walkthrough &walk : walks)
        walk.name = endingName(walk.ending, endings);
    return walks;
}

} // namespace storytool
