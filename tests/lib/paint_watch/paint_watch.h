#pragma once
// What a player sees after a click, watched from outside the program: the
// click goes through the X server's test extension (XTest) like a real
// mouse's, and the window's pixels are read back until they stop changing.
#include "shared_image.h"

#include <xcb/xcb.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace paint_watch {

double monotonicMs();

struct Watch {
    bool changed = false;     // any pixel of the window changed
    double firstMs = 0;       // from the click to the first changed frame
    double lastMs = 0;        // from the click to the last changed frame
    int polls = 0;            // pixel reads while watching
};

class Screen {
public:
    // Connects to the display (nullptr: $DISPLAY). ok() tells whether the
    // server answered and has the XTest extension.
    explicit Screen(const char *display = nullptr);
    ~Screen();
    Screen(const Screen &) = delete;
    Screen &operator=(const Screen &) = delete;

    bool ok() const { return ok_; }

    // A viewable top-level window of that width that is not one of `known`;
    // 0 if there is none (yet).
    xcb_window_t windowOfWidth(int width, const std::vector<xcb_window_t> &known = {});
    // The same, waited for up to `timeoutMs`.
    xcb_window_t waitForWindowOfWidth(int width, const std::vector<xcb_window_t> &known, double timeoutMs);
    // The window's pixels as they are on the server now; empty when the
    // window is gone or not viewable.
    std::vector<std::uint8_t> pixels(xcb_window_t window);
    // Puts the pointer on (x, y) of the window, as a mouse would move it.
    void movePointer(xcb_window_t window, int x, int y);
    // Presses and releases the left button where the pointer is.
    void clickLeft();
    // Reads the window until it has stayed the same for `quietMs`.
    void watchUntilQuiet(xcb_window_t window, double quietMs, double timeoutMs);
    // Moves the pointer there and lets the window settle (hover colours),
    // then clicks and watches what the click changes.
    Watch clickAndWatch(xcb_window_t window, int x, int y, double quietMs, double timeoutMs);

private:
    // Reads the window from `startMs` on until its pixels have stayed the
    // same for `quietMs` (or `timeoutMs` has passed), against `shown`.
    Watch watchChanges(xcb_window_t window, std::vector<std::uint8_t> shown, double startMs, double quietMs,
                       double timeoutMs);
    void fake(std::uint8_t type, std::uint8_t detail, int rootX, int rootY);

    xcb_connection_t *connection_ = nullptr;
    xcb_window_t root_ = 0;
    bool ok_ = false;
    std::unique_ptr<SharedImage> shared_;
};

} // namespace paint_watch
