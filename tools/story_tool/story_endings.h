#pragma once
#include "tools/story_tool/story_graph.h"

#include <vector>

namespace storytool {

// A way a click takes the player off the story screen: the screen it leaves
// for, the page left on the pane, and the choice clicked.
struct Ending {
    story::ShownScreen screen = story::ShownScreen::GameOver;
    int page = 0;
    story::Slot slot = story::Slot::Label2;
    QString caption;

    bool operator==(const Ending &) const = default;
};

// The ending a click that leaves the story screen makes.
Ending endingOf(const StoryGraph &graph, const StoryEdge &edge);

struct ReachedEnding {
    Ending ending;
    int lastEdge;  // the click that leaves, at the end of a shortest route
};

// The endings play reaches (clicks alone, from the start), ordered by screen,
// page and slot.
std::vector<ReachedEnding> playEndings(const StoryGraph &graph);

// game over from page 33 by «Конец»
QString endingText(const Ending &ending);
// game-over-page-33; the slot is added when another ending leaves from the same page.
QString endingName(const Ending &ending, const std::vector<Ending> &all);

} // namespace storytool
