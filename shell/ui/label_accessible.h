#pragma once
#include "shell/ui/caption_layout.h"

#include <QAccessibleWidget>

#include <vector>

namespace tess {

class Label;

// A label as a screen reader sees it (shell/ui/accessibility.h): a push
// button with a press action, or read-only text whose lines and characters
// lie where the label draws them, so a review reads it line by line.
class LabelAccessible final : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit LabelAccessible(Label *label);

    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    QString text(QAccessible::Text t) const override;
    void *interface_cast(QAccessible::InterfaceType t) override;

    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;

    // Text: the caption as shown, read-only, with no caret or selection.
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    void selection(int, int *startOffset, int *endOffset) const override;
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint &point) const override;
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int *startOffset, int *endOffset) const override;
    QString textAtOffset(int offset, QAccessible::TextBoundaryType type, int *startOffset,
                         int *endOffset) const override;
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType type, int *startOffset,
                             int *endOffset) const override;
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType type, int *startOffset,
                            int *endOffset) const override;

private:
    Label &label() const;
    QString shownText() const;
    // The lines as the label shows them now, laid out again only when the
    // caption or the label's size changed.
    const std::vector<CaptionLayout::ShownLine> &lines() const;
    // The shown line holding the offset (a line's break belongs to it), or -1.
    int lineOf(int offset) const;
    QString lineText(int line, int *startOffset, int *endOffset) const;

    mutable QString linesFor_;
    mutable QSize linesSize_;
    mutable std::vector<CaptionLayout::ShownLine> lines_;
};

// A screen's window: a frame whose children are its controls, less those
// kept from screen readers (hideFromScreenReaders).
class WindowAccessible final : public QAccessibleWidget {
public:
    explicit WindowAccessible(QWidget *window);

    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;

private:
    QList<QWidget *> exposedChildren() const;
};

} // namespace tess
