#pragma once
#include "tools/story_tool/flag_files.h"
#include "tools/story_tool/story_move.h"
#include "tools/story_tool/story_position.h"

#include <QStringList>

#include <vector>

namespace storytool {

struct StoryState {
    StoryPosition position;
    story::StoryScreenState screen;
    // Reached from the start by clicks alone: by play, not through a key.
    bool byPlay = true;
    // The edge the state was first reached by; none for the start.
    int firstReachedBy = -1;
};

// One move tried in one state, and where it led.
struct StoryEdge {
    enum class Result {
        Moves,   // to another state
        Stays,   // back to the same state
        Leaves,  // off the story screen
        Fails,   // the game showed an error and changed nothing
    };
    int from = 0;
    Move move;
    const story::ChoiceRule *rule = nullptr;  // the rule the click applied
    Result result = Result::Stays;
    int to = -1;  // for Moves and Stays
    story::ShownScreen leftTo = story::ShownScreen::Story;
    QStringList errors;

    bool leadsOn() const { return result == Result::Moves || result == Result::Leaves; }
    // A rule that did its work: the click found it and nothing failed.
    bool applied() const { return rule && result != Result::Fails; }
};

// Every state of the story screen reachable from one start of the flags.
struct StoryGraph {
    FlagStart start;
    std::vector<StoryState> states;
    std::vector<StoryEdge> edges;

    // The edges that first reached the state, from the start on.
    std::vector<int> routeTo(int state) const;
    // A click in a state play reaches: a move of play, not of the keys.
    bool isPlayClick(const StoryEdge &edge) const;
};

} // namespace storytool
