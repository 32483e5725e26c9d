#include "tools/story_tool/story_player.h"

namespace storytool {

StoryPlayer::StoryPlayer(const story::ChoiceTables &tables, const QString &root)
    : files_(root), story_(files_, tables)
{
}

void StoryPlayer::open(const FlagFiles &flags)
{
    story_.engine().restore(story::StoryScreenState());
    files_.flags = flags;
    story_.takeErrors();
    story_.engine().start();
}

void StoryPlayer::restore(const story::StoryScreenState &screen, const FlagFiles &flags)
{
    story_.engine().restore(screen);
    files_.flags = flags;
    story_.takeErrors();
}

void StoryPlayer::play(const Move &move)
{
    switch (move.kind) {
    case Move::Kind::Click:
        if (move.typed)
            type(*move.typed);
        story_.engine().click(move.slot);
        break;
    case Move::Kind::F8:
        story_.engine().press(story::StoryKey::F8);
        break;
    case Move::Kind::ConsoleKey:
        story_.engine().press(story::StoryKey::ConsoleKey);
        break;
    }
}

const story::ChoiceRule *StoryPlayer::ruleFor(const Move &move)
{
    if (!move.isClick())
        return nullptr;
    if (move.typed)
        type(*move.typed);
    story_.engine().refreshAllMirrors();
    return story_.engine().ruleFor(move.slot);
}

QByteArray StoryPlayer::pageBytes(int page)
{
    return files_.readAll(story::StoryEngine::pageFile(page));
}

} // namespace storytool
