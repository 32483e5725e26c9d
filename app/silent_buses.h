#pragma once

namespace tess {

// Keeps a D-Bus bus that takes connections but never answers (its daemon
// stopped, a socket nobody serves) from hanging the start-up: Qt's
// accessibility bridge would wait for it on the main thread before the first
// window, with no time limit (the session bus, the accessibility bus) or 25
// seconds a question (the accessibility bus's launcher). They are asked
// first, two seconds each at most; when one stays silent the session bus is
// switched off for this game, which leaves the bridge nothing to wait for,
// and one line says so. Called before the application object exists.
void switchOffSilentBuses();

} // namespace tess
