#pragma once
#include "tools/story_tool/story_endings.h"

#include <vector>

namespace storytool {

// The shortest way from the start of the story screen to one ending.
struct Walkthrough {
    QString name;  // game-over-page-33
    Ending ending;
    const StoryGraph *graph;  // the start of the flags the route is played from
    std::vector<int> edges;   // the route's moves, the leaving click last
};

// One walkthrough for each ending play reaches, each from the first start of
// the flags that reaches it.
std::vector<Walkthrough> shortestWalkthroughs(const std::vector<StoryGraph> &graphs);

} // namespace storytool
