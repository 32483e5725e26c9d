#include "shell/toolkit/reading_caret.h"

#include <QKeyEvent>
#include <QTextBoundaryFinder>

namespace tess {
namespace {

// By word as screen readers expect it of a text box: forward to the end of
// the word the caret is in or comes to, back to the start of one.
qsizetype wordEdge(const QString &text, qsizetype caret, bool forward)
{
    QTextBoundaryFinder words(QTextBoundaryFinder::Word, text);
    words.setPosition(caret);
    const auto edge = forward ? QTextBoundaryFinder::EndOfItem : QTextBoundaryFinder::StartOfItem;
    for (;;) {
        const qsizetype at = forward ? words.toNextBoundary() : words.toPreviousBoundary();
        if (at < 0)
            return forward ? text.size() : 0;
        if (words.boundaryReasons().testFlag(edge))
            return at;
    }
}

// The same column on another line, or that line's end when it is shorter.
qsizetype onLine(const CaptionLayout::ShownLine &line, qsizetype column)
{
    return line.start + qMin(column, line.length);
}

} // namespace

std::optional<qsizetype> readingCaretAfter(const QKeyEvent &key, qsizetype caret, const QString &shownText,
                                           const std::vector<CaptionLayout::ShownLine> &lines)
{
    const bool ctrl = key.modifiers().testFlag(Qt::ControlModifier);
    const int index = CaptionLayout::lineHolding(lines, qMin(caret, shownText.size() - 1));
    if (index < 0)
        return std::nullopt;
    const std::size_t at = std::size_t(index);
    const CaptionLayout::ShownLine &line = lines[at];
    switch (key.key()) {
    case Qt::Key_Left:
        return ctrl ? wordEdge(shownText, caret, false) : qMax<qsizetype>(caret - 1, 0);
    case Qt::Key_Right:
        return ctrl ? wordEdge(shownText, caret, true) : qMin(caret + 1, shownText.size());
    case Qt::Key_Up:
        return at > 0 ? onLine(lines[at - 1], caret - line.start) : caret;
    case Qt::Key_Down:
        return at + 1 < lines.size() ? onLine(lines[at + 1], caret - line.start) : caret;
    case Qt::Key_Home:
        return ctrl ? 0 : line.start;
    case Qt::Key_End:
        return ctrl ? shownText.size() : line.start + line.length;
    default:
        return std::nullopt;
    }
}

} // namespace tess
