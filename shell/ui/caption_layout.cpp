#include "shell/ui/caption_layout.h"

#include "shell/core/text_lines.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTextLayout>

namespace tess {

CaptionLayout::CaptionLayout(const QFont &font, int width, Qt::Alignment alignment)
    : font_(font), width_(width), alignment_(alignment)
{
}

template <typename PerLine>
int CaptionLayout::layOut(const QString &caption, PerLine perLine) const
{
    const int lineHeight = QFontMetrics(font_).lineSpacing();
    QTextOption option(alignment_);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    int y = 0;
    for (const QString &paragraph : normalizeLineBreaks(caption).split(u'\n')) {
        QTextLayout layout(paragraph, font_);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width_);
            line.setPosition(QPointF(0, y));
            y += lineHeight;
        }
        layout.endLayout();
        if (!perLine(layout, y))
            break;
    }
    return y;
}

int CaptionLayout::heightOf(const QString &caption) const
{
    return layOut(caption, [](const QTextLayout &, int) { return true; });
}

void CaptionLayout::paint(QPainter &painter, const QRect &rect, const QString &caption) const
{
    painter.save();
    painter.setClipRect(rect);
    layOut(caption, [&](const QTextLayout &layout, int bottom) {
        layout.draw(&painter, rect.topLeft());
        return bottom < rect.height();
    });
    painter.restore();
}

} // namespace tess
