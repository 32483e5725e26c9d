#pragma once
#include "shell/toolkit/shown_text.h"

#include <QAccessibleWidget>

namespace tess {

class LineBox;
class MemoBox;

// The text boxes as a screen reader sees them: Qt's own interfaces for a line
// edit and a plain text edit report text attributes over no characters, and
// place every line of a plain text edit on its first, so screen readers cut
// the last character off what they speak and review a scrolled text as one
// line. These say the same of the boxes, with one attribute run over the
// whole text and the lines where they are drawn.

// A one-line box: its text, caret and selection, editable when it is.
class LineBoxAccessible final : public QAccessibleWidget,
                                public QAccessibleTextInterface,
                                public QAccessibleEditableTextInterface {
public:
    explicit LineBoxAccessible(LineBox *box);

    QAccessible::State state() const override;
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text t, const QString &text) override;
    void *interface_cast(QAccessible::InterfaceType t) override;

    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    void selection(int selectionIndex, int *startOffset, int *endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint &point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int *startOffset, int *endOffset) const override;

    void deleteText(int startOffset, int endOffset) override;
    void insertText(int offset, const QString &text) override;
    void replaceText(int startOffset, int endOffset, const QString &text) override;

private:
    LineBox &box() const;
};

// The locked box of many lines: read-only text with the box's caret.
class MemoBoxAccessible final : public QAccessibleWidget, public ShownText {
public:
    explicit MemoBoxAccessible(MemoBox *box);

    QAccessible::State state() const override;
    void *interface_cast(QAccessible::InterfaceType t) override;

    using ShownText::text;
    void selection(int selectionIndex, int *startOffset, int *endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;

protected:
    QString shownText() const override;
    const std::vector<CaptionLayout::ShownLine> &shownLines() const override;
    const QWidget &surface() const override { return *widget(); }

private:
    MemoBox &box() const;

    mutable std::vector<CaptionLayout::ShownLine> lines_;
};

} // namespace tess
