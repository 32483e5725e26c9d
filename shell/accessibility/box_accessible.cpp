#include "shell/accessibility/box_accessible.h"

#include "shell/toolkit/controls.h"

#include <algorithm>

namespace tess {

LineBoxAccessible::LineBoxAccessible(LineBox *box) : QAccessibleWidget(box, QAccessible::EditableText) {}

LineBox &LineBoxAccessible::box() const
{
    return *static_cast<LineBox *>(widget());
}

QAccessible::State LineBoxAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.selectableText = true;
    state.readOnly = box().isReadOnly();
    state.editable = !box().isReadOnly();
    state.passwordEdit = box().echoMode() != QLineEdit::Normal;
    return state;
}

QString LineBoxAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Value)
        return box().displayText();
    return QAccessibleWidget::text(t);
}

void LineBoxAccessible::setText(QAccessible::Text t, const QString &text)
{
    if (t == QAccessible::Value && !box().isReadOnly())
        box().setText(text);
    else
        QAccessibleWidget::setText(t, text);
}

void *LineBoxAccessible::interface_cast(QAccessible::InterfaceType t)
{
    if (t == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface *>(this);
    if (t == QAccessible::EditableTextInterface)
        return static_cast<QAccessibleEditableTextInterface *>(this);
    return QAccessibleWidget::interface_cast(t);
}

QString LineBoxAccessible::text(int startOffset, int endOffset) const
{
    const QString all = box().displayText();
    const qsizetype start = std::clamp<qsizetype>(startOffset, 0, all.size());
    const qsizetype end = endOffset < 0 ? all.size() : std::clamp<qsizetype>(endOffset, start, all.size());
    return all.mid(start, end - start);
}

int LineBoxAccessible::characterCount() const
{
    return int(box().displayText().size());
}

void LineBoxAccessible::selection(int selectionIndex, int *startOffset, int *endOffset) const
{
    *startOffset = *endOffset = 0;
    if (selectionIndex != 0 || !box().hasSelectedText())
        return;
    *startOffset = box().selectionStart();
    *endOffset = box().selectionEnd();
}

int LineBoxAccessible::selectionCount() const
{
    return box().hasSelectedText() ? 1 : 0;
}

void LineBoxAccessible::addSelection(int startOffset, int endOffset)
{
    setSelection(0, startOffset, endOffset);
}

void LineBoxAccessible::removeSelection(int selectionIndex)
{
    if (selectionIndex == 0)
        box().deselect();
}

void LineBoxAccessible::setSelection(int selectionIndex, int startOffset, int endOffset)
{
    if (selectionIndex == 0)
        box().setSelection(startOffset, endOffset - startOffset);
}

int LineBoxAccessible::cursorPosition() const
{
    return box().cursorPosition();
}

void LineBoxAccessible::setCursorPosition(int position)
{
    box().setCursorPosition(position);
}

QRect LineBoxAccessible::characterRect(int offset) const
{
    const QRect inBox = box().characterBox(offset);
    return QRect(box().mapToGlobal(inBox.topLeft()), inBox.size());
}

int LineBoxAccessible::offsetAtPoint(const QPoint &point) const
{
    const QPoint at = box().mapFromGlobal(point);
    return box().rect().contains(at) ? box().cursorPositionAt(at) : -1;
}

void LineBoxAccessible::scrollToSubstring(int, int endIndex)
{
    box().setCursorPosition(endIndex);
}

QString LineBoxAccessible::attributes(int, int *startOffset, int *endOffset) const
{
    *startOffset = 0;
    *endOffset = characterCount();
    return QString();
}

void LineBoxAccessible::deleteText(int startOffset, int endOffset)
{
    replaceText(startOffset, endOffset, QString());
}

void LineBoxAccessible::insertText(int offset, const QString &text)
{
    replaceText(offset, offset, text);
}

void LineBoxAccessible::replaceText(int startOffset, int endOffset, const QString &text)
{
    if (box().isReadOnly())
        return;
    const QString was = box().text();
    const qsizetype start = std::clamp<qsizetype>(startOffset, 0, was.size());
    const qsizetype end = std::clamp<qsizetype>(endOffset, start, was.size());
    box().setText(was.left(start) + text + was.mid(end));
}

MemoBoxAccessible::MemoBoxAccessible(MemoBox *box) : QAccessibleWidget(box, QAccessible::EditableText) {}

MemoBox &MemoBoxAccessible::box() const
{
    return *static_cast<MemoBox *>(widget());
}

QAccessible::State MemoBoxAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.readOnly = true;
    state.multiLine = true;
    state.selectableText = true;
    return state;
}

void *MemoBoxAccessible::interface_cast(QAccessible::InterfaceType t)
{
    if (t == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface *>(this);
    return QAccessibleWidget::interface_cast(t);
}

QString MemoBoxAccessible::shownText() const
{
    return box().toPlainText();
}

const std::vector<CaptionLayout::ShownLine> &MemoBoxAccessible::shownLines() const
{
    lines_ = box().shownLines();
    return lines_;
}

void MemoBoxAccessible::selection(int selectionIndex, int *startOffset, int *endOffset) const
{
    const QTextCursor caret = box().textCursor();
    const bool selected = selectionIndex == 0 && caret.hasSelection();
    *startOffset = selected ? caret.selectionStart() : 0;
    *endOffset = selected ? caret.selectionEnd() : 0;
}

int MemoBoxAccessible::selectionCount() const
{
    return box().textCursor().hasSelection() ? 1 : 0;
}

void MemoBoxAccessible::addSelection(int startOffset, int endOffset)
{
    setSelection(0, startOffset, endOffset);
}

void MemoBoxAccessible::removeSelection(int selectionIndex)
{
    if (selectionIndex != 0)
        return;
    QTextCursor caret = box().textCursor();
    caret.clearSelection();
    box().setTextCursor(caret);
}

void MemoBoxAccessible::setSelection(int selectionIndex, int startOffset, int endOffset)
{
    if (selectionIndex != 0)
        return;
    const int size = characterCount();
    QTextCursor caret = box().textCursor();
    caret.setPosition(std::clamp(startOffset, 0, size));
    caret.setPosition(std::clamp(endOffset, 0, size), QTextCursor::KeepAnchor);
    box().setTextCursor(caret);
}

int MemoBoxAccessible::cursorPosition() const
{
    return box().textCursor().position();
}

void MemoBoxAccessible::setCursorPosition(int position)
{
    QTextCursor caret = box().textCursor();
    caret.setPosition(std::clamp(position, 0, characterCount()));
    box().setTextCursor(caret);
}

} // namespace tess
