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

// Whether a page's opening sentence restates the choice clicked to reach it:
// it opens on «Ты» and a verb ("Ты отвечаешь"), or it holds a word of the
// caption in another form ("Закрыть" → "закрываешь": the same first four
// letters). The caption's words as they stand are names, not echoes.
bool restatesChoice(const QString &opening, const QString &caption);

// How often the tic occurs in these sentences of one page.
int ticCount(const Tic &tic, const QStringList &sentences);

} // namespace storytool
