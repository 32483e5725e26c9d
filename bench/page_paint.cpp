// A page turn as the player sees it: the real game under Xvfb, clicked
// through XTest like a mouse, timed from the click to the last pixel of the
// window that changed. Every page is reached by the routes the choice tables
// give; beside it, the same figure for a bare Qt label that changes its text.
#include "game_folder.h"
#include "servers.h"
#include "stats.h"
#include "story_walk.h"

#include "shell/layout/shell_layouts.h"
#include "story/core/choice_tables.h"
#include "story/core/story_layout.h"

#include "paint_watch.h"
#include "story/core/choice_tables.h"

#include <QString>

#include <sys/wait.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

namespace layout = tess::layout;

// Window widths that tell the screens apart, and where to click on them.
constexpr int kSplashWidth = layout::kSplash.pixelWidth();  // the menu is as wide
constexpr int kIntroWidth = layout::kIntro.pixelWidth();
constexpr int kStoryWidth = story::kStoryLayout.pixelWidth();
constexpr int kFloorWidth = layout::pixels(story::kStoryLayout.at("Label1").width);
constexpr double kQuietMs = 150;
constexpr double kTimeoutMs = 10000;

// Label2 is clicked left of the code box, which lies over its middle.
layout::PixelPoint slotPoint(story::Slot slot)
{
    switch (slot) {
    case story::Slot::Label2: {
        constexpr layout::PixelPoint middle = story::kStoryLayout.middle("Label2");
        constexpr int left = layout::pixels(story::kStoryLayout.at("Label2").left);
        constexpr int codeBox = layout::pixels(story::kStoryLayout.at("Text1").left);
        return {(left + codeBox) / 2, middle.y};
    }
    case story::Slot::Label3:
        return story::kStoryLayout.middle("Label3");
    case story::Slot::Label4:
        break;
    }
    return story::kStoryLayout.middle("Label4");
}

[[noreturn]] void fail(const std::string &what)
{
    std::fprintf(stderr, "bench_page_paint: %s\n", what.c_str());
    std::exit(1);
}

void runAndWait(const std::vector<const char *> &arguments)
{
    std::vector<const char *> argv = arguments;
    argv.push_back(nullptr);
    const pid_t pid = bench::spawnQuietly(argv[0], argv.data());
    waitpid(pid, nullptr, 0);
}

// Types the password into the code box as the player would.
void typeInto(paint_watch::Screen &screen, xcb_window_t story, const QString &password)
{
    constexpr layout::PixelPoint codeBox = story::kStoryLayout.middle("Text1");
    screen.clickAndWatch(story, codeBox.x, codeBox.y, kQuietMs, kTimeoutMs);
    runAndWait({"xdotool", "key", "ctrl+a", "BackSpace"});
    const std::string text = password.toStdString();
    runAndWait({"xdotool", "type", text.c_str()});
}

// Starts the game in a new game folder state and brings it to the story.
xcb_window_t openStory(paint_watch::Screen &screen, const bench::GameFolder &game, pid_t &pid)
{
    game.resetFlags();
    const std::string binary = game.path() + "/tessaranium";
    const char *const arguments[] = {binary.c_str(), nullptr};
    pid = bench::spawnQuietly(binary, arguments, game.path());
    const xcb_window_t splash = screen.waitForWindowOfWidth(kSplashWidth, {}, 20000);
    const xcb_window_t menu = screen.waitForWindowOfWidth(kSplashWidth, {splash}, 20000);
    if (!menu)
        fail("the menu did not come up");
    constexpr layout::PixelPoint start = layout::kMenu.middle("Label3");
    screen.clickAndWatch(menu, start.x, start.y, kQuietMs, kTimeoutMs);
    const xcb_window_t intro = screen.waitForWindowOfWidth(kIntroWidth, {}, 20000);
    if (!intro)
        fail("the intro did not come up");
    constexpr layout::PixelPoint begin = layout::kIntro.middle("Label2");
    screen.clickAndWatch(intro, begin.x, begin.y, kQuietMs, kTimeoutMs);
    const xcb_window_t story = screen.waitForWindowOfWidth(kStoryWidth, {}, 20000);
    if (!story)
        fail("the story did not come up");
    screen.watchUntilQuiet(story, kQuietMs, kTimeoutMs);
    return story;
}

} // namespace

