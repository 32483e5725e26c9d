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

// One word of a tic: a "-" before or after its letters lets it go on there;
// otherwise it must start or end where the word does. "…" stands for any one
// word, with whatever follows it ("…," is a word and its comma).
QString wordPattern(QString word)
{
    static const QString wordGoesOn = QStringLiteral("[\\p{L}\\p{N}]*");
    if (word.startsWith(u'…'))
        return QStringLiteral("(?<![\\p{L}\\p{N}])[\\p{L}\\p{N}]+(?:-[\\p{L}\\p{N}]+)*") +
               QRegularExpression::escape(word.sliced(1));
    const bool openStart = word.size() > 1 && word.startsWith(u'-') && word[1].isLetterOrNumber();
    if (openStart)
        word.remove(0, 1);
    const bool openEnd = word.size() > 1 && word.endsWith(u'-') && word[word.size() - 2].isLetterOrNumber();
    if (openEnd)
        word.chop(1);
    QString pattern = QRegularExpression::escape(word);
    if (openStart)
        pattern.prepend(wordGoesOn);
    else if (word.front().isLetterOrNumber())
        pattern.prepend(QStringLiteral("(?<![\\p{L}\\p{N}])"));
    if (openEnd)
        pattern.append(wordGoesOn);
    else if (word.back().isLetterOrNumber())
        pattern.append(QStringLiteral("(?![\\p{L}\\p{N}])"));
    return pattern;
}

QRegularExpression ticPattern(const Tic &tic)
{
    QStringList alternatives;
    for (const QString &alternative : tic.alternatives) {
        QStringList words = alternative.split(u' ', Qt::SkipEmptyParts);
        for (QString &word : words)
            word = wordPattern(word);
        alternatives << words.join(QStringLiteral("\\s+"));
    }
    QString pattern = QStringLiteral("(?:") + alternatives.join(u'|') + u')';
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

bool restatesChoice(const QString &opening, const QString &caption)
{
    constexpr qsizetype kStem = 4;
    static const QRegularExpression heroActs(QStringLiteral("^ты\\s+\\p{L}+шь(ся)?(?![\\p{L}])"),
                                             QRegularExpression::UseUnicodePropertiesOption);
    const QString first = withoutOpening(opening).toLower();
    if (heroActs.match(first).hasMatch())
        return true;
    const QStringList said = wordsOf(caption.toLower());
    for (const QString &word : wordsOf(first)) {
        if (word.size() < kStem || said.contains(word))
            continue;
        for (const QString &clicked : said) {
            if (clicked.size() >= kStem && clicked.first(kStem) == word.first(kStem))
                return true;
        }
    }
    return false;
}

int ticCount(const Tic &tic, const QStringList &sentences)
{
    if (tic.alternatives.isEmpty() || sentences.isEmpty())
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
