#pragma once

namespace tess {

// The game cursor replaces the arrow while the game runs; the player's own
// arrow comes back on every orderly quit.
class CursorService {
public:
    virtual ~CursorService() = default;
    virtual void InstallGameCursor() = 0;
    virtual void RestoreSystemCursor() = 0;
};

} // namespace tess
