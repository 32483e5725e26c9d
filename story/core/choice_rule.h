#pragma once
#include "story/core/story_flags.h"

#include <QStringView>

#include <span>

namespace story {

enum class Slot { Label2, Label3, Label4 };

// What a rule does to one choice slot.
enum class Visibility { Unchanged, Shown, Hidden };
struct SlotChange {
    QStringView caption;  // null: caption unchanged
    Visibility visibility = Visibility::Unchanged;
};

// The further condition a rule may need besides its caption.
struct Condition {
    enum class Kind { None, Flag, Password } kind = Kind::None;
    Flag flag = Flag::b;
    QStringView value;
};

struct FlagWrite {
    bool present = false;
    Flag flag = Flag::b;
    int value = 0;
};

// Effects beyond the page, the flag and the slots.
enum class Other { None, ShowPasswordBox, GameOver, OpenConsole };

// One row of a choice table: clicking `caption` (while `condition` holds)
// shows `page`, writes the flag, changes the three slots and does `other`.
struct ChoiceRule {
    QStringView caption;
    Condition condition;
    int page = 0;  // 0: the story pane stays as it is
    FlagWrite flagWrite;
    SlotChange label2;
    SlotChange label3;
    SlotChange label4;
    Other other = Other::None;
};

// The rules of one slot, tested in order, and the flags its click re-reads first.
struct ChoiceTable {
    Slot slot;
    std::span<const Flag> refreshedFlags;
    std::span<const ChoiceRule> rules;
};

// The whole story graph: one table per slot.
struct ChoiceTables {
    ChoiceTable label2;
    ChoiceTable label3;
    ChoiceTable label4;

    const ChoiceTable &of(Slot slot) const;
};

// Spelling helpers for the tables, so that each row reads like the script.
namespace script {
inline constexpr SlotChange unchanged{};
inline constexpr SlotChange hidden{{}, Visibility::Hidden};
constexpr SlotChange text(QStringView caption) { return {caption, Visibility::Unchanged}; }
constexpr SlotChange shown(QStringView caption) { return {caption, Visibility::Shown}; }

inline constexpr Condition always{};
constexpr Condition flagIs(Flag flag, QStringView value) { return {Condition::Kind::Flag, flag, value}; }
constexpr Condition passwordIs(QStringView value) { return {Condition::Kind::Password, Flag::b, value}; }

inline constexpr int samePage = 0;
inline constexpr FlagWrite noWrite{};
constexpr FlagWrite sets(Flag flag, int value) { return {true, flag, value}; }
} // namespace script

} // namespace story
