#include "tools/story_tool/story_notes.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

namespace storytool {
namespace {

// The words of a line, split at whitespace.
QStringList words(const QString &line)
{
    static const QRegularExpression space(QStringLiteral("\\s+"));
    return line.split(space, Qt::SkipEmptyParts);
}

// Numbers separated by spaces or commas, or "-" for none.
std::optional<QList<int>> pageList(const QStringList &tokens)
{
    QList<int> pages;
    if (tokens == QStringList{QStringLiteral("-")})
        return pages;
    for (const QString &token : tokens) {
        for (const QString &part : token.split(u',', Qt::SkipEmptyParts)) {
            bool isNumber = false;
            const int page = part.toInt(&isNumber);
            if (!isNumber || page <= 0)
                return std::nullopt;
            pages << page;
        }
    }
    return pages;
}

bool isPageToken(const QString &token)
{
    static const QRegularExpression pages(QStringLiteral("^(-|[0-9,]+)$"));
    return pages.match(token).hasMatch();
}

std::variant<Fact, QString> parseFact(const QStringList &tokens, int line)
{
    if (tokens.size() < 2)
        return QStringLiteral("a fact needs a name, its pages and an arrow: fact NAME 6 -> 9 57 what it is");
    Fact fact;
    fact.name = tokens[1];
    fact.line = line;
    const qsizetype arrow = tokens.indexOf(QStringLiteral("->"), 2);
    if (arrow < 0)
        return QStringLiteral("fact %1 has no \"->\" between the pages that establish it and those that use it")
            .arg(fact.name);
    qsizetype rest = arrow + 1;
    while (rest < tokens.size() && isPageToken(tokens[rest]))
        ++rest;
    const QStringList establishingPages = tokens.mid(2, arrow - 2);
    const QStringList usingPages = tokens.mid(arrow + 1, rest - arrow - 1);
    if (establishingPages.isEmpty() || usingPages.isEmpty())
        return QStringLiteral("fact %1 needs pages on both sides of \"->\" (\"-\" for none)").arg(fact.name);
    const std::optional<QList<int>> established = pageList(establishingPages);
    const std::optional<QList<int>> used = pageList(usingPages);
    if (!established || !used)
        return QStringLiteral("fact %1: pages are numbers, or \"-\" for none").arg(fact.name);
    fact.establishedBy = *established;
    fact.usedBy = *used;
    fact.about = tokens.mid(rest).join(u' ');
    return fact;
}

Tic parseTic(QString phrase)
{
    Tic tic;
    tic.text = phrase;
    if (phrase.startsWith(u'^')) {
        tic.where = Tic::Where::OpeningASentence;
        phrase.remove(0, 1);
    } else if (phrase.startsWith(u'$')) {
        tic.where = Tic::Where::InAClosingSentence;
        phrase.remove(0, 1);
    }
    for (const QString &alternative : phrase.split(u'|', Qt::SkipEmptyParts)) {
        if (!alternative.trimmed().isEmpty())
            tic.alternatives << alternative.trimmed();
    }
    return tic;
}

} // namespace

QString storyNotesPath(const QString &root)
{
    return QDir(root).filePath(QStringLiteral("text/story_notes.txt"));
}

std::variant<StoryNotes, NotesProblem> parseStoryNotes(const QString &text)
{
    StoryNotes notes;
    const QStringList lines = text.split(u'\n');
    for (qsizetype index = 0; index < lines.size(); ++index) {
        const int line = int(index + 1);
        QString content = lines[index];
        if (const qsizetype hash = content.indexOf(u'#'); hash >= 0)
            content.truncate(hash);
        const QStringList tokens = words(content);
        if (tokens.isEmpty())
            continue;
        if (tokens[0] == u"fact") {
            auto fact = parseFact(tokens, line);
            if (const QString *problem = std::get_if<QString>(&fact))
                return NotesProblem{line, *problem};
            for (const Fact &known : notes.facts) {
                if (known.name == std::get<Fact>(fact).name)
                    return NotesProblem{line, QStringLiteral("fact %1 is already noted on line %2")
                                                  .arg(known.name)
                                                  .arg(known.line)};
            }
            notes.facts.push_back(std::get<Fact>(std::move(fact)));
        } else if (tokens[0] == u"tic" && tokens.size() > 1) {
            notes.tics.push_back(parseTic(tokens.mid(1).join(u' ')));
        } else {
            return NotesProblem{line, QStringLiteral("a line is a fact or a tic: cannot read «%1»")
                                          .arg(content.trimmed())};
        }
    }
    return notes;
}

std::optional<std::variant<StoryNotes, NotesProblem>> readStoryNotes(const QString &root)
{
    QFile file(storyNotesPath(root));
    if (!file.exists())
        return std::nullopt;
    if (!file.open(QIODevice::ReadOnly))
        return NotesProblem{0, QStringLiteral("cannot read %1: %2").arg(file.fileName(), file.errorString())};
    return parseStoryNotes(QString::fromUtf8(file.readAll()).remove(u'\r'));
}

} // namespace storytool
