#include "shell/core/text_lines.h"

namespace tess {

bool TextLineReader::next(QStringView &line)
{
    if (start_ >= text_.size())
        return false;
    qsizetype end = text_.indexOf(u'\r', start_);
    if (end < 0)
        end = text_.size();
    line = text_.sliced(start_, end - start_);
    start_ = end + 1;
    if (start_ < text_.size() && text_[start_] == u'\n')
        ++start_;
    return true;
}

QStringList splitTextLines(QStringView text)
{
    QStringList lines;
    TextLineReader reader(text);
    for (QStringView line; reader.next(line);)
        lines.append(line.toString());
    return lines;
}

QString normalizeLineBreaks(QStringView text)
{
    QString shown;
    shown.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
        if (ch == u'\r') {
            shown.append(u'\n');
            if (i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
        } else {
            shown.append(ch);
        }
    }
    return shown;
}

} // namespace tess
