#pragma once
#include "tools/story_tool/story_graph.h"

#include <vector>

namespace storytool {

class StoryPlayer;

// Plays every move in every state the story screen can reach from its start
// with the given flags. Clicks are explored first, breadth first, so the
// states play reaches come first and each is first reached by a shortest
// route; then F8 and the console key are tried everywhere, and everything in
// the states only they reach.
StoryGraph exploreStory(StoryPlayer &story, const FlagStart &start);

// One graph for each start of the flags: those of flagStarts() in order, then
// every other set of flags a run can leave for the next, as the runs find them.
std::vector<StoryGraph> exploreEveryStart(StoryPlayer &story);

} // namespace storytool
