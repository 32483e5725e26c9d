#pragma once
#include <QByteArray>

#include <chrono>

namespace tess {

// Whether a D-Bus bus answers at all, asked with a time limit.
//
// Qt's accessibility bridge connects to the session bus from the main thread
// when the first window is made, and waits for the bus's answer with no time
// limit: a bus daemon that is stopped, or a socket nobody serves, would keep
// the game's first window from ever appearing. The probe connects the way
// libdbus would and asks for the bus's greeting (the first step of every
// connection); a bus that cannot be reached at all is no danger, since
// libdbus gives up on it at once.
enum class BusAnswer {
    Answers,      // it greets within the time
    Silent,       // it takes the connection but does not answer
    Unreachable,  // nothing there, or no address to try
};

// `address` is a D-Bus address list ("unix:path=/run/user/1000/bus;...").
// Only Unix socket addresses are asked; others count as unreachable.
BusAnswer askBus(const QByteArray &address, std::chrono::milliseconds limit);

// The session bus address libdbus would use: DBUS_SESSION_BUS_ADDRESS, else
// the socket "bus" in XDG_RUNTIME_DIR; empty when there is none.
QByteArray sessionBusAddress();

} // namespace tess
