#pragma once
#include "tools/story_tool/story_notes.h"

#include <QStringList>

namespace storytool {

// A page's prose as the editor reads it: its sentences in order, each with
// the line breaks of the file turned into spaces. A blank line ends a
// sentence too, so a heading or a line of a terminal stands alone.
QStringList sentencesOf(const QString &text);

// The words of a text: runs of letters and digits, with inner hyphens
// ("где-то") and apostrophes kept; dashes and numbers' bars split.
QStringList wordsOf(const QString &text);

// How often the tic occurs in these sentences of one page.
int ticCount(const Tic &tic, const QStringList &sentences);

} // namespace storytool
