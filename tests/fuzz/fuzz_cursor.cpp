// The cursor file parser over any bytes, static or animated.
#include "shell/core/cursor_file.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const std::vector<tess::CursorFrame> frames = tess::parseCursorFile(bytes);
    for (const tess::CursorFrame &frame : frames) {
        // Each picture is a whole icon container of its own, and an animated
        // one waits between one jiffy and ten seconds.
        if (frame.image.size() < 22 || frame.image.size() > bytes.size() || frame.image[0] != 0 || frame.image[1] != 0)
            std::abort();
        if (frame.delayMs < 0 || frame.delayMs > 600 * (1000 / 60))
            std::abort();
        if (frame.hotspot.x() < 0 || frame.hotspot.y() < 0)
            std::abort();
    }
    return 0;
}
