#pragma once
#include "shell/core/text_target.h"
#include "story/core/choice_rule.h"
#include "story/core/story_screen_state.h"

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

// What one turn changed of what the player faces.
struct StoryTurn {
    bool paneChanged = false;
    bool slotsChanged = false;  // a caption shown, or which slots are shown
    bool leftScreen = false;

    bool changedFacing() const { return paneChanged || slotsChanged; }
};

// Plays the story on a story screen: its start, a click on a choice slot,
// and the two keys. It holds the screen's state and has the view draw it;
// the position in the story is nothing but the captions and visibility of
// the three slots.
class StoryEngine {
public:
    StoryEngine(StoryView &view, tess::TextLoader &loader, StoryFlags &flags, tess::Music &music,
                tess::Alerts &alerts, const ChoiceTables &tables);
    StoryEngine(const StoryEngine &) = delete;
    StoryEngine &operator=(const StoryEngine &) = delete;

    const StoryScreenState &state() const { return state_; }
    // Puts a saved screen back, as the story tool does between branches.
    void restore(const StoryScreenState &state);
    // What the player has typed in the code box.
    void setCodeBoxText(const QString &text);
    // Takes the flags into the mirrors, b, c then bc. Throws tess::FileError.
    void refreshAllMirrors();

    StoryTurn start();
    StoryTurn click(Slot slot);
    StoryTurn press(StoryKey key);

    // The rule a click on the slot would apply now, with the mirrors as they
    // stand; nullptr when none holds.
    const ChoiceRule *ruleFor(Slot slot) const;

    static QString pageFile(int page);

private:
    // The pane as the loader fills it; the view draws each change.
    class Pane final : public tess::TextTarget {
    public:
        explicit Pane(StoryEngine &engine) : engine_(engine) {}
        QString text() const override;
        void setText(const QString &text) override;
        void appendText(const QString &more) override;

    private:
        StoryEngine &engine_;
    };

    template <typename Play>
    StoryTurn turn(Play &&play);
    void refreshMirrors(std::span<const Flag> flags);
    void apply(const ChoiceRule &rule);
    void changeSlot(Slot slot, const SlotChange &change);
    void leave(ShownScreen screen);
    void gameOverSequence();

    StoryView &view_;
    tess::TextLoader &loader_;
    StoryFlags &flags_;
    tess::Music &music_;
    tess::Alerts &alerts_;
    const ChoiceTables &tables_;
    StoryScreenState state_;
    Pane pane_{*this};
    bool left_ = false;
};

} // namespace story
