#pragma once
#include "story/core/choice_rule.h"

namespace story {

// The three tables of the game's story, one file each.
extern const ChoiceTable kLabel2Table;
extern const ChoiceTable kLabel3Table;
extern const ChoiceTable kLabel4Table;

} // namespace story