// Usage: bench_page_paint [ROUNDS]   (default 1 walk over every page)
int main(int argc, char *argv[])
{
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 1;
    const bench::DesktopSession desktop;
    const bench::VirtualDisplay &display = desktop.display;
    const bench::GameFolder game;
    paint_watch::Screen screen(display.name().c_str());
    if (!screen.ok())
        fail("the X server has no XTest extension");

    const char *const floorArguments[] = {BENCH_FLOOR_BINARY, "label", nullptr};
    const pid_t floorPid = bench::spawnQuietly(BENCH_FLOOR_BINARY, floorArguments, game.path());
    const xcb_window_t floor = screen.waitForWindowOfWidth(kFloorWidth, {}, 20000);
    if (!floor)
        fail("the floor's label window did not come up");

    const std::vector<bench::StoryRoute> walk = bench::walkOverEveryPage(bench::routesToEveryPage(QString::fromStdString(game.path())));
    std::vector<double> lastMs, firstMs, floorMs, flagMs, noFlagMs;
    std::vector<std::pair<double, std::string>> slowest;  // every click, to name the slowest
    std::set<int> pages{1};
    int unchanged = 0;
    for (int round = 0; round < rounds; ++round) {
        for (const bench::StoryRoute &route : walk) {
            pid_t pid = -1;
            const xcb_window_t story = openStory(screen, game, pid);
            for (const bench::StoryMove &move : route) {
                if (!move.password.isEmpty())
                    typeInto(screen, story, move.password);
                const layout::PixelPoint at = slotPoint(move.slot);
                const paint_watch::Watch watch = screen.clickAndWatch(story, at.x, at.y, kQuietMs, kTimeoutMs);
                // The bare label, clicked in turn, shares the machine's load.
                const paint_watch::Watch bare = screen.clickAndWatch(floor, 100, 100, kQuietMs, kTimeoutMs);
                if (bare.changed)
                    floorMs.push_back(bare.lastMs);
                if (!watch.changed) {
                    ++unchanged;
                    continue;
                }
                lastMs.push_back(watch.lastMs);
                firstMs.push_back(watch.firstMs);
                (move.writesFlag ? flagMs : noFlagMs).push_back(watch.lastMs);
                slowest.emplace_back(watch.lastMs, "gt" + std::to_string(move.page) + (move.writesFlag ? "+flag" : ""));
                pages.insert(move.page);
            }
            bench::stopProcess(pid, SIGKILL);
        }
    }
    bench::stopProcess(floorPid, SIGKILL);

    std::printf("Page turns seen from the X server (Xvfb %s, QT_QPA_PLATFORM=xcb, XTest clicks, the window's\n"
                "pixels read back until %.0f ms without change): %zu routes, %d rounds, %zu clicks, %zu of %d pages,\n"
                "%d clicks that changed nothing\n",
                display.name().c_str(), kQuietMs, walk.size(), rounds, lastMs.size(), pages.size(),
                story::pageCount(story::gameTables()), unchanged);
    bench::printHeader("event", "ms");
    const bench::Summary turn = bench::summarize(lastMs);
    const bench::Summary bare = bench::summarize(floorMs);
    bench::printRow("click to the page's last pixel", turn);
    bench::printRow("click to its first pixel", bench::summarize(firstMs));
    bench::printRow("  clicks that also write a flag", bench::summarize(flagMs));
    bench::printRow("  clicks that write no flag", bench::summarize(noFlagMs));
    bench::printRow("floor: bare label, last pixel", bare);
    std::printf("game/floor: median %.2f, p99 %.2f; target: p99 <= 16 ms -> %s\n", turn.median / bare.median,
                turn.p99 / bare.p99, turn.p99 <= 16 ? "met" : "MISSED");
    std::sort(slowest.begin(), slowest.end(), std::greater<>());
    std::printf("slowest clicks:");
    for (std::size_t i = 0; i < std::min<std::size_t>(slowest.size(), 8); ++i)
        std::printf(" %s %.1f ms%s", slowest[i].second.c_str(), slowest[i].first, i + 1 < 8 ? "," : "");
    std::printf("\n\n");
    return 0;
}
