#pragma once
#include "shell/core/text_loader.h"
#include "story/core/story_engine.h"
#include "story/core/story_flags.h"
#include "story/core/memory_story_view.h"
#include "shell/core/quiet_services.h"
#include "tools/story_tool/story_files.h"
#include "tools/story_tool/story_move.h"

namespace storytool {

// The game's story engine on a story screen without a window, with the
// flags in memory and the pages read from `root`/text.
class HeadlessStory {
public:
    HeadlessStory(const story::ChoiceTables &tables, const QString &root);
    HeadlessStory(const HeadlessStory &) = delete;
    HeadlessStory &operator=(const HeadlessStory &) = delete;

    story::StoryScreenState &screen() { return view_.state; }
    FlagFiles &flags() { return files_.flags; }
    const story::ChoiceTables &tables() const { return tables_; }

    // Opens the story screen as the game does, with the given flags.
    void open(const FlagFiles &flags);
    void restore(const story::StoryScreenState &screen, const FlagFiles &flags);
    void play(const Move &move);

    // The rule the move would apply now; none for the keys. A click re-reads
    // every flag its table tests before testing, so with all mirrors taken
    // from the flag files first the engine answers exactly as the click will.
    const story::ChoiceRule *ruleFor(const Move &move);

    // The errors the game showed since the last call.
    QStringList takeErrors();

    // The page file's bytes, and the pane's text once the page is shown.
    // Both throw tess::FileError when the file cannot be read.
    QByteArray pageBytes(int page);
    QString paneTextOf(int page);

private:
    const story::ChoiceTables &tables_;
    StoryFiles files_;
    tess::QuietPump pump_;
    tess::QuietMusic music_;
    tess::KeptAlerts alerts_;
    story::MemoryStoryView view_;
    tess::TextLoader loader_{files_, pump_};
    story::StoryFlags storyFlags_{files_};
    story::StoryEngine engine_;
};

} // namespace storytool
