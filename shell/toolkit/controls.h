#pragma once
#include "shell/core/text_target.h"
#include "shell/layout/caption_layout.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include <optional>

namespace tess {

// A label of the layout: a transparent caption over the screen's picture that
// wraps at its width and is cut at its height; without a caption it is an
// invisible click area. It keeps its caption exactly as set, line ends and all.
// Screen readers see it as shell/accessibility/accessibility.h describes.
class Label final : public QWidget, public TextTarget {
    Q_OBJECT
public:
    Label(QWidget *screen, const QRect &rect, Qt::Alignment alignment = Qt::AlignLeft);

    QString text() const override { return caption_; }
    void setText(const QString &caption) override;
    void appendText(const QString &more) override;
    void setForeground(const QColor &color);
    QColor foreground() const { return foreground_; }
    Qt::Alignment alignment() const { return alignment_; }
    // Whether anything listens to its clicks: a click area or a choice.
    bool answersClicks() const;

    // The lines it shows of its caption (shell/layout/caption_layout.h).
    std::vector<CaptionLayout::ShownLine> shownLines() const;
    // Where a screen reader reads in its shown text; a new caption is read
    // from its start. Nothing is drawn for it.
    int readingCaret() const { return caret_; }
    void setReadingCaret(int offset);

signals:
    void clicked();
    void mouseMoved();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    // Enter and Space press a label that has the focus, which it has only
    // while a screen reader listens; reading keys move the reading caret of
    // one that answers no clicks; every other key goes on to the screen.
    void keyPressEvent(QKeyEvent *event) override;

private:
    QString caption_;
    int caret_ = 0;
    QColor foreground_;
    Qt::Alignment alignment_;
    bool pressed_ = false;
    std::optional<CaptionLayout> layout_;  // kept between paints
};

// A one-line text box. Every key typed into it stays with it: none reaches
// the screen's own keys. Screen readers see it as shell/accessibility/box_accessible.h
// says.
class LineBox final : public QLineEdit {
    Q_OBJECT
public:
    LineBox(QWidget *screen, const QRect &rect, quint32 background, quint32 foreground);

    // Where the character at the offset is drawn, in the box.
    QRect characterBox(int offset) const;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
};

// A locked multi-line text box with a vertical scroll bar. Its caret stays
// at the start as text comes in, where reading starts.
class MemoBox final : public QPlainTextEdit, public TextTarget {
    Q_OBJECT
public:
    MemoBox(QWidget *screen, const QRect &rect, quint32 background, quint32 foreground);

    QString text() const override { return text_; }
    void setText(const QString &text) override;
    void appendText(const QString &more) override;

    // The lines it shows, top to bottom, placed in the box (those out of
    // view above or below it too): how screen readers find them.
    std::vector<CaptionLayout::ShownLine> shownLines() const;
    // For a screen reader's user: the arrow keys move a caret through the
    // text, as through any text a screen reader reads.
    void letKeysRead();

private:
    QString text_;
};

// A picture shown at its natural size at the rectangle's corner.
class Picture final : public QLabel {
public:
    Picture(QWidget *screen, const QRect &rect, const QString &resource);
};

} // namespace tess
