#pragma once
#include "tools/story_tool/play_findings.h"

namespace storytool {

class PaneFit;

struct CheckReport {
    QString root;
    int pages = 0;
    int rules = 0;
    std::vector<StartSummary> starts;
    std::vector<Finding> findings;

    bool clean() const { return findings.empty(); }
};

// Plays the story from every start of the flags and checks its page files.
CheckReport checkStory(const story::ChoiceTables &tables, const QString &root, const PaneFit &fit);

} // namespace storytool
