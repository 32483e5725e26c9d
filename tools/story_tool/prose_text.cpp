#include "tools/story_tool/prose_text.h"

#include <QRegularExpression>

namespace storytool {
namespace {

bool endsSentence(QChar c)
{
    return c == u'.' || c == u'!' || c == u'?' || c == u'…';
}

bool closesQuote(QChar c)
{
    return c == u'»' || c == u'"' || c == u'“' || c == u')';
}

// After a full stop: a new sentence starts unless the words go on in lower
// case, also past a dash ("?» — спрашиваешь ты").
bool sentenceGoesOn(const QString &text, qsizetype next)
{
    while (next < text.size() && (text[next].isSpace() || text[next] == u'—' || text[next] == u'–'))
        ++next;
    return next < text.size() && text[next].isLower();
}

QStringList sentencesOfParagraph(const QString &paragraph)
{
    QStringList sentences;
    qsizetype start = 0;
    for (qsizetype i = 0; i < paragraph.size(); ++i) {
        if (!endsSentence(paragraph[i]))
            continue;
        qsizetype end = i + 1;
        while (end < paragraph.size() && (endsSentence(paragraph[end]) || closesQuote(paragraph[end])))
            ++end;
        if (end < paragraph.size() && !paragraph[end].isSpace())
            continue;
        if (sentenceGoesOn(paragraph, end))
            continue;
        sentences << paragraph.sliced(start, end - start).trimmed();
        start = end;
        i = end - 1;
    }
    if (const QString rest = paragraph.sliced(start).trimmed(); !rest.isEmpty())
        sentences << rest;
    return sentences;
}

// The start of a sentence without the dash or quote that opens speech.
QString withoutOpening(const QString &sentence)
{
    qsizetype start = 0;
    while (start < sentence.size() && !sentence[start].isLetterOrNumber())
        ++start;
    return sentence.sliced(start);
}

QRegularExpression ticPattern(const Tic &tic)
{
    QStringList words = tic.phrase.split(u' ', Qt::SkipEmptyParts);
    for (QString &word : words)
        word = QRegularExpression::escape(word);
    QString pattern = words.join(QStringLiteral("\\s+"));
    if (!tic.openStart && tic.phrase.front().isLetterOrNumber())
        pattern.prepend(QStringLiteral("(?<![\\p{L}\\p{N}])"));
    if (!tic.openEnd && tic.phrase.back().isLetterOrNumber())
        pattern.append(QStringLiteral("(?![\\p{L}\\p{N}])"));
    if (tic.where == Tic::Where::OpeningASentence)
        pattern.prepend(u'^');
    return QRegularExpression(pattern, QRegularExpression::CaseInsensitiveOption |
                                           QRegularExpression::UseUnicodePropertiesOption);
}

} // namespace

QStringList sentencesOf(const QString &text)
{
    static const QRegularExpression blankLine(QStringLiteral("\\n\\s*\\n"));
    static const QRegularExpression space(QStringLiteral("\\s+"));
    QStringList sentences;
    QString plain = text;
    plain.remove(u'\r');
    for (QString paragraph : plain.split(blankLine, Qt::SkipEmptyParts))
        sentences << sentencesOfParagraph(paragraph.replace(space, QStringLiteral(" ")).trimmed());
    sentences.removeAll(QString());
    return sentences;
}

QStringList wordsOf(const QString &text)
{
    static const QRegularExpression word(QStringLiteral("[\\p{L}\\p{N}]+(?:['’-][\\p{L}\\p{N}]+)*"),
                                         QRegularExpression::UseUnicodePropertiesOption);
    QStringList words;
    for (auto match = word.globalMatch(text); match.hasNext();)
        words << match.next().captured();
    return words;
}

int ticCount(const Tic &tic, const QStringList &sentences)
{
    if (tic.phrase.isEmpty() || sentences.isEmpty())
        return 0;
    const QRegularExpression pattern = ticPattern(tic);
    int count = 0;
    switch (tic.where) {
    case Tic::Where::Anywhere:
        for (const QString &sentence : sentences) {
            for (auto match = pattern.globalMatch(sentence); match.hasNext(); match.next())
                ++count;
        }
        break;
    case Tic::Where::OpeningASentence:
        for (const QString &sentence : sentences)
            count += pattern.match(withoutOpening(sentence)).hasMatch() ? 1 : 0;
        break;
    case Tic::Where::InAClosingSentence:
        count = pattern.match(sentences.back()).hasMatch() ? 1 : 0;
        break;
    }
    return count;
}

} // namespace storytool
