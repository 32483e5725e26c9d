#include "shell/toolkit/controls.h"

#include "shell/core/text_lines.h"
#include "shell/layout/caption_layout.h"
#include "shell/layout/layout_units.h"
#include "shell/toolkit/caption_watch.h"
#include "shell/toolkit/keyboard_play.h"
#include "shell/toolkit/reading_caret.h"

#include <QAbstractTextDocumentLayout>
#include <QAccessible>
#include <QKeyEvent>
#include <QMetaMethod>
#include <QMouseEvent>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>

#include <algorithm>
#include <utility>

namespace tess {
namespace {

CaptionWatch *captionWatch = nullptr;

void colourBox(QWidget &box, quint32 background, quint32 foreground)
{
    QPalette palette = box.palette();
    palette.setColor(QPalette::Base, layoutColor(background));
    palette.setColor(QPalette::Text, layoutColor(foreground));
    box.setPalette(palette);
}

} // namespace

void watchCaptions(CaptionWatch *watch)
{
    captionWatch = watch;
}

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
    caret_ = 0;
    update();
    if (captionWatch)
        captionWatch->captionReplaced(*this, before);
}

void Label::appendText(const QString &more)
{
    const qsizetype oldSize = caption_.size();
    caption_ += more;
    update();
    if (captionWatch)
        captionWatch->captionAppended(*this, oldSize);
}

bool Label::answersClicks() const
{
    return isSignalConnected(QMetaMethod::fromSignal(&Label::clicked));
}

std::vector<CaptionLayout::ShownLine> Label::shownLines() const
{
    return CaptionLayout(font(), width(), alignment_).shownLines(caption_, height());
}

void Label::setReadingCaret(int offset)
{
    offset = std::clamp(offset, 0, int(normalizeLineBreaks(caption_).size()));
    if (offset == caret_)
        return;
    caret_ = offset;
    QAccessibleTextCursorEvent moved(this, caret_);
    QAccessible::updateAccessibility(&moved);
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
    if (focusPolicy() != Qt::NoFocus && !answersClicks()) {
        const QString shown = normalizeLineBreaks(caption_);
        if (const auto caret = readingCaretAfter(*event, caret_, shown, shownLines())) {
            setReadingCaret(int(*caret));
            return;
        }
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

QRect LineBox::characterBox(int offset) const
{
    // Measured from the caret, which the box places wherever it scrolled to.
    const QString shown = displayText();
    offset = std::clamp(offset, 0, int(shown.size()));
    const QFontMetrics metrics(font());
    const QRect caret = cursorRect();
    const int from = cursorPosition();
    const int x = offset >= from ? caret.center().x() + metrics.horizontalAdvance(shown.mid(from, offset - from))
                                 : caret.center().x() - metrics.horizontalAdvance(shown.mid(offset, from - offset));
    const int width = offset < shown.size() ? metrics.horizontalAdvance(shown.at(offset)) : 1;
    return QRect(x, caret.top(), qMax(width, 1), caret.height());
}

void LineBox::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    // The box tells of its caret (put at the end, or the text selected, as the
    // focus comes) before the focus itself, and a screen reader then takes it
    // as known and never says what it is: it comes to them anew.
    if (assistiveTechnologyActive())
        focusAnew(*this);
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

void MemoBox::letKeysRead()
{
    setTextInteractionFlags(textInteractionFlags() | Qt::TextSelectableByKeyboard);
}

std::vector<CaptionLayout::ShownLine> MemoBox::shownLines() const
{
    // The box shows its blocks one under another from the first it shows,
    // scrolled by contentOffset; where the others lie follows from their heights.
    QAbstractTextDocumentLayout &blocks = *document()->documentLayout();
    const int firstShown = firstVisibleBlock().blockNumber();
    qreal top = 0;
    qreal firstTop = 0;
    std::vector<std::pair<QTextBlock, qreal>> tops;
    for (QTextBlock block = document()->firstBlock(); block.isValid(); block = block.next()) {
        if (block.blockNumber() == firstShown)
            firstTop = top;
        tops.emplace_back(block, top);
        top += blocks.blockBoundingRect(block).height();
    }
    std::vector<CaptionLayout::ShownLine> lines;
    const QPointF scrolled = contentOffset() + viewport()->pos();
    for (const auto &[block, blockTop] : tops) {
        const QTextLayout *layout = block.layout();
        const QPoint origin = (scrolled + QPointF(0, blockTop - firstTop)).toPoint();
        // The box owns the layout; the lines are read before it changes.
        const std::shared_ptr<const QTextLayout> shared(std::shared_ptr<void>(), layout);
        for (int i = 0; i < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            const QRect box = line.naturalTextRect().toAlignedRect().translated(origin);
            lines.push_back({block.position() + line.textStart(), line.textLength(),
                             QRect(box.left(), box.top(), qMax(box.width(), 1), box.height()), shared, i,
                             block.position(), origin});
        }
    }
    return lines;
}

void MemoBox::appendText(const QString &more)
{
    text_ += more;
    // Text inserted at the caret moves it along: one at the start stays there.
    const bool caretAtStart = textCursor().position() == 0 && !textCursor().hasSelection();
    QTextCursor end(document());
    end.movePosition(QTextCursor::End);
    end.insertText(normalizeLineBreaks(more));
    if (caretAtStart)
        setTextCursor(QTextCursor(document()));
}

Picture::Picture(QWidget *screen, const QRect &rect, const QString &resource) : QLabel(screen)
{
    const QPixmap picture(resource);
    setPixmap(picture);
    setGeometry(QRect(rect.topLeft(), picture.size()));
}

} // namespace tess
