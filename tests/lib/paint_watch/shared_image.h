#pragma once
// Reads a window's pixels through a shared-memory segment (MIT-SHM): the X
// server copies them into memory both sides see, instead of sending the
// whole picture down the socket at every read. Polling a window every
// millisecond that way costs the server, and the program being watched,
// far less of the machine than plain GetImage.
#include <xcb/xcb.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace paint_watch {

class SharedImage {
public:
    // A segment of `bytes` attached on both sides; ok() is false when the
    // server has no MIT-SHM or cannot reach the segment (a remote display).
    SharedImage(xcb_connection_t *connection, std::size_t bytes);
    ~SharedImage();
    SharedImage(const SharedImage &) = delete;
    SharedImage &operator=(const SharedImage &) = delete;

    bool ok() const { return attached_; }

    // The window's pixels (Z pixmap, 32 bits a pixel on a 24-bit screen);
    // false when the window cannot be read or does not fit the segment.
    bool read(xcb_window_t window, std::uint16_t width, std::uint16_t height, std::vector<std::uint8_t> &out);

private:
    xcb_connection_t *connection_;
    std::size_t bytes_;
    int id_ = -1;
    void *memory_ = nullptr;
    std::uint32_t segment_ = 0;
    bool attached_ = false;
};

} // namespace paint_watch
