// Resident memory and idle CPU of the real game as a player starts it (its
// own game folder, Qt's X11 platform, a sound server with a null sink, a
// session bus), watched from outside through /proc on each of its seven
// screens, with the screen's music playing and without music (no sound
// files). Beside it, the same figures for a bare Qt window in the same run,
// and the sound server's CPU, since the player pays for both.
#include "game_folder.h"
#include "proc_usage.h"
#include "servers.h"
#include "stats.h"

#include "paint_watch.h"

#include "shell/layout/shell_layouts.h"
#include "story/core/story_layout.h"

#include <sys/wait.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace layout = tess::layout;

// Window widths that tell the screens apart.
constexpr int kSplashWidth = layout::kSplash.pixelWidth();  // the menu is as wide
constexpr int kAboutWidth = layout::kAbout.pixelWidth();    // the game-over screen and the console too
constexpr int kIntroWidth = layout::kIntro.pixelWidth();
constexpr int kStoryWidth = story::kStoryLayout.pixelWidth();
constexpr int kFloorWidth = 800;  // bench/floor_window.cpp
constexpr double kWaitMs = 20000;
// The splash gives way after 6.26 s: settling and sampling fit before that.
constexpr int kSettleMs = 1000;
constexpr int kSampleMs = 4500;
constexpr double kTargetMiB = 50;

[[noreturn]] void fail(const std::string &what)
{
    std::fprintf(stderr, "bench_memory: %s\n", what.c_str());
    std::exit(1);
}

void sleepMs(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void runAndWait(std::vector<const char *> argv)
{
    argv.push_back(nullptr);
    const pid_t pid = bench::spawnQuietly(argv[0], argv.data());
    waitpid(pid, nullptr, 0);
}

struct Figures {
    std::string screen;
    double residentMiB = 0;
    double cpuPercent = 0;
    double soundPercent = 0;
    std::vector<std::pair<std::string, double>> parts;
};

// Lets the process settle, then takes its CPU and the sound server's over a
// window of wall time, and its memory at the end.
Figures measure(const char *screen, pid_t pid, pid_t sound)
{
    sleepMs(kSettleMs);
    const double wall = bench::monotonicMs();
    const double cpu = bench::cpuNs(pid);
    const double soundCpu = sound > 0 ? bench::cpuNs(sound) : 0;
    sleepMs(kSampleMs);
    const double ns = (bench::monotonicMs() - wall) * 1e6;
    Figures f;
    f.screen = screen;
    f.cpuPercent = 100.0 * (bench::cpuNs(pid) - cpu) / ns;
    f.soundPercent = sound > 0 ? 100.0 * (bench::cpuNs(sound) - soundCpu) / ns : 0;
    f.residentMiB = bench::residentMiB(pid);
    f.parts = bench::residentBreakdown(pid);
    return f;
}

class Run {
public:
    Run(paint_watch::Screen &screen, const bench::GameFolder &folder, pid_t sound, xcb_window_t floor)
        : screen_(screen), sound_(sound), floor_(floor)
    {
        const std::string binary = folder.path() + "/tessaranium";
        const char *const arguments[] = {binary.c_str(), nullptr};
        pid_ = bench::spawnQuietly(binary, arguments, folder.path());
    }
    ~Run() { bench::stopProcess(pid_, SIGKILL); }
    Run(const Run &) = delete;
    Run &operator=(const Run &) = delete;

    xcb_window_t await(int width, const char *screen, std::vector<xcb_window_t> known = {})
    {
        known.push_back(floor_);
        const xcb_window_t window = screen_.waitForWindowOfWidth(width, known, kWaitMs);
        if (!window)
            fail(std::string("the ") + screen + " did not come up");
        return window;
    }
    // Waits until the window is no longer shown.
    void awaitGone(xcb_window_t window, const char *screen)
    {
        const double start = bench::monotonicMs();
        while (!screen_.pixels(window).empty()) {
            if (bench::monotonicMs() - start > kWaitMs)
                fail(std::string("the ") + screen + " did not go");
            sleepMs(20);
        }
    }
    void click(xcb_window_t window, tess::layout::PixelPoint at)
    {
        screen_.movePointer(window, at.x, at.y);
        sleepMs(100);
        screen_.clickLeft();
    }
    void take(const char *screen) { figures.push_back(measure(screen, pid_, sound_)); }

    // Splash, menu and intro, measuring them when `all`; then the story.
    xcb_window_t toStory(bool all)
    {
        const xcb_window_t splash = await(kSplashWidth, "splash");
        if (all)
            take("Main");
        xcb_window_t menu = await(kSplashWidth, "menu", {splash});
        if (all) {
            take("Game");
            click(menu, layout::kMenu.middle("Label2"));
            const xcb_window_t about = await(kAboutWidth, "about screen");
            awaitGone(menu, "menu");
            take("About");
            click(about, layout::kAbout.middle("Label2"));
            awaitGone(about, "about screen");
            menu = await(kSplashWidth, "menu again", {splash, about});
        }
        click(menu, layout::kMenu.middle("Label3"));
        const xcb_window_t intro = await(kIntroWidth, "intro");
        awaitGone(menu, "menu");
        if (all)
            take("IntoEngine");
        click(intro, layout::kIntro.middle("Label2"));
        const xcb_window_t story = await(kStoryWidth, "story");
        // Keys go to the focused window; with no window manager the story
        // window takes the focus itself.
        const std::string id = std::to_string(story);
        runAndWait({"xdotool", "windowfocus", "--sync", id.c_str()});
        if (all)
            take("Engine");
        return story;
    }
    void toGameOver(xcb_window_t story)
    {
        runAndWait({"xdotool", "key", "F8"});
        sleepMs(300);
        click(story, story::kStoryLayout.middle("Label2"));
        await(kAboutWidth, "game-over screen");
        take("GameOver");
    }
    // The keypad separator has no key on Xvfb's keyboard: xdotool lends it a
    // spare one, and now and then the game reads the key before the loan.
    void toConsole()
    {
        for (int attempt = 0; attempt < 3; ++attempt) {
            runAndWait({"xdotool", "key", "KP_Separator"});
            if (screen_.waitForWindowOfWidth(kAboutWidth, {floor_}, 3000)) {
                take("BLNC");
                return;
            }
        }
        fail("the console did not come up");
    }

    std::vector<Figures> figures;

private:
    paint_watch::Screen &screen_;
    pid_t sound_;
    xcb_window_t floor_;
    pid_t pid_ = -1;
};

void printBreakdown(const std::vector<Figures> &all, bool music)
{
    std::printf("\nResident MiB by what the pages hold (music %s; /proc/PID/smaps):\n%-52s", music ? "on" : "off", "");
    for (const Figures &f : all)
        std::printf(" %10s", f.screen.c_str());
    std::printf("\n");
    for (std::size_t part = 0; part < all.front().parts.size(); ++part) {
        std::printf("%-52s", all.front().parts[part].first.c_str());
        for (const Figures &f : all)
            std::printf(" %10.1f", f.parts[part].second);
        std::printf("\n");
    }
}

} // namespace

