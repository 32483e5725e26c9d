// paint_watch WINDOW X Y [QUIET_MS] [TIMEOUT_MS]: clicks at (X, Y) of the
// window through XTest, as a mouse would, and prints how long after the click
// its pixels first and last changed: "changed FIRST_MS LAST_MS POLLS", or
// "unchanged" (exit status 2). Exit status 1 when the display cannot be used.
#include "paint_watch.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char **argv)
{
    if (argc < 4) {
        std::fputs("usage: paint_watch WINDOW X Y [QUIET_MS] [TIMEOUT_MS]\n", stderr);
        return 1;
    }
    paint_watch::Screen screen;
    if (!screen.ok()) {
        std::fputs("paint_watch: no display with the XTest extension\n", stderr);
        return 1;
    }
    const auto window = xcb_window_t(std::strtoul(argv[1], nullptr, 0));
    const double quietMs = argc > 4 ? std::atof(argv[4]) : 200;
    const double timeoutMs = argc > 5 ? std::atof(argv[5]) : 10000;
    const paint_watch::Watch watch
        = screen.clickAndWatch(window, std::atoi(argv[2]), std::atoi(argv[3]), quietMs, timeoutMs);
    if (!watch.changed) {
        std::puts("unchanged");
        return 2;
    }
    std::printf("changed %.1f %.1f %d\n", watch.firstMs, watch.lastMs, watch.polls);
    return 0;
}
