#pragma once
#include "story/core/choice_rule.h"
#include "tools/story_tool/flag_files.h"
#include "tools/story_tool/story_move.h"
#include "story/core/story_screen_state.h"

#include <QString>

#include <optional>

namespace storytool {

// How the tool names the story's parts in what it prints.
QString slotName(story::Slot slot);
std::optional<story::Slot> slotNamed(QStringView name);
QString screenName(story::ShownScreen screen);

QString quoted(const QString &caption);            // «caption»
// "text" with \ and " escaped by a backslash, as DOT and the walkthrough scripts write it.
QString backslashQuoted(const QString &text);
QString conditionText(const story::Condition &condition);  // [bc = "1"]; empty for none
QString choicesText(const std::array<story::ChoiceSlotState, 3> &choices);  // «A» / — / «C»

// The slot whose table holds the rule.
story::Slot slotOf(const story::ChoiceTables &tables, const story::ChoiceRule &rule);
// Label2 «Планетарий» [bc = "1"] → page 23
QString ruleText(const story::ChoiceTables &tables, const story::ChoiceRule &rule);
// click «Назад», type "zolv" and click «Enter parol», F8, console key
QString moveText(const Move &move, const std::array<story::ChoiceSlotState, 3> &choices);

} // namespace storytool
