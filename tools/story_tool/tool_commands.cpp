#include "tools/story_tool/tool_commands.h"

#include "story/core/choice_tables.h"
#include "tools/story_tool/check_report_output.h"
#include "tools/story_tool/story_player.h"
#include "tools/story_tool/prose_report.h"
#include "tools/story_tool/script_replay.h"
#include "tools/story_tool/story_check.h"
#include "tools/story_tool/story_explorer.h"
#include "tools/story_tool/story_map_dot.h"
#include "tools/story_tool/story_pages.h"
#include "tools/story_tool/tool_options.h"
#include "tools/story_tool/walk_script_writer.h"
#include "tools/story_tool/walkthroughs.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSaveFile>

namespace storytool {
namespace {

void printJson(QTextStream &out, const QJsonObject &object)
{
    out << QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Indented));
}

int checkCommand(const ToolOptions &options, const PaneFit &fit, QTextStream &out)
{
    const CheckReport report = checkStory(story::gameTables(), options.root, fit);
    if (options.json)
        printJson(out, checkReportJson(report));
    else
        out << checkReportText(report);
    return report.clean() ? 0 : 1;
}

int mapCommand(const ToolOptions &options, QTextStream &out)
{
    StoryPlayer story(story::gameTables(), options.root);
    out << storyMapDot(exploreEveryStart(story), storyPages(story::gameTables(), options.root));
    return 0;
}

bool writeWalk(const QString &path, const QString &script, QTextStream &err)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(script.toUtf8()) >= 0 && file.commit())
        return true;
    err << QStringLiteral("cannot write %1: %2\n").arg(path, file.errorString());
    return false;
}

int walkCommand(const ToolOptions &options, QTextStream &out, QTextStream &err)
{
    StoryPlayer story(story::gameTables(), options.root);
    const std::vector<StoryGraph> graphs = exploreEveryStart(story);
    QJsonArray walks;
    for (const Walkthrough &walkthrough : shortestWalkthroughs(graphs)) {
        const QString script = walkScriptText(walkthrough);
        if (options.json) {
            walks.append(QJsonObject{{QStringLiteral("name"), walkthrough.name},
                                     {QStringLiteral("ending"), endingText(walkthrough.ending)},
                                     {QStringLiteral("moves"), int(walkthrough.edges.size())},
                                     {QStringLiteral("script"), script}});
        } else if (!options.outFolder.isEmpty()) {
            if (!writeWalk(QDir(options.outFolder).filePath(walkthrough.name + QStringLiteral(".walk")), script, err))
                return 2;
        } else {
            out << QStringLiteral("# ==== %1.walk ====\n").arg(walkthrough.name) << script << u'\n';
        }
    }
    if (options.json)
        printJson(out, QJsonObject{{QStringLiteral("walkthroughs"), walks}});
    return 0;
}

int playCommand(const ToolOptions &options, QTextStream &out, QTextStream &err)
{
    QFile file(options.script);
    if (!file.open(QIODevice::ReadOnly)) {
        err << QStringLiteral("cannot read %1: %2\n").arg(options.script, file.errorString());
        return 2;
    }
    const walk::Script script = walk::parseScript(QString::fromUtf8(file.readAll()));
    ReplayResult result;
    if (script.failure)
        result.failure = script.failure;
    else
        result = replayScript(story::gameTables(), options.root, script.lines);
    if (options.json) {
        QJsonObject report{{QStringLiteral("script"), options.script},
                           {QStringLiteral("passed"), !result.failure},
                           {QStringLiteral("actions"), result.actions},
                           {QStringLiteral("expectations"), result.expectations}};
        if (result.failure) {
            report.insert(QStringLiteral("line"), result.failure->line);
            report.insert(QStringLiteral("message"), result.failure->message);
        }
        printJson(out, report);
    } else if (result.failure) {
        const QString where = result.failure->line > 0 ? QString::number(result.failure->line) : QStringLiteral("start");
        out << QStringLiteral("%1:%2: %3\n").arg(options.script, where, result.failure->message);
    } else {
        out << QStringLiteral("%1: %2 actions played, %3 expectations met\n")
                   .arg(options.script)
                   .arg(result.actions)
                   .arg(result.expectations);
    }
    return result.failure ? 1 : 0;
}

int wordsCommand(const ToolOptions &options, QTextStream &out)
{
    const ProseReport report = proseReport(story::gameTables(), options.root);
    if (options.json)
        printJson(out, proseReportJson(report));
    else
        out << proseReportText(report);
    return report.notesProblem ? 2 : 0;
}

} // namespace

int runTool(const ToolOptions &options, const PaneFit &fit, QTextStream &out, QTextStream &err)
{
    if (!QDir(options.root).exists(QStringLiteral("text"))) {
        err << QStringLiteral("%1 holds no text folder: --root names the story's folder\n").arg(options.root);
        return 2;
    }
    switch (options.command) {
    case ToolOptions::Command::Check:
        return checkCommand(options, fit, out);
    case ToolOptions::Command::Map:
        return mapCommand(options, out);
    case ToolOptions::Command::Walk:
        return walkCommand(options, out, err);
    case ToolOptions::Command::Play:
        return playCommand(options, out, err);
    case ToolOptions::Command::Words:
        return wordsCommand(options, out);
    }
    Q_UNREACHABLE();
}

} // namespace storytool
