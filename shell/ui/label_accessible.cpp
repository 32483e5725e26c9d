#include "shell/ui/label_accessible.h"

#include "shell/core/text_lines.h"
#include "shell/ui/accessibility.h"
#include "shell/ui/controls.h"

#include <algorithm>

namespace tess {
namespace {

enum class Kind { Button, Text, Page };

Kind kindOf(const Label &label)
{
    if (label.answersClicks())
        return Kind::Button;
    return isExposedAsPage(label) ? Kind::Page : Kind::Text;
}

} // namespace

LabelAccessible::LabelAccessible(Label *label) : QAccessibleWidget(label) {}

Label &LabelAccessible::label() const
{
    return *static_cast<Label *>(widget());
}

QString LabelAccessible::shownText() const
{
    return normalizeLineBreaks(label().text());
}

QAccessible::Role LabelAccessible::role() const
{
    switch (kindOf(label())) {
    case Kind::Button:
        return QAccessible::Button;
    case Kind::Page:
        return QAccessible::Paragraph;
    case Kind::Text:
        break;
    }
    return QAccessible::StaticText;
}

QAccessible::State LabelAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    if (kindOf(label()) != Kind::Button) {
        state.readOnly = true;
        state.multiLine = true;
    }
    return state;
}

// The name a label has for a screen reader: the one it was given, or else its
// caption. A page without a name of its own has none: its text says it all.
QString LabelAccessible::text(QAccessible::Text t) const
{
    if (t != QAccessible::Name)
        return QAccessibleWidget::text(t);
    if (!label().accessibleName().isEmpty())
        return label().accessibleName();
    if (kindOf(label()) == Kind::Page)
        return QString();
    return shownText();
}

void *LabelAccessible::interface_cast(QAccessible::InterfaceType t)
{
    if (t == QAccessible::TextInterface && kindOf(label()) != Kind::Button)
        return static_cast<QAccessibleTextInterface *>(this);
    return QAccessibleWidget::interface_cast(t);
}

QStringList LabelAccessible::actionNames() const
{
    QStringList names = QAccessibleWidget::actionNames();
    if (kindOf(label()) == Kind::Button)
        names.prepend(pressAction());
    return names;
}

void LabelAccessible::doAction(const QString &actionName)
{
    if (actionName == pressAction() && kindOf(label()) == Kind::Button)
        pressLikeThePlayer(label());
    else
        QAccessibleWidget::doAction(actionName);
}

QString LabelAccessible::text(int startOffset, int endOffset) const
{
    const QString all = shownText();
    const qsizetype start = std::clamp<qsizetype>(startOffset, 0, all.size());
    const qsizetype end = endOffset < 0 ? all.size() : std::clamp<qsizetype>(endOffset, start, all.size());
    return all.mid(start, end - start);
}

int LabelAccessible::characterCount() const
{
    return int(shownText().size());
}

void LabelAccessible::selection(int, int *startOffset, int *endOffset) const
{
    *startOffset = *endOffset = 0;
}

QString LabelAccessible::attributes(int, int *startOffset, int *endOffset) const
{
    *startOffset = 0;
    *endOffset = characterCount();
    return QString();
}

const std::vector<CaptionLayout::ShownLine> &LabelAccessible::lines() const
{
    const Label &shown = label();
    if (linesFor_ != shown.text() || linesSize_ != shown.size() || (lines_.empty() && !linesFor_.isEmpty())) {
        linesFor_ = shown.text();
        linesSize_ = shown.size();
        lines_ = CaptionLayout(shown.font(), shown.width(), shown.alignment()).shownLines(linesFor_, shown.height());
    }
    return lines_;
}

int LabelAccessible::lineOf(int offset) const
{
    const auto &all = lines();
    for (std::size_t i = 0; i < all.size(); ++i) {
        const bool last = i + 1 == all.size();
        if (offset >= all[i].start && (last || offset < all[i + 1].start))
            return offset <= all[i].start + all[i].length + 1 ? int(i) : -1;
    }
    return -1;
}

QRect LabelAccessible::characterRect(int offset) const
{
    const int line = lineOf(offset);
    if (line < 0)
        return QRect();
    const QRect box = CaptionLayout::characterBox(lines()[std::size_t(line)], offset);
    return QRect(label().mapToGlobal(box.topLeft()), box.size());
}

int LabelAccessible::offsetAtPoint(const QPoint &point) const
{
    const QPoint at = label().mapFromGlobal(point);
    for (const CaptionLayout::ShownLine &line : lines())
        if (at.y() >= line.rect.top() && at.y() <= line.rect.bottom())
            return int(CaptionLayout::offsetAt(line, at.x()));
    return -1;
}

// A shown line with its break, as screen readers expect a line.
QString LabelAccessible::lineText(int line, int *startOffset, int *endOffset) const
{
    const auto &all = lines();
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

QString LabelAccessible::textAtOffset(int offset, QAccessible::TextBoundaryType type, int *startOffset,
                                      int *endOffset) const
{
    if (type != QAccessible::LineBoundary)
        return QAccessibleTextInterface::textAtOffset(offset, type, startOffset, endOffset);
    return lineText(lineOf(qMin(offset, characterCount() - 1)), startOffset, endOffset);
}

QString LabelAccessible::textBeforeOffset(int offset, QAccessible::TextBoundaryType type, int *startOffset,
                                          int *endOffset) const
{
    if (type != QAccessible::LineBoundary)
        return QAccessibleTextInterface::textBeforeOffset(offset, type, startOffset, endOffset);
    const int line = lineOf(qMin(offset, characterCount() - 1));
    return lineText(line < 0 ? -1 : line - 1, startOffset, endOffset);
}

QString LabelAccessible::textAfterOffset(int offset, QAccessible::TextBoundaryType type, int *startOffset,
                                         int *endOffset) const
{
    if (type != QAccessible::LineBoundary)
        return QAccessibleTextInterface::textAfterOffset(offset, type, startOffset, endOffset);
    const int line = lineOf(offset);
    return lineText(line < 0 ? -1 : line + 1, startOffset, endOffset);
}

WindowAccessible::WindowAccessible(QWidget *window) : QAccessibleWidget(window, QAccessible::Window) {}

QList<QWidget *> WindowAccessible::exposedChildren() const
{
    QList<QWidget *> exposed;
    for (QObject *object : widget()->children()) {
        auto *child = qobject_cast<QWidget *>(object);
        if (child && !child->isWindow() && !isHiddenFromScreenReaders(*child))
            exposed.append(child);
    }
    return exposed;
}

int WindowAccessible::childCount() const
{
    return int(exposedChildren().size());
}

QAccessibleInterface *WindowAccessible::child(int index) const
{
    const QList<QWidget *> exposed = exposedChildren();
    if (index < 0 || index >= exposed.size())
        return nullptr;
    return QAccessible::queryAccessibleInterface(exposed.at(index));
}

int WindowAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    if (!child)
        return -1;
    return int(exposedChildren().indexOf(qobject_cast<QWidget *>(child->object())));
}

} // namespace tess
