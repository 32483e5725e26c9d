#pragma once
#include "tools/story_tool/play_findings.h"

namespace storytool {

class PaneFit;

struct CheckReport {
    QString root;
    int pages = 0;
    int rules = 0;
    int facts = 0;  // the facts the editor's notes name; none without notes
    QStringList unusedFacts;
    std::vector<StartSummary> starts;
    std::vector<Finding> findings;

    bool clean() const { return findings.empty(); }
};

// Plays the story from every start of the flags, checks its page files, and
// checks the facts of the editor's notes (text/story_notes.txt) when there are any.
CheckReport checkStory(const story::ChoiceTables &tables, const QString &root, const PaneFit &fit);

} // namespace storytool