// Usage: bench_memory [on|off]   (default: with music, then without)
int main(int argc, char *argv[])
{
    const std::string only = argc > 1 ? argv[1] : "";
    const bench::DesktopSession desktop;
    paint_watch::Screen screen(desktop.display.name().c_str());
    if (!screen.ok())
        fail("the X server has no XTest extension");
    const pid_t sound = desktop.sound.pid();

    const bench::GameFolder withMusic(true);
    const char *const floorArguments[] = {BENCH_FLOOR_BINARY, nullptr};
    const pid_t floorPid = bench::spawnQuietly(BENCH_FLOOR_BINARY, floorArguments, withMusic.path());
    const xcb_window_t floor = screen.waitForWindowOfWidth(kFloorWidth, {}, kWaitMs);
    if (!floor)
        fail("the floor's window did not come up");
    const Figures bare = measure("floor", floorPid, sound);

    std::printf("The real game watched from outside (Xvfb %s, QT_QPA_PLATFORM=xcb, PulseAudio null sink,\n"
                "session bus); settled %d ms, then CPU over %d ms and VmRSS at its end.\n",
                desktop.display.name().c_str(), kSettleMs, kSampleMs);
    bench::printLoad();
    std::printf("%-12s %-5s %9s %11s %9s %12s  %s\n", "screen", "music", "RSS MiB", "RSS/floor", "CPU %",
                "sound srv %", "target <= 50 MiB");
    std::printf("%-12s %-5s %9.1f %11.2f %9.3f %12.3f\n", "floor", "-", bare.residentMiB, 1.0, bare.cpuPercent,
                bare.soundPercent);
    std::vector<Figures> breakdown;  // of the first setting run
    bool breakdownMusic = true;
    for (const bool music : {true, false}) {
        if (!only.empty() && only != (music ? "on" : "off"))
            continue;
        const bench::GameFolder silent(false);
        const bench::GameFolder &folder = music ? withMusic : silent;
        std::vector<Figures> figures;
        {
            Run run(screen, folder, sound, floor);
            run.toGameOver(run.toStory(true));
            figures = run.figures;
        }
        {
            Run run(screen, folder, sound, floor);
            run.toStory(false);
            run.toConsole();
            figures.push_back(run.figures.back());
        }
        for (const Figures &f : figures) {
            const char *target = !music ? "" : f.residentMiB <= kTargetMiB ? "met" : "MISSED";
            std::printf("%-12s %-5s %9.1f %11.2f %9.3f %12.3f  %s\n", f.screen.c_str(), music ? "on" : "off",
                        f.residentMiB, f.residentMiB / bare.residentMiB, f.cpuPercent, f.soundPercent, target);
        }
        std::fflush(stdout);
        if (breakdown.empty()) {
            breakdown = figures;
            breakdownMusic = music;
        }
    }
    if (!breakdown.empty()) {
        breakdown.push_back(bare);
        printBreakdown(breakdown, breakdownMusic);
    }
    bench::stopProcess(floorPid, SIGKILL);
    return 0;
}
