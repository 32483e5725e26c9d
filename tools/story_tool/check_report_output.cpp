#include "tools/story_tool/check_report_output.h"

#include "story/core/choice_tables.h"
#include "tools/story_tool/story_check.h"

#include <QJsonArray>

namespace storytool {
namespace {

QString howStatesAreCounted()
{
    return QStringLiteral(
               "A state is the three choices, the code box, the flags and the page on the pane. Play is clicking: "
               "on each visible choice, after typing each password and one wrong word when the code box is shown. "
               "F8 (page %1 with «%2») and the console key are tried in every state as well, but a page or rule "
               "counts as reached only through play, and a state is stuck when no click leads on, whatever the keys "
               "do. A fact holds when every route of play, from every start, shows one of the pages establishing it "
               "before any page that uses it.")
        .arg(story::kFinalPage)
        .arg(story::kFinalCaption);
}

QString pagesText(const QList<int> &pages)
{
    QStringList numbers;
    for (int page : pages)
        numbers << QString::number(page);
    return numbers.join(QStringLiteral(", "));
}

QJsonArray pagesJson(const QList<int> &pages)
{
    QJsonArray array;
    for (int page : pages)
        array.append(page);
    return array;
}

} // namespace

QString checkReportText(const CheckReport &report)
{
    QString text = QStringLiteral("Story check of %1: %2 pages, %3 rules, %4 facts.\n%5\n\n")
                       .arg(report.root)
                       .arg(report.pages)
                       .arg(report.rules)
                       .arg(report.facts)
                       .arg(howStatesAreCounted());
    for (const StartSummary &start : report.starts) {
        text += QStringLiteral("Start with %1: %2 states by play (+%3 only through the keys), %4 moves, %5 endings; %6.\n")
                    .arg(start.start.description)
                    .arg(start.playStates)
                    .arg(start.keyOnlyStates)
                    .arg(start.moves)
                    .arg(start.endings.size())
                    .arg(start.unreachedPages.isEmpty() ? QStringLiteral("every page shown")
                                                        : QStringLiteral("pages never shown: ") + pagesText(start.unreachedPages));
        for (const Ending &ending : start.endings)
            text += QStringLiteral("  ending: %1\n").arg(endingText(ending));
    }
    if (!report.unusedFacts.isEmpty())
        text += QStringLiteral("Facts no page uses: %1.\n").arg(report.unusedFacts.join(QStringLiteral(", ")));
    if (report.clean())
        return text + QStringLiteral("\nNo findings.\n");
    text += QStringLiteral("\n%1 findings:\n").arg(report.findings.size());
    for (const Finding &finding : report.findings) {
        text += QStringLiteral("  %1: %2\n").arg(kindName(finding.kind), finding.text);
        for (const QString &line : finding.script.split(u'\n', Qt::SkipEmptyParts))
            text += QStringLiteral("    %1\n").arg(line);
    }
    return text;
}

QJsonObject checkReportJson(const CheckReport &report)
{
    QJsonArray starts;
    for (const StartSummary &start : report.starts) {
        QJsonArray endings;
        for (const Ending &ending : start.endings)
            endings.append(endingText(ending));
        starts.append(QJsonObject{
            {QStringLiteral("flags"), start.start.name},
            {QStringLiteral("description"), start.start.description},
            {QStringLiteral("playStates"), start.playStates},
            {QStringLiteral("keyOnlyStates"), start.keyOnlyStates},
            {QStringLiteral("moves"), start.moves},
            {QStringLiteral("endings"), endings},
            {QStringLiteral("unreachedPages"), pagesJson(start.unreachedPages)},
        });
    }
    QJsonArray findings;
    for (const Finding &finding : report.findings) {
        QJsonObject object{{QStringLiteral("kind"), kindName(finding.kind)}, {QStringLiteral("text"), finding.text}};
        if (!finding.script.isEmpty())
            object.insert(QStringLiteral("script"), finding.script);
        findings.append(object);
    }
    return QJsonObject{
        {QStringLiteral("root"), report.root},
        {QStringLiteral("pages"), report.pages},
        {QStringLiteral("rules"), report.rules},
        {QStringLiteral("facts"), report.facts},
        {QStringLiteral("unusedFacts"), QJsonArray::fromStringList(report.unusedFacts)},
        {QStringLiteral("howStatesAreCounted"), howStatesAreCounted()},
        {QStringLiteral("starts"), starts},
        {QStringLiteral("findings"), findings},
        {QStringLiteral("clean"), report.clean()},
    };
}

} // namespace storytool
