#include "tools/story_tool/tool_options.h"

#include <optional>

namespace storytool {

const QString kToolUsage = QStringLiteral(
    "usage: story_tool COMMAND [--root DIR] [--json]\n"
    "  check          play every state of the story and check its page files; exit 1 on any finding\n"
    "  map            print the story graph in Graphviz DOT\n"
    "  walk [--out DIR]  print the shortest walkthrough to each ending, or write one DIR/NAME.walk each\n"
    "  play SCRIPT    replay a walkthrough script; exit 1 at the first line that fails\n"
    "  words          report the prose: words per page, repeated phrases, short closings, the notes' tics\n"
    "  --root DIR     the story's folder, holding text/gt*.tf (default: the current folder)\n"
    "  --json         check, walk, play and words report in JSON\n");

namespace {

std::optional<ToolOptions::Command> commandNamed(const QString &name)
{
    if (name == u"check")
        return ToolOptions::Command::Check;
    if (name == u"map")
        return ToolOptions::Command::Map;
    if (name == u"walk")
        return ToolOptions::Command::Walk;
    if (name == u"play")
        return ToolOptions::Command::Play;
    if (name == u"words")
        return ToolOptions::Command::Words;
    return std::nullopt;
}

} // namespace

std::variant<ToolOptions, QString> parseToolOptions(const QStringList &arguments)
{
    if (arguments.isEmpty())
        return QStringLiteral("no command given");
    const std::optional<ToolOptions::Command> command = commandNamed(arguments.front());
    if (!command)
        return QStringLiteral("unknown command %1").arg(arguments.front());
    ToolOptions options;
    options.command = *command;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        const bool takesValue = argument == u"--root" || argument == u"--out";
        if (takesValue && i + 1 == arguments.size())
            return QStringLiteral("%1 needs a folder").arg(argument);
        if (argument == u"--root")
            options.root = arguments[++i];
        else if (argument == u"--out" && options.command == ToolOptions::Command::Walk)
            options.outFolder = arguments[++i];
        else if (argument == u"--json" && options.command != ToolOptions::Command::Map)
            options.json = true;
        else if (!argument.startsWith(u'-') && options.command == ToolOptions::Command::Play && options.script.isEmpty())
            options.script = argument;
        else
            return QStringLiteral("%1 does not take %2").arg(arguments.front(), argument);
    }
    if (options.command == ToolOptions::Command::Play && options.script.isEmpty())
        return QStringLiteral("play needs a script");
    return options;
}

} // namespace storytool
