#include "story_walk.h"

#include "story/core/choice_tables.h"
#include "tools/story_tool/story_player.h"
#include "tools/story_tool/story_explorer.h"

#include <algorithm>
#include <set>

namespace bench {

std::map<int, StoryRoute> routesToEveryPage(const QString &root)
{
    storytool::StoryPlayer story(story::gameTables(), root);
    const storytool::StoryGraph graph = storytool::exploreStory(story, storytool::newGameStart());
    // The search finds the states of play breadth first: the first state on a
    // page is reached by a shortest route.
    std::map<int, StoryRoute> routes;
    for (std::size_t state = 0; state < graph.states.size(); ++state) {
        const storytool::StoryState &found = graph.states[state];
        if (!found.byPlay || routes.contains(found.position.page))
            continue;
        StoryRoute route;
        for (int edgeIndex : graph.routeTo(int(state))) {
            const storytool::StoryEdge &edge = graph.edges[std::size_t(edgeIndex)];
            route.push_back({edge.move.slot, edge.move.typed.value_or(QString()),
                             graph.states[std::size_t(edge.to)].position.page,
                             edge.rule && edge.rule->flagWrite.present});
        }
        routes[found.position.page] = route;
    }
    return routes;
}

std::vector<StoryRoute> walkOverEveryPage(const std::map<int, StoryRoute> &routes)
{
    // Longest routes first: they pass through most of the others' pages.
    std::vector<const StoryRoute *> byLength;
    for (const auto &[page, route] : routes)
        byLength.push_back(&route);
    std::stable_sort(byLength.begin(), byLength.end(),
                     [](const StoryRoute *a, const StoryRoute *b) { return a->size() > b->size(); });
    std::set<int> covered{1};
    std::vector<StoryRoute> walk;
    for (const StoryRoute *route : byLength) {
        if (route->empty() || covered.contains(route->back().page))
            continue;
        for (const StoryMove &move : *route)
            covered.insert(move.page);
        walk.push_back(*route);
    }
    return walk;
}

} // namespace bench
