#pragma once
#include "shell/core/text_target.h"
#include "shell/ui/caption_layout.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include <optional>

namespace tess {

// A label of the layout: a transparent caption over the screen's picture that
// wraps at its width and is cut at its height; without a caption it is an
// invisible click area. It keeps its caption exactly as set, line ends and all.
// Screen readers see it as shell/ui/accessibility.h describes.
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
    // while a screen reader listens; every other key goes on to the screen.
    void keyPressEvent(QKeyEvent *event) override;

private:
    QString caption_;
    QColor foreground_;
    Qt::Alignment alignment_;
    bool pressed_ = false;
    std::optional<CaptionLayout> layout_;  // kept between paints
};

// A one-line text box. Every key typed into it stays with it: none reaches
// the screen's own keys.
class LineBox final : public QLineEdit {
public:
    LineBox(QWidget *screen, const QRect &rect, quint32 background, quint32 foreground);

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

// A locked multi-line text box with a vertical scroll bar.
class MemoBox final : public QPlainTextEdit, public TextTarget {
public:
    MemoBox(QWidget *screen, const QRect &rect, quint32 background, quint32 foreground);

    QString text() const override { return text_; }
    void setText(const QString &text) override;
    void appendText(const QString &more) override;

private:
    QString text_;
};

// A picture shown at its natural size at the rectangle's corner.
class Picture final : public QLabel {
public:
    Picture(QWidget *screen, const QRect &rect, const QString &resource);
};

} // namespace tess
