#pragma once
#include "story/core/headless_story.h"
#include "tools/story_tool/story_files.h"
#include "tools/story_tool/story_move.h"

namespace storytool {

// The game's story without a window, played by moves: the flags in memory
// and the pages read from `root`/text.
class StoryPlayer {
public:
    StoryPlayer(const story::ChoiceTables &tables, const QString &root);

    const story::StoryScreenState &screen() const { return story_.state(); }
    FlagFiles &flags() { return files_.flags; }
    const story::ChoiceTables &tables() const { return story_.tables(); }

    // Opens the story screen as the game does, with the given flags.
    void open(const FlagFiles &flags);
    void restore(const story::StoryScreenState &screen, const FlagFiles &flags);
    void type(const QString &text) { story_.engine().setCodeBoxText(text); }
    void play(const Move &move);

    // The rule the move would apply now; none for the keys. A click re-reads
    // every flag its table tests before testing, so with all mirrors taken
    // from the flag files first the engine answers exactly as the click will.
    const story::ChoiceRule *ruleFor(const Move &move);

    // The errors the game showed since the last call.
    QStringList takeErrors() { return story_.takeErrors(); }

    // The page file's bytes, and the pane's text once the page is shown.
    // Both throw tess::FileError when the file cannot be read.
    QByteArray pageBytes(int page);
    QString paneTextOf(int page) { return story_.paneTextOf(page); }

private:
    StoryFiles files_;
    story::HeadlessStory story_;
};

} // namespace storytool
