#include "shared_image.h"

#include <xcb/shm.h>

#include <cstdlib>
#include <cstring>
#include <memory>

#include <sys/ipc.h>
#include <sys/shm.h>

namespace paint_watch {

SharedImage::SharedImage(xcb_connection_t *connection, std::size_t bytes) : connection_(connection), bytes_(bytes)
{
    const xcb_query_extension_reply_t *shm = xcb_get_extension_data(connection_, &xcb_shm_id);
    if (!shm || !shm->present)
        return;
    id_ = shmget(IPC_PRIVATE, bytes_, IPC_CREAT | 0600);
    if (id_ < 0)
        return;
    memory_ = shmat(id_, nullptr, 0);
    if (memory_ == reinterpret_cast<void *>(-1)) {
        memory_ = nullptr;
        shmctl(id_, IPC_RMID, nullptr);
        return;
    }
    segment_ = xcb_generate_id(connection_);
    xcb_generic_error_t *error
        = xcb_request_check(connection_, xcb_shm_attach_checked(connection_, segment_, std::uint32_t(id_), 0));
    attached_ = error == nullptr;
    std::free(error);
    // Marked for removal now, so the segment goes with the last process
    // that has it attached, however this one ends.
    shmctl(id_, IPC_RMID, nullptr);
}

SharedImage::~SharedImage()
{
    if (attached_)
        xcb_shm_detach(connection_, segment_);
    if (memory_)
        shmdt(memory_);
}

bool SharedImage::read(xcb_window_t window, std::uint16_t width, std::uint16_t height,
                       std::vector<std::uint8_t> &out)
{
    const std::size_t size = std::size_t(width) * height * 4;
    if (!attached_ || size > bytes_)
        return false;
    std::unique_ptr<xcb_shm_get_image_reply_t, decltype(&std::free)> reply{
        xcb_shm_get_image_reply(connection_,
                                xcb_shm_get_image(connection_, window, 0, 0, width, height, 0x00ffffff,
                                                  XCB_IMAGE_FORMAT_Z_PIXMAP, segment_, 0),
                                nullptr),
        &std::free};
    if (!reply || reply->size > bytes_)
        return false;
    const auto *data = static_cast<const std::uint8_t *>(memory_);
    out.assign(data, data + reply->size);
    return true;
}

} // namespace paint_watch
