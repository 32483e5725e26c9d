#pragma once
#include "shell/core/text_target.h"
#include "story/core/story_view.h"
#include "story/core/story_screen_state.h"

#include <QStringList>

namespace story {

// The story screen without a window: the engine plays against `state`.
class MemoryStoryView final : public story::StoryView {
public:
    MemoryStoryView() = default;
    MemoryStoryView(const MemoryStoryView &) = delete;
    MemoryStoryView &operator=(const MemoryStoryView &) = delete;

    StoryScreenState state;
    // The ways off the screen taken, in order: "hide story", "show game over",
    // "show console". A caller may add its own entries to order them against.
    QStringList journal;

    QString caption(Slot slot) const override;
    void setCaption(Slot slot, const QString &caption) override;
    bool isShown(Slot slot) const override;
    void setShown(Slot slot, bool shown) override;
    tess::TextTarget &pane() override;
    QString mirror(Flag flag) const override;
    void setMirror(Flag flag, const QString &value) override;
    QString password() const override;
    bool isPasswordBoxShown() const override;
    void showPasswordBox() override;
    void hideStory() override;
    void showGameOver() override;
    void showConsole() override;

private:
    class Pane final : public tess::TextTarget {
    public:
        explicit Pane(StoryScreenState &state) : state_(state) {}
        QString text() const override { return state_.pane; }
        void setText(const QString &text) override { state_.pane = text; }

    private:
        StoryScreenState &state_;
    };
    Pane pane_{state};
};

} // namespace story
