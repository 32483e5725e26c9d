#include "shell/toolkit/shown_text.h"

#include <QWidget>

#include <algorithm>

namespace tess {

QString ShownText::text(int startOffset, int endOffset) const
{
    const QString all = shownText();
    const qsizetype start = std::clamp<qsizetype>(startOffset, 0, all.size());
    const qsizetype end = endOffset < 0 ? all.size() : std::clamp<qsizetype>(endOffset, start, all.size());
    return all.mid(start, end - start);
}

int ShownText::characterCount() const
{
    return int(shownText().size());
}

QString ShownText::attributes(int, int *startOffset, int *endOffset) const
{
    *startOffset = 0;
    *endOffset = characterCount();
    return QString();
}

QRect ShownText::characterRect(int offset) const
{
    const auto &lines = shownLines();
    const int line = CaptionLayout::lineHolding(lines, offset);
    if (line < 0)
        return QRect();
    const QRect box = CaptionLayout::characterBox(lines[std::size_t(line)], offset);
    return QRect(surface().mapToGlobal(box.topLeft()), box.size());
}

int ShownText::offsetAtPoint(const QPoint &point) const
{
    const QPoint at = surface().mapFromGlobal(point);
    for (const CaptionLayout::ShownLine &line : shownLines())
        if (at.y() >= line.rect.top() && at.y() <= line.rect.bottom())
            return int(CaptionLayout::offsetAt(line, at.x()));
    return -1;
}

QString ShownText::lineText(int line, int *startOffset, int *endOffset) const
{
    const auto &all = shownLines();
    if (line < 0 || std::size_t(line) >= all.size()) {
        *startOffset = *endOffset = -1;
        return QString();
    }
    const QString shown = shownText();
    const CaptionLayout::ShownLine &at = all[std::size_t(line)];
    const qsizetype end = std::size_t(line) + 1 < all.size() ? all[std::size_t(line) + 1].start
                                                             : qMin(at.start + at.length + 1, shown.size());
    *startOffset = int(at.start);
    *endOffset = int(end);
    return shown.mid(at.start, end - at.start);
}

QString ShownText::textAtOffset(int offset, QAccessible::TextBoundaryType type, int *startOffset,
                                int *endOffset) const
{
    if (type != QAccessible::LineBoundary)
        return QAccessibleTextInterface::textAtOffset(offset, type, startOffset, endOffset);
    const int line = CaptionLayout::lineHolding(shownLines(), qMin(offset, characterCount() - 1));
    return lineText(line, startOffset, endOffset);
}

QString ShownText::textBeforeOffset(int offset, QAccessible::TextBoundaryType type, int *startOffset,
                                    int *endOffset) const
{
    if (type != QAccessible::LineBoundary)
        return QAccessibleTextInterface::textBeforeOffset(offset, type, startOffset, endOffset);
    const int line = CaptionLayout::lineHolding(shownLines(), qMin(offset, characterCount() - 1));
    return lineText(line < 0 ? -1 : line - 1, startOffset, endOffset);
}

QString ShownText::textAfterOffset(int offset, QAccessible::TextBoundaryType type, int *startOffset,
                                   int *endOffset) const
{
    if (type != QAccessible::LineBoundary)
        return QAccessibleTextInterface::textAfterOffset(offset, type, startOffset, endOffset);
    const int line = CaptionLayout::lineHolding(shownLines(), offset);
    return lineText(line < 0 ? -1 : line + 1, startOffset, endOffset);
}

} // namespace tess
