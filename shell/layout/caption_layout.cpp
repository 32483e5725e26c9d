#include "shell/layout/caption_layout.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTextLayout>

#include <climits>

namespace tess {

CaptionLayout::CaptionLayout(const QFont &font, int width, Qt::Alignment alignment)
    : font_(font), width_(width), alignment_(alignment), lineHeight_(QFontMetrics(font).lineSpacing())
{
}

bool CaptionLayout::isFor(const QFont &font, int width, Qt::Alignment alignment) const
{
    return font == font_ && width == width_ && alignment == alignment_;
}

// Hands the caption to `perParagraph` paragraph by paragraph, each with the
// height its first line starts at, and stops once `limit` pixels are filled:
// a label never looks at what it would cut off anyway, so a caption of
// megabytes costs no more to paint than one that fills the label. Each CR LF,
// lone CR and lone LF ends a paragraph. `perParagraph` returns the height
// below the paragraph.
template <typename PerParagraph>
int CaptionLayout::layOut(const QString &caption, int limit, PerParagraph perParagraph) const
{
    const qsizetype size = caption.size();
    int y = 0;
    std::size_t index = 0;
    for (qsizetype start = 0; start <= size && y < limit; ++index) {
        qsizetype end = start;
        while (end < size && caption[end] != u'\r' && caption[end] != u'\n')
            ++end;
        // A paragraph is laid out only as far as the lines left could show:
        // shaping a megabyte-long line only to cut it off stalls the game.
        // Each line holds at most `width_` characters of a pixel or more;
        // four times that leaves room for narrower ones.
        qsizetype length = end - start;
        if (limit != INT_MAX)
            length = qMin(length, qsizetype((limit - y) / lineHeight_ + 1) * qMax(width_, 1) * 4);
        y = perParagraph(index, caption.mid(start, length), y);
        start = end + (end + 1 < size && caption[end] == u'\r' && caption[end + 1] == u'\n' ? 2 : 1);
    }
    return y;
}

// Lays one paragraph out line by line from `top` until `limit`. The layout
// keeps its shaped glyphs, so drawing it again shapes nothing.
CaptionLayout::Paragraph CaptionLayout::layOutParagraph(const QString &text, int top, int limit) const
{
    QTextOption option(alignment_);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    auto layout = std::make_shared<QTextLayout>(text, font_);
    layout->setCacheEnabled(true);
    layout->setTextOption(option);
    layout->beginLayout();
    int y = top;
    // A line is made only while there is room for it: a line created and left
    // unplaced would take the rest of the paragraph and be drawn at the top.
    while (y < limit) {
        QTextLine line = layout->createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(width_);
        line.setPosition(QPointF(0, y));
        y += lineHeight_;
    }
    layout->endLayout();
    return {text, top, y, std::move(layout)};
}

int CaptionLayout::heightOf(const QString &caption) const
{
    return layOut(caption, INT_MAX, [this](std::size_t, const QString &text, int top) {
        return layOutParagraph(text, top, INT_MAX).bottom;
    });
}

std::vector<CaptionLayout::ShownLine> CaptionLayout::shownLines(const QString &caption, int height) const
{
    std::vector<ShownLine> lines;
    qsizetype paragraphStart = 0;
    layOut(caption, height, [&](std::size_t, const QString &text, int top) {
        const Paragraph paragraph = layOutParagraph(text, top, height);
        for (int i = 0; i < paragraph.layout->lineCount(); ++i) {
            const QTextLine line = paragraph.layout->lineAt(i);
            const QRect box = line.naturalTextRect().toAlignedRect();
            lines.push_back({paragraphStart + line.textStart(), line.textLength(),
                             QRect(box.left(), int(line.y()), qMax(box.width(), 1), lineHeight_),
                             paragraph.layout, i, paragraphStart, QPoint()});
        }
        paragraphStart += text.size() + 1;
        return paragraph.bottom;
    });
    return lines;
}

QRect CaptionLayout::characterBox(const ShownLine &line, qsizetype offset)
{
    const QTextLine shaped = line.layout->lineAt(line.index);
    const int at = int(offset - line.paragraphStart);
    const int left = line.origin.x() + int(shaped.cursorToX(at));
    const int right = offset < line.start + line.length ? line.origin.x() + int(shaped.cursorToX(at + 1)) : left + 1;
    return QRect(qMin(left, right), line.rect.top(), qMax(qAbs(right - left), 1), line.rect.height());
}

qsizetype CaptionLayout::offsetAt(const ShownLine &line, int x)
{
    return line.paragraphStart + line.layout->lineAt(line.index).xToCursor(x - line.origin.x());
}

int CaptionLayout::lineHolding(const std::vector<ShownLine> &lines, qsizetype offset)
{
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const bool last = i + 1 == lines.size();
        if (offset >= lines[i].start && (last || offset < lines[i + 1].start))
            return offset <= lines[i].start + lines[i].length + 1 ? int(i) : -1;
    }
    return -1;
}

void CaptionLayout::paint(QPainter &painter, const QRect &rect, const QString &caption)
{
    // A paragraph's lines depend on nothing but its text, where it starts
    // and where the label ends.
    if (rect.height() != paintedLimit_) {
        painted_.clear();
        paintedLimit_ = rect.height();
    }
    painter.save();
    painter.setClipRect(rect);
    std::size_t shown = 0;
    layOut(caption, rect.height(), [&](std::size_t index, const QString &text, int top) {
        if (index >= painted_.size() || painted_[index].top != top || painted_[index].text != text) {
            painted_.resize(index);
            painted_.push_back(layOutParagraph(text, top, rect.height()));
        }
        painted_[index].layout->draw(&painter, rect.topLeft());
        shown = index + 1;
        return painted_[index].bottom;
    });
    painted_.resize(shown);
    painter.restore();
}

} // namespace tess
