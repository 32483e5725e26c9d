#include "app/silent_buses.h"

#include "shell/core/session_bus_probe.h"

#include <QByteArray>
#include <QtGlobal>

#include <chrono>
#include <cstdio>

namespace tess {

void switchOffSilentBuses()
{
    // A bus greets in well under a millisecond; the rest is for a machine
    // that is very busy.
    constexpr std::chrono::milliseconds kLimit{2000};
    const QByteArray session = sessionBusAddress();
    if (session.isEmpty())
        return;
    QByteArray accessibility;
    bool greeted = false;
    const char *silent = "the accessibility bus";
    QByteArray address = session;
    switch (askAccessibilityBus(session, kLimit, accessibility, greeted)) {
    case BusAnswer::Unreachable:
        return;
    case BusAnswer::Silent:
        silent = greeted ? "the accessibility bus launcher on the session bus" : "the session bus";
        break;
    case BusAnswer::Answers:
        if (accessibility.isEmpty() || askBus(accessibility, kLimit) != BusAnswer::Silent)
            return;
        address = accessibility;
        break;
    }
    // Without the session bus Qt's bridge gives up at once and asks nothing
    // more; the game uses the bus for nothing else. libdbus cannot take this
    // address and says so quietly.
    qputenv("DBUS_SESSION_BUS_ADDRESS", "disabled:");
    std::fprintf(stderr,
                 "tessaranium: %s (%s) does not answer; the game starts without the session bus, so a screen "
                 "reader cannot follow the game this time\n",
                 silent, address.constData());
}

} // namespace tess
