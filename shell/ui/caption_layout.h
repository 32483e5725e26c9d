#pragma once
#include <QFont>
#include <QString>

class QPainter;
class QRect;

namespace tess {

// How a label lays out its caption: each CR LF, lone CR or lone LF breaks the
// line, long lines wrap at the label's width (between words, or inside a word
// too long for a line), and what passes the bottom edge is cut off.
class CaptionLayout {
public:
    CaptionLayout(const QFont &font, int width, Qt::Alignment alignment);

    // Height in pixels the caption needs, however tall the label is.
    int heightOf(const QString &caption) const;
    void paint(QPainter &painter, const QRect &rect, const QString &caption) const;

private:
    template <typename PerParagraph>
    int layOut(const QString &caption, int limit, PerParagraph perParagraph) const;

    QFont font_;
    int width_;
    Qt::Alignment alignment_;
};

} // namespace tess
