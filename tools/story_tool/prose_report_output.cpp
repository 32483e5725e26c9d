#include "tools/story_tool/prose_report.h"

#include <QJsonArray>

namespace storytool {
namespace {

QString pageLine(const PageProse &page)
{
    return QStringLiteral("  gt%1: %2 words; ways in: %3; choice sets: %4\n")
        .arg(page.page)
        .arg(page.words)
        .arg(page.waysIn)
        .arg(page.choiceSets);
}

QString numbers(const QList<int> &values)
{
    QStringList texts;
    for (int value : values)
        texts << QString::number(value);
    return texts.join(QStringLiteral(", "));
}

} // namespace

QString proseReportText(const ProseReport &report)
{
    QString text = QStringLiteral("Words of the story in %1: %2 words on %3 pages.\n\nWords per page:\n")
                       .arg(report.root)
                       .arg(report.words)
                       .arg(report.pages.size());
    for (const PageProse &page : report.pages)
        text += pageLine(page);
    text += QStringLiteral("\nHub pages, shown under more than one set of choices:\n");
    for (const PageProse &page : report.pages) {
        if (page.isHub())
            text += pageLine(page);
    }
    text += QStringLiteral("\nShort closing sentences (%1 words or fewer): %2 of %3 pages\n")
                .arg(ProseReport::kShortClosing)
                .arg(report.shortClosings())
                .arg(report.pages.size());
    for (const PageProse &page : report.pages) {
        if (page.closingWords <= ProseReport::kShortClosing)
            text += QStringLiteral("  gt%1: %2\n").arg(page.page).arg(page.closing);
    }
    text += QStringLiteral("\nOpenings that restate the choice clicked: %1 of %2 pages\n")
                .arg(report.echoingOpenings())
                .arg(report.pages.size());
    for (const PageProse &page : report.pages) {
        if (!page.echoedChoices.isEmpty())
            text += QStringLiteral("  gt%1: «%2» → %3\n")
                        .arg(page.page)
                        .arg(page.echoedChoices.join(QStringLiteral("», «")), page.opening);
    }
    text += QStringLiteral("\nPhrases of 3 words or more on 3 texts or more: %1\n").arg(report.phrases.size());
    for (const RepeatedPhrase &phrase : report.phrases)
        text += QStringLiteral("  «%1»: %2\n").arg(phrase.phrase, phrase.texts.join(QStringLiteral(", ")));
    if (report.notesProblem)
        return text + QStringLiteral("\nThe tics are not counted: text/story_notes.txt:%1: %2\n")
                          .arg(report.notesProblem->line)
                          .arg(report.notesProblem->message);
    text += QStringLiteral("\nTics named in the notes:\n");
    for (const TicCount &tic : report.tics)
        text += QStringLiteral("  %1: %2 times on %3 pages%4\n")
                    .arg(tic.tic)
                    .arg(tic.count)
                    .arg(tic.pages.size())
                    .arg(tic.pages.isEmpty() ? QString() : QStringLiteral(" (") + numbers(tic.pages) + u')');
    return text;
}

QJsonObject proseReportJson(const ProseReport &report)
{
    QJsonArray pages;
    for (const PageProse &page : report.pages)
        pages.append(QJsonObject{{QStringLiteral("page"), page.page},
                                 {QStringLiteral("words"), page.words},
                                 {QStringLiteral("waysIn"), page.waysIn},
                                 {QStringLiteral("choiceSets"), page.choiceSets},
                                 {QStringLiteral("hub"), page.isHub()},
                                 {QStringLiteral("closing"), page.closing},
                                 {QStringLiteral("closingWords"), page.closingWords},
                                 {QStringLiteral("opening"), page.opening},
                                 {QStringLiteral("echoedChoices"), QJsonArray::fromStringList(page.echoedChoices)}});
    QJsonArray phrases;
    for (const RepeatedPhrase &phrase : report.phrases)
        phrases.append(QJsonObject{{QStringLiteral("phrase"), phrase.phrase},
                                   {QStringLiteral("texts"), QJsonArray::fromStringList(phrase.texts)}});
    QJsonArray tics;
    for (const TicCount &tic : report.tics) {
        QJsonArray on;
        for (int page : tic.pages)
            on.append(page);
        tics.append(QJsonObject{{QStringLiteral("tic"), tic.tic}, {QStringLiteral("count"), tic.count},
                                {QStringLiteral("pages"), on}});
    }
    QJsonObject object{{QStringLiteral("root"), report.root},
                       {QStringLiteral("words"), report.words},
                       {QStringLiteral("shortClosings"), report.shortClosings()},
                       {QStringLiteral("echoingOpenings"), report.echoingOpenings()},
                       {QStringLiteral("pages"), pages},
                       {QStringLiteral("phrases"), phrases},
                       {QStringLiteral("tics"), tics}};
    if (report.notesProblem)
        object.insert(QStringLiteral("notesProblem"), report.notesProblem->message);
    return object;
}

} // namespace storytool
