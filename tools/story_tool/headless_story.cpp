#include "tools/story_tool/headless_story.h"

namespace storytool {

HeadlessStory::HeadlessStory(const story::ChoiceTables &tables, const QString &root)
    : tables_(tables), files_(root), engine_(view_, loader_, storyFlags_, music_, alerts_, tables)
{
}

void HeadlessStory::open(const FlagFiles &flags)
{
    view_.state = story::StoryScreenState();
    files_.flags = flags;
    alerts_.messages.clear();
    engine_.start();
}

void HeadlessStory::restore(const story::StoryScreenState &screen, const FlagFiles &flags)
{
    view_.state = screen;
    files_.flags = flags;
    alerts_.messages.clear();
}

void HeadlessStory::play(const Move &move)
{
    switch (move.kind) {
    case Move::Kind::Click:
        if (move.typed)
            view_.state.codeBoxText = *move.typed;
        engine_.click(move.slot);
        break;
    case Move::Kind::F8:
        engine_.press(story::StoryKey::F8);
        break;
    case Move::Kind::ConsoleKey:
        engine_.press(story::StoryKey::ConsoleKey);
        break;
    }
}

const story::ChoiceRule *HeadlessStory::ruleFor(const Move &move)
{
    if (!move.isClick())
        return nullptr;
    if (move.typed)
        view_.state.codeBoxText = *move.typed;
    for (story::Flag flag : story::kAllFlags)
        view_.state.mirror(flag) = storyFlags_.read(flag);
    return engine_.ruleFor(move.slot);
}

QStringList HeadlessStory::takeErrors()
{
    return std::exchange(alerts_.messages, {});
}

QByteArray HeadlessStory::pageBytes(int page)
{
    return files_.readAll(story::StoryEngine::pageFile(page));
}

QString HeadlessStory::paneTextOf(int page)
{
    tess::TextHolder pane;
    loader_.appendLines(loader_.readText(story::StoryEngine::pageFile(page)), pane);
    return pane.text();
}

} // namespace storytool
