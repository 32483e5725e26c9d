#pragma once
#include "story/core/choice_rule.h"

#include <QStringList>

namespace storytool {

// What a player may type into the code box before a click: every password
// the tables ask for, then one word that is none of them.
QStringList codeBoxWords(const story::ChoiceTables &tables);

} // namespace storytool
