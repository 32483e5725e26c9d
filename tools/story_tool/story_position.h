#pragma once
#include "tools/story_tool/flag_files.h"
#include "story/core/story_screen_state.h"

#include <cstddef>

namespace storytool {

// Where the player stands in the story: the three slots, the code box, the
// flags and the page on the pane. The typed text, the hidden mirrors and the
// pane's exact text add nothing: every click types anew and re-reads the
// flags it tests.
struct StoryPosition {
    std::array<story::ChoiceSlotState, 3> choices;
    bool codeBoxShown = false;
    FlagFiles flags;
    int page = 0;

    static StoryPosition of(const story::StoryScreenState &screen, const FlagFiles &flags, int page);
    bool operator==(const StoryPosition &) const = default;
};

struct StoryPositionHash {
    std::size_t operator()(const StoryPosition &position) const;
};

} // namespace storytool
