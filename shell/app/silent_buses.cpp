#include "shell/app/silent_buses.h"

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
    struct Bus {
        const char *variable;
        QByteArray address;
        const char *name;
    };
    const Bus buses[] = {
        {"DBUS_SESSION_BUS_ADDRESS", sessionBusAddress(), "the session bus"},
        {"AT_SPI_BUS_ADDRESS", qgetenv("AT_SPI_BUS_ADDRESS"), "the accessibility bus"},
    };
    for (const Bus &bus : buses) {
        if (bus.address.isEmpty())
            continue;
        if (askBus(bus.address, kLimit) != BusAnswer::Silent)
            continue;
        // An address libdbus cannot take: it gives up at once, quietly.
        qputenv(bus.variable, "disabled:");
        std::fprintf(stderr,
                     "tessaranium: %s (%s) does not answer; the game starts without it, so a screen reader "
                     "cannot follow the game this time\n",
                     bus.name, bus.address.constData());
    }
}

} // namespace tess
