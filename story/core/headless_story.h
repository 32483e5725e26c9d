#pragma once
#include "shell/core/quiet_services.h"
#include "shell/core/text_loader.h"
#include "story/core/choice_tables.h"
#include "story/core/story_engine.h"
#include "story/core/story_flags.h"
#include "story/core/story_view.h"

#include <QStringList>

namespace tess {
class Files;
}

namespace story {

// The story screen without a window: it draws nothing and keeps the ways
// off the screen taken, in order: "hide story", "show game over", "show
// console". A caller may add its own entries to order them against.
class JournalStoryView final : public StoryView {
public:
    QStringList journal;

    void draw(const StoryScreenState &) override {}
    void drawPane(const QString &) override {}
    void extendPane(const QString &) override {}
    void hideStory() override { journal << QStringLiteral("hide story"); }
    void showGameOver() override { journal << QStringLiteral("show game over"); }
    void showConsole() override { journal << QStringLiteral("show console"); }
};

// The game's story engine without a window, for the story tool, the tests,
// the fuzzers and the benchmarks: flags and pages come from `files`; music
// and alerts go to the given services, or to quiet ones that keep the
// alerts to be read.
class HeadlessStory {
public:
    explicit HeadlessStory(tess::Files &files, const ChoiceTables &tables = gameTables(),
                           tess::Music *music = nullptr, tess::Alerts *alerts = nullptr);
    HeadlessStory(const HeadlessStory &) = delete;
    HeadlessStory &operator=(const HeadlessStory &) = delete;

    StoryEngine &engine() { return engine_; }
    const StoryScreenState &state() const { return engine_.state(); }
    QStringList &journal() { return view_.journal; }
    const QStringList &journal() const { return view_.journal; }
    StoryFlags &flags() { return flags_; }
    tess::TextLoader &loader() { return loader_; }
    const ChoiceTables &tables() const { return tables_; }

    // The errors shown since the last call, when no alerts were given.
    QStringList takeErrors() { return std::exchange(keptAlerts_.messages, {}); }

    // The pane's text once the page is shown. Throws tess::FileError when
    // the file cannot be read.
    QString paneTextOf(int page);

private:
    const ChoiceTables &tables_;
    tess::QuietPump pump_;
    tess::QuietMusic quietMusic_;
    tess::KeptAlerts keptAlerts_;
    JournalStoryView view_;
    tess::TextLoader loader_;
    StoryFlags flags_;
    StoryEngine engine_;
};

} // namespace story
