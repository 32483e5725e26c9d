#pragma once
#include <functional>

namespace tess {

// The X server going away (the session ended without asking, the server
// crashed): Qt says "The X11 connection broke" in English and exits at once.
// The game says it in its own line instead and first runs `closeAll`, the
// close of a session that ends, so the story's progress is reset as on any
// other end of the session. Installed once the screens exist.
void endWithTheDisplay(std::function<void()> closeAll);

} // namespace tess
