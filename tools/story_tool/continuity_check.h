#pragma once
#include "tools/story_tool/finding.h"
#include "tools/story_tool/story_graph.h"
#include "tools/story_tool/story_notes.h"

#include <QList>

#include <vector>

namespace storytool {

// Whether every fact holds on every route. A fact slips when play, from any
// start of the flags, shows a page that uses it on a route that showed none
// of the pages establishing it; the finding carries the shortest such route
// as a script `play` replays. A fact used but established nowhere, and a page
// the notes name that the story lacks, are findings too.
std::vector<Finding> continuityFindings(const std::vector<Fact> &facts, const std::vector<StoryGraph> &graphs,
                                        const QList<int> &pages);

// The facts no page uses. They harm no reader, so they are only reported: a
// note may keep one to say that no page may take it for granted.
QStringList unusedFacts(const std::vector<Fact> &facts);

} // namespace storytool
