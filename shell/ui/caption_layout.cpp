#include "shell/ui/caption_layout.h"

#include "shell/core/text_lines.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTextLayout>

#include <climits>

namespace tess {

CaptionLayout::CaptionLayout(const QFont &font, int width, Qt::Alignment alignment)
    : font_(font), width_(width), alignment_(alignment)
{
}

// Lays the caption out line by line, handing each laid-out paragraph to
// `perParagraph`, and stops once `limit` pixels are filled: a label never lays
// out what it would cut off anyway.
template <typename PerParagraph>
int CaptionLayout::layOut(const QString &caption, int limit, PerParagraph perParagraph) const
{
    const int lineHeight = QFontMetrics(font_).lineSpacing();
    QTextOption option(alignment_);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    const QString shown = normalizeLineBreaks(caption);
    int y = 0;
    for (qsizetype start = 0; start <= shown.size() && y < limit;) {
        qsizetype end = shown.indexOf(u'\n', start);
        if (end < 0)
            end = shown.size();
        QTextLayout layout(shown.mid(start, end - start), font_);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid() && y < limit; line = layout.createLine()) {
            line.setLineWidth(width_);
            line.setPosition(QPointF(0, y));
            y += lineHeight;
        }
        layout.endLayout();
        perParagraph(layout);
        start = end + 1;
    }
    return y;
}

int CaptionLayout::heightOf(const QString &caption) const
{
    return layOut(caption, INT_MAX, [](const QTextLayout &) {});
}

void CaptionLayout::paint(QPainter &painter, const QRect &rect, const QString &caption) const
{
    painter.save();
    painter.setClipRect(rect);
    layOut(caption, rect.height(), [&](const QTextLayout &layout) { layout.draw(&painter, rect.topLeft()); });
    painter.restore();
}

} // namespace tess
