#include "paint_watch.h"

#include <xcb/xtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <thread>
#include <utility>

namespace paint_watch {
namespace {

template <typename T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

} // namespace

double monotonicMs()
{
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

Screen::Screen(const char *display)
{
    connection_ = xcb_connect(display, nullptr);
    if (xcb_connection_has_error(connection_))
        return;
    root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
    const xcb_query_extension_reply_t *xtest = xcb_get_extension_data(connection_, &xcb_test_id);
    ok_ = xtest && xtest->present;
    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
    shared_ = std::make_unique<SharedImage>(connection_, std::size_t(screen->width_in_pixels)
                                                             * screen->height_in_pixels * 4);
}

Screen::~Screen()
{
    xcb_disconnect(connection_);
}

xcb_window_t Screen::windowOfWidth(int width, const std::vector<xcb_window_t> &known)
{
    Reply<xcb_query_tree_reply_t> tree{xcb_query_tree_reply(connection_, xcb_query_tree(connection_, root_), nullptr),
                                       &std::free};
    if (!tree)
        return 0;
    const xcb_window_t *children = xcb_query_tree_children(tree.get());
    for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
        const xcb_window_t window = children[i];
        if (std::find(known.begin(), known.end(), window) != known.end())
            continue;
        Reply<xcb_get_window_attributes_reply_t> attributes{
            xcb_get_window_attributes_reply(connection_, xcb_get_window_attributes(connection_, window), nullptr),
            &std::free};
        Reply<xcb_get_geometry_reply_t> geometry{
            xcb_get_geometry_reply(connection_, xcb_get_geometry(connection_, window), nullptr), &std::free};
        if (attributes && geometry && attributes->map_state == XCB_MAP_STATE_VIEWABLE
            && !attributes->override_redirect && geometry->width == width)
            return window;
    }
    return 0;
}

xcb_window_t Screen::waitForWindowOfWidth(int width, const std::vector<xcb_window_t> &known, double timeoutMs)
{
    const double deadline = monotonicMs() + timeoutMs;
    for (;;) {
        if (const xcb_window_t window = windowOfWidth(width, known))
            return window;
        if (monotonicMs() > deadline)
            return 0;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

std::vector<std::uint8_t> Screen::pixels(xcb_window_t window)
{
    Reply<xcb_get_geometry_reply_t> geometry{
        xcb_get_geometry_reply(connection_, xcb_get_geometry(connection_, window), nullptr), &std::free};
    if (!geometry)
        return {};
    std::vector<std::uint8_t> shown;
    if (shared_->read(window, geometry->width, geometry->height, shown))
        return shown;
    Reply<xcb_get_image_reply_t> image{
        xcb_get_image_reply(connection_,
                            xcb_get_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, window, 0, 0, geometry->width,
                                          geometry->height, 0x00ffffff),
                            nullptr),
        &std::free};
    if (!image)
        return {};
    const std::uint8_t *data = xcb_get_image_data(image.get());
    return {data, data + xcb_get_image_data_length(image.get())};
}

void Screen::fake(std::uint8_t type, std::uint8_t detail, int rootX, int rootY)
{
    xcb_test_fake_input(connection_, type, detail, XCB_CURRENT_TIME, root_, std::int16_t(rootX),
                        std::int16_t(rootY), 0);
}

void Screen::movePointer(xcb_window_t window, int x, int y)
{
    Reply<xcb_translate_coordinates_reply_t> at{
        xcb_translate_coordinates_reply(
            connection_, xcb_translate_coordinates(connection_, window, root_, std::int16_t(x), std::int16_t(y)),
            nullptr),
        &std::free};
    if (!at)
        return;
    fake(XCB_MOTION_NOTIFY, 0, at->dst_x, at->dst_y);
    xcb_flush(connection_);
}

void Screen::clickLeft()
{
    fake(XCB_BUTTON_PRESS, 1, 0, 0);
    fake(XCB_BUTTON_RELEASE, 1, 0, 0);
    xcb_flush(connection_);
}

Watch Screen::watchChanges(xcb_window_t window, std::vector<std::uint8_t> shown, double startMs, double quietMs,
                           double timeoutMs)
{
    Watch watch;
    double changedAt = startMs;
    for (;;) {
        std::vector<std::uint8_t> now = pixels(window);
        const double stamp = monotonicMs();
        ++watch.polls;
        if (now != shown) {
            if (!watch.changed)
                watch.firstMs = stamp - startMs;
            watch.changed = true;
            watch.lastMs = stamp - startMs;
            changedAt = stamp;
            shown.swap(now);
        }
        if (stamp - changedAt >= quietMs || stamp - startMs >= timeoutMs)
            return watch;
    }
}

void Screen::watchUntilQuiet(xcb_window_t window, double quietMs, double timeoutMs)
{
    watchChanges(window, pixels(window), monotonicMs(), quietMs, timeoutMs);
}

Watch Screen::clickAndWatch(xcb_window_t window, int x, int y, double quietMs, double timeoutMs)
{
    movePointer(window, x, y);
    watchUntilQuiet(window, quietMs, timeoutMs);
    // The pixels before the click are read first, so the click's own
    // changes are all counted from the moment it is sent.
    std::vector<std::uint8_t> before = pixels(window);
    const double start = monotonicMs();
    clickLeft();
    return watchChanges(window, std::move(before), start, quietMs, timeoutMs);
}

} // namespace paint_watch
