// story_tool: checks, maps, walks and replays the game's story for its authors.
#include "shell/layout/layout_units.h"
#include "tools/story_tool/game_pane_fit.h"
#include "tools/story_tool/tool_commands.h"
#include "tools/story_tool/tool_options.h"

#include <QGuiApplication>

int main(int argc, char *argv[])
{
    // The tool shows no window; of the window system it needs only the
    // game's fonts, to lay pages out as the story screen does.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    tess::loadBundledFonts();

    QTextStream out(stdout);
    QTextStream err(stderr);
    const auto options = storytool::parseToolOptions(QCoreApplication::arguments().mid(1));
    if (const QString *problem = std::get_if<QString>(&options)) {
        err << "story_tool: " << *problem << '\n' << storytool::kToolUsage;
        return 2;
    }
    const storytool::GamePaneFit fit;
    return storytool::runTool(std::get<storytool::ToolOptions>(options), fit, out, err);
}
