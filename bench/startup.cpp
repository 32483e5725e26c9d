// Time from starting a process to its first window being mapped on the X
// server, for the game and for a bare 800×600 Qt Widgets window. The X server
// itself tells when: a watcher selects SubstructureNotify on the root window
// and stamps the MapNotify of the first managed top-level window.
#include "game_folder.h"
#include "servers.h"
#include "stats.h"

#include <xcb/xcb.h>

#include <poll.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

using EventPtr = std::unique_ptr<xcb_generic_event_t, decltype(&std::free)>;

class MapWatcher {
public:
    explicit MapWatcher(const std::string &display)
    {
        connection_ = xcb_connect(display.c_str(), nullptr);
        if (xcb_connection_has_error(connection_)) {
            std::fprintf(stderr, "bench_startup: cannot connect to %s\n", display.c_str());
            std::exit(1);
        }
        root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(connection_, root_, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(connection_);
    }
    ~MapWatcher() { xcb_disconnect(connection_); }

    // The next event of the given type, stamped as it is read; 0 on timeout.
    // Pop-ups that bypass the window manager (override-redirect) are skipped.
    xcb_window_t waitFor(uint8_t type, double timeoutMs, double &stampMs)
    {
        const double deadline = bench::monotonicMs() + timeoutMs;
        for (;;) {
            while (EventPtr event{xcb_poll_for_event(connection_), &std::free}) {
                stampMs = bench::monotonicMs();
                if ((event->response_type & 0x7f) != type)
                    continue;
                if (type == XCB_MAP_NOTIFY) {
                    const auto *map = reinterpret_cast<xcb_map_notify_event_t *>(event.get());
                    if (!map->override_redirect)
                        return map->window;
                } else if (type == XCB_DESTROY_NOTIFY) {
                    return reinterpret_cast<xcb_destroy_notify_event_t *>(event.get())->window;
                }
            }
            const double left = deadline - bench::monotonicMs();
            if (left <= 0)
                return 0;
            pollfd fd{xcb_get_file_descriptor(connection_), POLLIN, 0};
            poll(&fd, 1, int(left) + 1);
        }
    }

    // Polls one pixel of the window until it is no longer the black of the
    // root window: the first frame the program has drawn. Returns its stamp.
    double waitForPaint(xcb_window_t window, double timeoutMs)
    {
        const double deadline = bench::monotonicMs() + timeoutMs;
        while (bench::monotonicMs() < deadline) {
            const xcb_get_image_cookie_t cookie
                = xcb_get_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, window, 4, 4, 1, 1, 0x00ffffff);
            std::unique_ptr<xcb_get_image_reply_t, decltype(&std::free)> image{
                xcb_get_image_reply(connection_, cookie, nullptr), &std::free};
            const double stamp = bench::monotonicMs();
            if (image && xcb_get_image_data_length(image.get()) >= 3) {
                const uint8_t *pixel = xcb_get_image_data(image.get());
                if (pixel[0] | pixel[1] | pixel[2])
                    return stamp;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return 0;
    }

    void drain()
    {
        while (EventPtr event{xcb_poll_for_event(connection_), &std::free}) {
        }
    }

private:
    xcb_connection_t *connection_ = nullptr;
    xcb_window_t root_ = 0;
};

// CPU time the process's live threads have run, from the scheduler's own
// nanosecond counts: on a busy machine the wall time also counts the moments
// other processes had the CPU.
double cpuMsOf(pid_t pid)
{
    double ms = 0;
    std::error_code error;
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    for (const auto &task : std::filesystem::directory_iterator(tasks, error)) {
        double ns = 0;
        std::ifstream(task.path() / "schedstat") >> ns;
        ms += ns / 1e6;
    }
    return ms;
}

// The shared libraries the process has mapped: what it loaded so far.
std::set<std::string> librariesOf(pid_t pid)
{
    std::set<std::string> libraries;
    std::ifstream maps("/proc/" + std::to_string(pid) + "/maps");
    for (std::string line; std::getline(maps, line);) {
        const std::size_t path = line.find('/');
        if (path != std::string::npos && line.find(".so", path) != std::string::npos)
            libraries.insert(line.substr(line.rfind('/') + 1));
    }
    return libraries;
}

// One start, timed from just before fork() to the MapNotify of its first
// window and to the first pixel it paints there, with the CPU time it took
// to map the window and the libraries it had loaded by then.
struct Start {
    double mappedMs;
    double paintedMs;
    double cpuToMapMs;
    std::set<std::string> libraries;
};

Start timeStart(MapWatcher &watcher, const std::string &program, const std::string &workDir)
{
    watcher.drain();
    const char *const arguments[] = {program.c_str(), nullptr};
    double mapped = 0;
    const double start = bench::monotonicMs();
    const pid_t pid = bench::spawnQuietly(program, arguments, workDir);
    const xcb_window_t window = watcher.waitFor(XCB_MAP_NOTIFY, 20000, mapped);
    const double cpuToMap = cpuMsOf(pid);
    std::set<std::string> libraries = librariesOf(pid);
    const double painted = window ? watcher.waitForPaint(window, 20000) : 0;
    bench::stopProcess(pid, SIGKILL);
    if (!window || !painted) {
        std::fprintf(stderr, "bench_startup: %s showed no window within 20 s\n", program.c_str());
        std::exit(1);
    }
    // Let the server tear the windows down before the next start.
    double ignored = 0;
    watcher.waitFor(XCB_DESTROY_NOTIFY, 2000, ignored);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    return {mapped - start, painted - start, cpuToMap, std::move(libraries)};
}

} // namespace

// Usage: bench_startup [RUNS [GAME_EXECUTABLE]]
int main(int argc, char *argv[])
{
    const int runs = argc > 1 ? std::atoi(argv[1]) : 25;
    const bench::DesktopSession desktop;
    const bench::VirtualDisplay &display = desktop.display;
    const bench::NullSoundServer &sound = desktop.sound;
    const bench::GameFolder game;
    MapWatcher watcher(display.name());

    // Another build of the game can stand in, to compare two versions.
    std::string gameBinary = game.path() + "/tessaranium";
    if (argc > 2) {
        gameBinary = game.path() + "/" + std::filesystem::path(argv[2]).filename().string();
        std::filesystem::copy_file(argv[2], gameBinary, std::filesystem::copy_options::overwrite_existing);
    }
    const std::string floorBinary = BENCH_FLOOR_BINARY;
    // One start of each first fills the caches (fonts, GStreamer's registry)
    // as any earlier run on a desktop would have; then the two alternate.
    timeStart(watcher, floorBinary, game.path());
    timeStart(watcher, gameBinary, game.path());
    std::vector<double> floorMapped, floorPainted, floorCpu, gameMapped, gamePainted, gameCpu, ratios;
    std::set<std::string> floorLibraries, gameLibraries;
    for (int run = 0; run < runs; ++run) {
        // Each goes first in every other pair, so neither always finds the
        // caches as the other left them.
        Start floor, splash;
        for (int turn = 0; turn < 2; ++turn) {
            if ((turn == 0) == (run % 2 == 0)) {
                floor = timeStart(watcher, floorBinary, game.path());
            } else {
                game.resetFlags();
                splash = timeStart(watcher, gameBinary, game.path());
            }
        }
        floorMapped.push_back(floor.mappedMs);
        floorPainted.push_back(floor.paintedMs);
        floorCpu.push_back(floor.cpuToMapMs);
        gameMapped.push_back(splash.mappedMs);
        gamePainted.push_back(splash.paintedMs);
        gameCpu.push_back(splash.cpuToMapMs);
        ratios.push_back(splash.mappedMs / floor.mappedMs);
        floorLibraries = std::move(floor.libraries);
        gameLibraries = std::move(splash.libraries);
    }

    std::printf("Start of the process to its first window on the X server (Xvfb %s, QT_QPA_PLATFORM=xcb,\n"
                "sound server: %s)\n",
                display.name().c_str(), sound.running() ? "PulseAudio with a null sink" : "none");
    bench::printHeader("program: event", "ms");
    const bench::Summary floorMap = bench::summarize(floorMapped);
    const bench::Summary splashMap = bench::summarize(gameMapped);
    const bench::Summary floorPaint = bench::summarize(floorPainted);
    const bench::Summary splashPaint = bench::summarize(gamePainted);
    bench::printRow("Qt floor (800x600 QWidget): mapped", floorMap);
    bench::printRow("game splash screen: mapped", splashMap);
    bench::printRow("Qt floor: first pixel painted", floorPaint);
    bench::printRow("game splash screen: painted", splashPaint);
    const bench::Summary floorWork = bench::summarize(floorCpu);
    const bench::Summary splashWork = bench::summarize(gameCpu);
    bench::printRow("Qt floor: CPU time until mapped", floorWork);
    bench::printRow("game splash: CPU time until mapped", splashWork);
    const bench::Summary pairs = bench::summarize(ratios);
    std::printf("game/floor, mapped: ratio of medians %.2f, median of the %zu paired runs' ratios %.2f "
                "(p25 %.2f, p75 %.2f); target <= 1.20\n",
                splashMap.median / floorMap.median, pairs.runs, pairs.median, pairs.p25, pairs.p75);
    std::printf("game/floor, painted: ratio of medians %.2f; CPU time until mapped: ratio of medians %.2f\n",
                splashPaint.median / floorPaint.median, splashWork.median / floorWork.median);
    std::string extra;
    for (const std::string &library : gameLibraries)
        if (!floorLibraries.contains(library))
            extra += " " + library;
    std::printf("shared libraries loaded when the window is mapped: floor %zu, game %zu; the game's own:%s\n\n",
                floorLibraries.size(), gameLibraries.size(), extra.empty() ? " none" : extra.c_str());
    return 0;
}
