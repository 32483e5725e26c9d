#pragma once
#include <QString>

namespace storytool {

struct Walkthrough;

// The walkthrough as a script `play` replays: its clicks and typing, the
// page each click shows, and the screen it ends on. Plays start with every
// flag at "0"; a walkthrough from another start sets the flags first.
QString walkScriptText(const Walkthrough &walk);

} // namespace storytool
