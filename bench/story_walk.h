#pragma once
// Routes through the story, found by the story tool's search over the game's
// own choice tables: for every page, a shortest route of clicks from a new
// game (every flag "0") to it.
#include "story/core/choice_rule.h"

#include <QString>

#include <map>
#include <vector>

namespace bench {

struct StoryMove {
    story::Slot slot;
    QString password;  // what the code box holds when the slot is clicked
    int page;          // the page the click shows
    bool writesFlag;   // the click writes a flag file
};

using StoryRoute = std::vector<StoryMove>;

// Every page reachable by clicks, with its shortest route, played on the
// pages of the game folder `root`. Page 1 is the opening page: its route is
// empty.
std::map<int, StoryRoute> routesToEveryPage(const QString &root);

// As few routes as cover every page: each is played from a new game.
std::vector<StoryRoute> walkOverEveryPage(const std::map<int, StoryRoute> &routes);

} // namespace bench
