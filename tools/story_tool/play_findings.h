#pragma once
#include "tools/story_tool/finding.h"
#include "tools/story_tool/story_endings.h"

#include <QList>
#include <QSet>

#include <vector>

namespace storytool {

// What one start of the flags gives: how many states and moves, which
// endings, which pages play never shows.
struct StartSummary {
    FlagStart start;
    int playStates = 0;
    int keyOnlyStates = 0;
    int moves = 0;
    std::vector<Ending> endings;
    QList<int> unreachedPages;
};

// The opening page and every page a click shows in play; what only F8 or
// the console key lead to counts for nothing.
QSet<int> pagesShownByPlay(const StoryGraph &graph);

StartSummary summarize(const StoryGraph &graph, const QList<int> &pages);

// The findings of play, over every start: pages no start shows, rules that
// never apply, captions without a rule on a visible slot, stuck states.
std::vector<Finding> playFindings(const story::ChoiceTables &tables, const std::vector<StoryGraph> &graphs,
                                  const QList<int> &pages);

} // namespace storytool
