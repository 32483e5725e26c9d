#include "tools/story_tool/walk_script_writer.h"

#include "story/core/choice_tables.h"
#include "tools/story_tool/story_words.h"
#include "tools/story_tool/walkthroughs.h"

#include <algorithm>

namespace storytool {
namespace {

// A caption in quotes, or the slot's name when another visible slot shows
// the same caption.
QString clickTarget(const std::array<story::ChoiceSlotState, 3> &choices, story::Slot slot)
{
    const QString &caption = choices[std::size_t(slot)].caption;
    const auto same = [&](const story::ChoiceSlotState &choice) { return choice.shown && choice.caption == caption; };
    return std::count_if(choices.begin(), choices.end(), same) > 1 ? slotName(slot) : backslashQuoted(caption);
}

QString startLines(const FlagStart &start)
{
    if (start.flags == newGameStart().flags)
        return QStringLiteral("# Every flag starts at \"0\", as in a new game.\n");
    QString lines = QStringLiteral("# The route needs the flags left as %1.\n").arg(start.description);
    for (story::Flag flag : story::kAllFlags)
        lines += QStringLiteral("set flag %1 %2\n").arg(flagName(flag), flagFileText(start.flags.of(flag)));
    return lines;
}

} // namespace

QString walkScriptText(const Walkthrough &walk)
{
    return routeScriptText(*walk.graph, walk.edges,
                           QStringLiteral("Walkthrough to the %1: the shortest route, %2 moves.")
                               .arg(endingText(walk.ending))
                               .arg(walk.edges.size()));
}

QString routeScriptText(const StoryGraph &graph, const std::vector<int> &edges, const QString &heading)
{
    QString script = QStringLiteral("# %1\n").arg(heading);
    script += startLines(graph.start);
    script += QStringLiteral("expect page %1\n").arg(story::kOpening.page);
    QString typed;
    for (int index : edges) {
        const StoryEdge &edge = graph.edges[std::size_t(index)];
        const StoryState &from = graph.states[std::size_t(edge.from)];
        if (edge.move.typed && *edge.move.typed != typed) {
            typed = *edge.move.typed;
            script += QStringLiteral("type %1\n").arg(backslashQuoted(typed));
        }
        script += QStringLiteral("click %1\n").arg(clickTarget(from.position.choices, edge.move.slot));
        if (edge.result == StoryEdge::Result::Leaves)
            script += QStringLiteral("expect screen %1\n").arg(screenName(edge.leftTo));
        else if (edge.rule->page != story::script::samePage)
            script += QStringLiteral("expect page %1\n").arg(edge.rule->page);
    }
    return script;
}

} // namespace storytool
