#pragma once
#include "story/core/choice_rule.h"

#include <QString>

#include <optional>

namespace storytool {

// What a player can do on the story screen: click a visible slot (after
// typing a word into the code box, when it is shown), press F8 or press the
// console key.
struct Move {
    enum class Kind { Click, F8, ConsoleKey };
    Kind kind = Kind::Click;
    story::Slot slot = story::Slot::Label2;
    std::optional<QString> typed;

    static Move click(story::Slot slot, std::optional<QString> typed = std::nullopt)
    {
        return {Kind::Click, slot, std::move(typed)};
    }
    static Move f8() { return {Kind::F8, story::Slot::Label2, std::nullopt}; }
    static Move consoleKey() { return {Kind::ConsoleKey, story::Slot::Label2, std::nullopt}; }

    bool isClick() const { return kind == Kind::Click; }
};

} // namespace storytool
