#pragma once
#include "shell/layout/caption_layout.h"

#include <optional>

class QKeyEvent;

namespace tess {

// Where a reading key moves a caret through text shown in lines: the arrows
// by character and by line, Ctrl with Left or Right by word (forward to a
// word's end, back to its start, as in a text box), Home and End to
// the ends of the line, Ctrl+Home and Ctrl+End to the ends of the text.
// Offsets are those of the shown text (every break one "\n"); nothing for a
// key that is none of these.
std::optional<qsizetype> readingCaretAfter(const QKeyEvent &key, qsizetype caret, const QString &shownText,
                                           const std::vector<CaptionLayout::ShownLine> &lines);

} // namespace tess
