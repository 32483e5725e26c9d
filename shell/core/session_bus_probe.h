#pragma once
#include <QByteArray>

#include <chrono>

namespace tess {

// Whether a D-Bus bus answers at all, asked with a time limit.
//
// Qt's accessibility bridge connects to the session bus from the main thread
// when the first window is made, and waits for the bus's answer with no time
// limit: a bus daemon that is stopped, or a socket nobody serves, would keep
// the game's first window from ever appearing. Then it asks the accessibility
// bus's launcher, 25 seconds a question, and connects to the bus it names,
// again with no limit. The probe connects the way libdbus would and asks the
// same; a bus that cannot be reached at all is no danger, since libdbus gives
// up on it at once.
enum class BusAnswer {
    Answers,      // it greets within the time
    Silent,       // it takes the connection but does not answer
    Unreachable,  // nothing there, or no address to try
};

// `address` is a D-Bus address list ("unix:path=/run/user/1000/bus;...").
// Only Unix socket addresses are asked; others count as unreachable.
BusAnswer askBus(const QByteArray &address, std::chrono::milliseconds limit);

// Asks the session bus for the accessibility bus's address, as Qt's bridge
// does next, with blocking calls of 25 seconds each: Silent when the bus or
// the launcher that serves the question does not answer in time (`greeted`
// tells whether the bus itself did). `accessibilityAddress` gets the address
// when the launcher gives one; an error (no launcher on this desktop) is an
// answer too.
BusAnswer askAccessibilityBus(const QByteArray &sessionAddress, std::chrono::milliseconds limit,
                              QByteArray &accessibilityAddress, bool &greeted);

// The session bus address libdbus would use: DBUS_SESSION_BUS_ADDRESS, else
// the socket "bus" in XDG_RUNTIME_DIR; empty when there is none.
QByteArray sessionBusAddress();

} // namespace tess
