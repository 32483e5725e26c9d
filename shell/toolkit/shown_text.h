#pragma once
#include "shell/layout/caption_layout.h"

#include <QAccessibleInterface>

#include <vector>

class QWidget;

namespace tess {

// Text as a screen reader reads it, line by line where it is drawn: a review
// reads the lines one by one, a line read by the arrow keys is the line the
// player would see, and a point finds its character. The subclass tells what
// the text is, how it breaks into lines and on which widget; the caret and
// the selection are its own too.
class ShownText : public QAccessibleTextInterface {
public:
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint &point) const override;
    void scrollToSubstring(int, int) override {}
    // One run without attributes over the whole text: a run that covers
    // nothing has screen readers drop characters from what they speak.
    QString attributes(int offset, int *startOffset, int *endOffset) const override;
    QString textAtOffset(int offset, QAccessible::TextBoundaryType type, int *startOffset,
                         int *endOffset) const override;
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType type, int *startOffset,
                             int *endOffset) const override;
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType type, int *startOffset,
                            int *endOffset) const override;

protected:
    // The text as shown, every line break one "\n".
    virtual QString shownText() const = 0;
    // Its lines, top to bottom, placed in surface().
    virtual const std::vector<CaptionLayout::ShownLine> &shownLines() const = 0;
    virtual const QWidget &surface() const = 0;

private:
    // A shown line with its break, as screen readers expect a line.
    QString lineText(int line, int *startOffset, int *endOffset) const;
};

} // namespace tess
