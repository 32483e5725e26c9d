#pragma once

namespace tess {

// What the game needs of the session's limits: 64 open files (ulimit -n)
// and 256 MB of address space (ulimit -v); the music needs more and checks
// for itself. A soft limit below that is raised as far as the hard one
// allows; when that is not enough the game says what it needs in one line
// and returns false: with less it would crash, or hang in the window
// system, at some random later moment.
bool haveWhatTheGameNeeds();

} // namespace tess
