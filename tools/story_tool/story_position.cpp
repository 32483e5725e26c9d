#include "tools/story_tool/story_position.h"

#include <QHashFunctions>

namespace storytool {

StoryPosition StoryPosition::of(const story::StoryScreenState &screen, const FlagFiles &flags, int page)
{
    return {screen.choices, screen.codeBoxShown, flags, page};
}

std::size_t StoryPositionHash::operator()(const StoryPosition &position) const
{
    std::size_t seed = qHashMulti(0, position.codeBoxShown, position.page);
    for (const story::ChoiceSlotState &choice : position.choices)
        seed = qHashMulti(seed, choice.caption, choice.shown);
    for (const std::optional<QByteArray> &file : position.flags.bytes)
        seed = qHashMulti(seed, file.has_value(), file.value_or(QByteArray()));
    return seed;
}

} // namespace storytool
