#include "shell/core/session_bus_probe.h"

#include "shell/core/dbus_wire.h"
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

// Reads until `enough` says the bytes so far are enough; Silent when the
// time runs out first, Unreachable when the bus closes the connection.
template <typename Enough>
BusAnswer readUntil(int bus, QByteArray &received, Clock::time_point deadline, Enough enough)
{
    pollfd wait = {bus, POLLIN, 0};
    while (!enough()) {
        const int ready = ::poll(&wait, 1, millisecondsLeft(deadline));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return BusAnswer::Silent;
        char chunk[4096];
        const ssize_t got = ::recv(bus, chunk, sizeof chunk, 0);
        if (got < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (got <= 0)
            return BusAnswer::Unreachable;
        received.append(chunk, got);
    }
    return BusAnswer::Answers;
}

bool sendAll(int bus, const QByteArray &bytes)
{
    return ::send(bus, bytes.constData(), bytes.size(), MSG_NOSIGNAL) == bytes.size();
}

// Connects to the first entry of the address that takes the connection, as
// libdbus does, and greets the bus (EXTERNAL authentication with our user
// id); `accepted` tells whether the bus took the greeting.
BusAnswer greet(const QByteArray &address, Clock::time_point deadline, FileDescriptor &bus, bool &accepted)
{
    for (const QByteArray &entry : address.split(';')) {
        sockaddr_un socket {};
        socklen_t length = 0;
        if (!unixSocketOf(entry, socket, length))
            continue;
        bus.reset(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
        if (bus.get() < 0)
            return BusAnswer::Unreachable;
        if (::connect(bus.get(), reinterpret_cast<const sockaddr *>(&socket), length) == 0)
            break;
        // A full backlog: libdbus's blocking connect would wait on it.
        if (errno == EAGAIN || errno == EINPROGRESS)
            return BusAnswer::Silent;
        bus.reset();
    }
    if (bus.get() < 0)
        return BusAnswer::Unreachable;
    const QByteArray uid = QByteArray::number(qulonglong(::getuid()));
    if (!sendAll(bus.get(), QByteArray(1, '\0') + "AUTH EXTERNAL " + uid.toHex() + "\r\n"))
        return BusAnswer::Silent;
    QByteArray line;
    const BusAnswer answer = readUntil(bus.get(), line, deadline, [&line] { return line.contains("\r\n"); });
    accepted = line.startsWith("OK ");
    return answer;
}

} // namespace

BusAnswer askBus(const QByteArray &address, std::chrono::milliseconds limit)
{
    FileDescriptor bus;
    bool accepted = false;
    return greet(address, Clock::now() + limit, bus, accepted);
}

BusAnswer askAccessibilityBus(const QByteArray &sessionAddress, std::chrono::milliseconds limit,
                              QByteArray &accessibilityAddress, bool &greeted)
{
    const Clock::time_point deadline = Clock::now() + limit;
    FileDescriptor bus;
    bool accepted = false;
    const BusAnswer answer = greet(sessionAddress, deadline, bus, accepted);
    greeted = answer == BusAnswer::Answers;
    if (answer != BusAnswer::Answers || !accepted)
        return answer;
    // Every connection says Hello first; then the question Qt's bridge
    // asks the accessibility bus's launcher.
    constexpr quint32 kQuestion = 2;
    const QByteArray calls = "BEGIN\r\n"
                             + dbus_wire::methodCall(1, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                                                     "org.freedesktop.DBus", "Hello")
                             + dbus_wire::methodCall(kQuestion, "org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus",
                                                     "GetAddress");
    if (!sendAll(bus.get(), calls))
        return BusAnswer::Silent;
    QByteArray received;
    return readUntil(bus.get(), received, deadline, [&] {
        dbus_wire::Message message;
        for (;;) {
            const dbus_wire::Take take = dbus_wire::takeMessage(received, message);
            if (take == dbus_wire::Take::NeedMore)
                return false;
            // Something this reader does not follow is an answer all the same.
            if (take == dbus_wire::Take::Garbage)
                return true;
            if ((message.type == 2 || message.type == 3) && message.replySerial == kQuestion) {
                accessibilityAddress = message.type == 2 ? message.firstString : QByteArray();
                return true;
            }
        }
    });
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
