#pragma once

namespace tess {

// Keeps a D-Bus bus that takes connections but never answers (its daemon
// stopped, a socket nobody serves) from hanging the start-up: Qt's
// accessibility bridge would wait for it on the main thread, with no time
// limit, before the first window. The session bus and the accessibility bus
// named in AT_SPI_BUS_ADDRESS are asked first, two seconds each at most; one that
// stays silent is switched off for this game, with one line saying so.
// Called before the application object exists.
void switchOffSilentBuses();

} // namespace tess
