#pragma once
#include "story/core/choice_rule.h"

#include <QString>

#include <array>
#include <cstddef>

namespace story {

inline constexpr std::array kAllSlots{Slot::Label2, Slot::Label3, Slot::Label4};

// Which screen the game shows. `None` is the moment between hiding the story
// screen and showing the next one.
enum class ShownScreen { Story, None, GameOver, Console };

struct ChoiceSlotState {
    QString caption;
    bool shown = true;

    bool operator==(const ChoiceSlotState &) const = default;
};

// Everything the story screen holds, as plain values that can be copied,
// compared and put back: what the game shows right after the screen is made.
struct StoryScreenState {
    std::array<ChoiceSlotState, 3> choices;  // Label2, Label3, Label4
    QString pane;
    std::array<QString, 3> mirrors;  // of flags b, c, bc
    QString codeBoxText;
    bool codeBoxShown = false;
    ShownScreen screen = ShownScreen::Story;

    ChoiceSlotState &choice(Slot slot) { return choices[std::size_t(slot)]; }
    const ChoiceSlotState &choice(Slot slot) const { return choices[std::size_t(slot)]; }
    QString &mirror(Flag flag) { return mirrors[std::size_t(flag)]; }
    const QString &mirror(Flag flag) const { return mirrors[std::size_t(flag)]; }
};

} // namespace story
