#pragma once
#include "story/core/choice_rule.h"

#include <QList>
#include <QString>

namespace storytool {

// The pages of a story, in order: the opening page, every page a rule shows,
// the page F8 jumps to, and every page file in `root`/text.
QList<int> storyPages(const story::ChoiceTables &tables, const QString &root);

} // namespace storytool
