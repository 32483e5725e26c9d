#pragma once
#include "story/core/choice_rule.h"

namespace tess {
class Alerts;
class Music;
class TextLoader;
} // namespace tess

namespace story {

class StoryFlags;
class StoryView;

// The keys the story screen answers.
enum class StoryKey { F8, ConsoleKey };

// Plays the story on a story screen: its start, a click on a choice slot,
// and the two keys. The position in the story is nothing but the captions
// and visibility of the three slots.
class StoryEngine {
public:
    StoryEngine(StoryView &view, tess::TextLoader &loader, StoryFlags &flags, tess::Music &music,
                tess::Alerts &alerts, const ChoiceTables &tables);

    void start();
    void click(Slot slot);
    void press(StoryKey key);

    // The rule a click on the slot would apply now, with the mirrors as they
    // stand; nullptr when none holds.
    const ChoiceRule *ruleFor(Slot slot) const;

    static QString pageFile(int page);

private:
    void refreshMirrors(const ChoiceTable &table);
    void apply(const ChoiceRule &rule);
    void changeSlot(Slot slot, const SlotChange &change);
    void gameOverSequence();

    StoryView &view_;
    tess::TextLoader &loader_;
    StoryFlags &flags_;
    tess::Music &music_;
    tess::Alerts &alerts_;
    const ChoiceTables &tables_;
};

} // namespace story
