#pragma once
#include <unistd.h>

#include <utility>

namespace tess {

// An open POSIX file descriptor, closed when it goes out of scope.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd = -1) : fd_(fd) {}
    ~FileDescriptor() { reset(); }
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;

    int get() const { return fd_; }
    void reset(int fd = -1)
    {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = fd;
    }
    // Hands the descriptor over: it is no longer closed here.
    int release() { return std::exchange(fd_, -1); }

private:
    int fd_;
};

} // namespace tess
