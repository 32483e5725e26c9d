#pragma once
#include <QString>

#include <vector>

namespace storytool {

struct StoryGraph;
struct Walkthrough;

// The walkthrough as a script `play` replays: its clicks and typing, the
// page each click shows, and the screen it ends on. Plays start with every
// flag at "0"; a walkthrough from another start sets the flags first.
QString walkScriptText(const Walkthrough &walk);

// Any route of the graph's moves as such a script, under a comment heading.
QString routeScriptText(const StoryGraph &graph, const std::vector<int> &edges, const QString &heading);

} // namespace storytool
