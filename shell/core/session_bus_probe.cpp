#include "shell/core/session_bus_probe.h"

#include "shell/core/file_descriptor.h"

#include <QList>
#include <QtGlobal>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace tess {
namespace {

using Clock = std::chrono::steady_clock;

// A value of an address, with its %xx escapes undone.
QByteArray unescaped(const QByteArray &value)
{
    return QByteArray::fromPercentEncoding(value);
}

// The socket address of one "unix:path=..." or "unix:abstract=..." entry;
// false for any other kind.
bool unixSocketOf(const QByteArray &entry, sockaddr_un &socket, socklen_t &length)
{
    if (!entry.startsWith("unix:"))
        return false;
    for (const QByteArray &pair : entry.mid(5).split(',')) {
        const qsizetype equals = pair.indexOf('=');
        const QByteArray key = pair.left(equals);
        const QByteArray value = unescaped(pair.mid(equals + 1));
        if ((key != "path" && key != "abstract") || value.isEmpty()
            || value.size() >= qsizetype(sizeof socket.sun_path))
            continue;
        socket = {};
        socket.sun_family = AF_UNIX;
        const bool abstract = key == "abstract";
        std::memcpy(socket.sun_path + (abstract ? 1 : 0), value.constData(), value.size());
        length = socklen_t(offsetof(sockaddr_un, sun_path) + value.size() + (abstract ? 1 : 0));
        return true;
    }
    return false;
}

int millisecondsLeft(Clock::time_point deadline)
{
    const qint64 left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return int(std::clamp<qint64>(left, 0, 60'000));
}

// Connects as libdbus does and waits for the reply to the first line of its
// greeting (EXTERNAL authentication with our user id).
BusAnswer askSocket(const sockaddr_un &address, socklen_t length, Clock::time_point deadline)
{
    const FileDescriptor bus(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (bus.get() < 0)
        return BusAnswer::Unreachable;
    if (::connect(bus.get(), reinterpret_cast<const sockaddr *>(&address), length) != 0) {
        // A full backlog: libdbus's blocking connect would wait on it.
        return errno == EAGAIN || errno == EINPROGRESS ? BusAnswer::Silent : BusAnswer::Unreachable;
    }
    const QByteArray uid = QByteArray::number(qulonglong(::getuid()));
    const QByteArray greeting = QByteArray(1, '\0') + "AUTH EXTERNAL " + uid.toHex() + "\r\n";
    if (::send(bus.get(), greeting.constData(), greeting.size(), MSG_NOSIGNAL) != greeting.size())
        return BusAnswer::Silent;
    pollfd wait = {bus.get(), POLLIN, 0};
    for (;;) {
        const int ready = ::poll(&wait, 1, millisecondsLeft(deadline));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return BusAnswer::Silent;
        char reply[256];
        const ssize_t got = ::recv(bus.get(), reply, sizeof reply, 0);
        if (got < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        // Any reply ("OK", "REJECTED") is an answer; a closed connection is
        // refused at once by libdbus too.
        return got > 0 ? BusAnswer::Answers : BusAnswer::Unreachable;
    }
}

} // namespace

BusAnswer askBus(const QByteArray &address, std::chrono::milliseconds limit)
{
    const Clock::time_point deadline = Clock::now() + limit;
    // libdbus tries the entries in order and keeps the first that connects.
    for (const QByteArray &entry : address.split(';')) {
        sockaddr_un socket {};
        socklen_t length = 0;
        if (!unixSocketOf(entry, socket, length))
            continue;
        const BusAnswer answer = askSocket(socket, length, deadline);
        if (answer != BusAnswer::Unreachable)
            return answer;
    }
    return BusAnswer::Unreachable;
}

QByteArray sessionBusAddress()
{
    const QByteArray address = qgetenv("DBUS_SESSION_BUS_ADDRESS");
    if (!address.isEmpty())
        return address;
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    struct stat status {};
    if (runtime.isEmpty() || ::stat((runtime + "/bus").constData(), &status) != 0 || !S_ISSOCK(status.st_mode))
        return {};
    return "unix:path=" + runtime.toPercentEncoding("/") + "/bus";
}

} // namespace tess
