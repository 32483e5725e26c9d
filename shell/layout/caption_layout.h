#pragma once
#include <QFont>
#include <QRect>
#include <QString>

#include <memory>
#include <vector>

class QPainter;
class QRect;
class QTextLayout;

namespace tess {

// How a label lays out its caption: each CR LF, lone CR or lone LF breaks the
// line, long lines wrap at the label's width (between words, or inside a word
// too long for a line), and what passes the bottom edge is cut off.
class CaptionLayout {
public:
    CaptionLayout(const QFont &font, int width, Qt::Alignment alignment);

    bool isFor(const QFont &font, int width, Qt::Alignment alignment) const;

    // Height in pixels the caption needs, however tall the label is.
    int heightOf(const QString &caption) const;
    // Paragraphs the last paint laid out at the same place are drawn as they
    // were: a caption shown line by line, repainted after every line, is then
    // laid out once in all rather than once per line.
    void paint(QPainter &painter, const QRect &rect, const QString &caption);

    // The lines a label of this height shows of the caption, top to bottom,
    // in the caption's shown text (every break one "\n"): where each starts,
    // how many characters it holds (its break not counted) and where it
    // stands in the label. A screen reader's review reads them one by one.
    struct ShownLine {
        qsizetype start = 0;
        qsizetype length = 0;
        QRect rect;
        std::shared_ptr<const QTextLayout> layout;  // the paragraph's
        int index = 0;                               // the line within it
        qsizetype paragraphStart = 0;
        QPoint origin;                               // where the layout is drawn
    };
    std::vector<ShownLine> shownLines(const QString &caption, int height) const;
    // The box of one character of a shown line, in the label.
    static QRect characterBox(const ShownLine &line, qsizetype offset);
    // The character nearest a point of a shown line.
    static qsizetype offsetAt(const ShownLine &line, int x);
    // The index of the shown line holding the offset (a line's break belongs
    // to it), or -1.
    static int lineHolding(const std::vector<ShownLine> &lines, qsizetype offset);

private:
    struct Paragraph {
        QString text;
        int top = 0;
        int bottom = 0;
        std::shared_ptr<const QTextLayout> layout;
    };

    template <typename PerParagraph>
    int layOut(const QString &caption, int limit, PerParagraph perParagraph) const;
    Paragraph layOutParagraph(const QString &text, int top, int limit) const;

    QFont font_;
    int width_;
    Qt::Alignment alignment_;
    int lineHeight_;
    int paintedLimit_ = -1;
    std::vector<Paragraph> painted_;
};

} // namespace tess
