#pragma once
#include "shell/toolkit/shown_text.h"

#include <QAccessibleWidget>

#include <vector>

namespace tess {

class Label;

// A label as a screen reader sees it (shell/accessibility/accessibility.h): a push
// button with a press action, or read-only text whose lines and characters
// lie where the label draws them, so a review reads it line by line, with a
// reading caret the arrow keys move while the label has the focus.
class LabelAccessible final : public QAccessibleWidget, public ShownText {
public:
    explicit LabelAccessible(Label *label);

    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    QString text(QAccessible::Text t) const override;
    void *interface_cast(QAccessible::InterfaceType t) override;

    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;

    // Text: the caption as shown, read-only, with a caret and no selection.
    using ShownText::text;
    void selection(int, int *startOffset, int *endOffset) const override;
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override;
    void setCursorPosition(int position) override;

protected:
    QString shownText() const override;
    // The lines as the label shows them now, laid out again only when the
    // caption or the label's size changed.
    const std::vector<CaptionLayout::ShownLine> &shownLines() const override;
    const QWidget &surface() const override { return *widget(); }

private:
    Label &label() const;

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
