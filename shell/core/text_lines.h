#pragma once
#include <QStringList>

namespace tess {

// Splits text into lines the way the game reads its text files: a line ends at
// CR LF or at a lone CR; a lone LF stays inside its line. The last line may lack
// its end; an empty text has no lines.
QStringList splitTextLines(QStringView text);

// The same lines one after another, each a view into the text: a file of
// many short lines is read without a string per line.
class TextLineReader {
public:
    explicit TextLineReader(QStringView text) : text_(text) {}
    // Sets `line` to the next line, without its end; false after the last.
    bool next(QStringView &line);

private:
    QStringView text_;
    qsizetype start_ = 0;
};

// A label or pane shows a CR LF pair, a lone CR and a lone LF each as one break.
QString normalizeLineBreaks(QStringView text);

} // namespace tess
