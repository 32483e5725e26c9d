#include "shell/ui/controls.h"

#include "shell/core/text_lines.h"
#include "shell/ui/accessibility.h"
#include "shell/ui/caption_layout.h"
#include "shell/ui/layout_units.h"

#include <QKeyEvent>
#include <QMetaMethod>
#include <QMouseEvent>
#include <QPainter>
#include <QTextCursor>

#include <utility>

namespace tess {
namespace {

void colourBox(QWidget &box, quint32 background, quint32 foreground)
{
    QPalette palette = box.palette();
    palette.setColor(QPalette::Base, layoutColor(background));
    palette.setColor(QPalette::Text, layoutColor(foreground));
    box.setPalette(palette);
}

} // namespace

Label::Label(QWidget *screen, const QRect &rect, Qt::Alignment alignment)
    : QWidget(screen), foreground_(layoutColor(0x80000012)), alignment_(alignment)
{
    setGeometry(rect);
    setFont(defaultLayoutFont());
    setMouseTracking(true);
}

void Label::setText(const QString &caption)
{
    if (caption == caption_)
        return;
    const QString before = std::exchange(caption_, caption);
    update();
    reportCaptionReplaced(*this, before);
}

void Label::appendText(const QString &more)
{
    const qsizetype oldSize = caption_.size();
    caption_ += more;
    update();
    reportCaptionAppended(*this, oldSize);
}

bool Label::answersClicks() const
{
    return isSignalConnected(QMetaMethod::fromSignal(&Label::clicked));
}

void Label::setForeground(const QColor &color)
{
    if (color == foreground_)
        return;
    foreground_ = color;
    update();
}

void Label::paintEvent(QPaintEvent *)
{
    if (caption_.isEmpty())
        return;
    if (!layout_ || !layout_->isFor(font(), width(), alignment_))
        layout_.emplace(font(), width(), alignment_);
    QPainter painter(this);
    painter.setPen(foreground_);
    layout_->paint(painter, rect(), caption_);
}

void Label::mousePressEvent(QMouseEvent *event)
{
    pressed_ = event->button() == Qt::LeftButton;
}

void Label::mouseReleaseEvent(QMouseEvent *event)
{
    // A click is a press and a release of the left button over the label.
    const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    if (click)
        emit clicked();
}

void Label::mouseDoubleClickEvent(QMouseEvent *)
{
    // The second press of a double click is no second click: a quick double
    // click must not run a command twice or skip a page.
    pressed_ = false;
}

void Label::mouseMoveEvent(QMouseEvent *)
{
    emit mouseMoved();
}

void Label::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    const bool press = key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space;
    if (press && focusPolicy() != Qt::NoFocus && answersClicks()) {
        if (!event->isAutoRepeat())
            pressLikeThePlayer(*this);
        return;
    }
    event->ignore();
}

LineBox::LineBox(QWidget *screen, const QRect &rect, quint32 background, quint32 foreground)
    : QLineEdit(screen)
{
    setGeometry(rect);
    setFont(defaultLayoutFont());
    colourBox(*this, background, foreground);
}

void LineBox::keyPressEvent(QKeyEvent *event)
{
    QLineEdit::keyPressEvent(event);
    event->accept();
}

MemoBox::MemoBox(QWidget *screen, const QRect &rect, quint32 background, quint32 foreground)
    : QPlainTextEdit(screen)
{
    setGeometry(rect);
    setFont(defaultLayoutFont());
    setReadOnly(true);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    colourBox(*this, background, foreground);
    viewport()->setAutoFillBackground(true);
}

void MemoBox::setText(const QString &text)
{
    text_ = text;
    setPlainText(normalizeLineBreaks(text_));
}

void MemoBox::appendText(const QString &more)
{
    text_ += more;
    QTextCursor end(document());
    end.movePosition(QTextCursor::End);
    end.insertText(normalizeLineBreaks(more));
}

Picture::Picture(QWidget *screen, const QRect &rect, const QString &resource) : QLabel(screen)
{
    const QPixmap picture(resource);
    setPixmap(picture);
    setGeometry(QRect(rect.topLeft(), picture.size()));
}

} // namespace tess
