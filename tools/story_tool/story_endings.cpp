#include "tools/story_tool/story_endings.h"

#include "tools/story_tool/story_words.h"

#include <algorithm>
#include <tuple>

namespace storytool {

Ending endingOf(const StoryGraph &graph, const StoryEdge &edge)
{
    const StoryPosition &from = graph.states[std::size_t(edge.from)].position;
    return {edge.leftTo, from.page, edge.move.slot, from.choices[std::size_t(edge.move.slot)].caption};
}

std::vector<ReachedEnding> playEndings(const StoryGraph &graph)
{
    // Clicks from the states play reaches were tried in breadth-first order,
    // so the first click found for an ending ends a shortest route.
    std::vector<ReachedEnding> endings;
    for (std::size_t index = 0; index < graph.edges.size(); ++index) {
        const StoryEdge &edge = graph.edges[index];
        if (!graph.isPlayClick(edge) || edge.result != StoryEdge::Result::Leaves)
            continue;
        const Ending ending = endingOf(graph, edge);
        const bool known = std::any_of(endings.begin(), endings.end(),
                                       [&](const ReachedEnding &reached) { return reached.ending == ending; });
        if (!known)
            endings.push_back({ending, int(index)});
    }
    std::sort(endings.begin(), endings.end(), [](const ReachedEnding &a, const ReachedEnding &b) {
        return std::tuple(a.ending.screen, a.ending.page, a.ending.slot)
               < std::tuple(b.ending.screen, b.ending.page, b.ending.slot);
    });
    return endings;
}

QString endingText(const Ending &ending)
{
    return QStringLiteral("%1 from page %2 by %3")
        .arg(screenName(ending.screen))
        .arg(ending.page)
        .arg(quoted(ending.caption));
}

QString endingName(const Ending &ending, const std::vector<Ending> &all)
{
    QString name = screenName(ending.screen).replace(u' ', u'-') + QStringLiteral("-page-%1").arg(ending.page);
    const auto leavesFromTheSamePage = [&](const Ending &other) {
        return other.screen == ending.screen && other.page == ending.page && other != ending;
    };
    if (std::any_of(all.begin(), all.end(), leavesFromTheSamePage))
        name += u'-' + slotName(ending.slot).toLower();
    return name;
}

} // namespace storytool
