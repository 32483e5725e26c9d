#pragma once
#include "tools/story_tool/walk_script.h"

namespace storytool {

struct ReplayResult {
    int actions = 0;
    int expectations = 0;
    std::optional<walk::Failure> failure;  // the first line whose action or expectation failed
};

// Plays the script's lines against the game's engine, from the start of the
// story screen with every flag at "0". Any error the game shows fails the line.
ReplayResult replayScript(const story::ChoiceTables &tables, const QString &root, const std::vector<walk::Line> &lines);

} // namespace storytool
