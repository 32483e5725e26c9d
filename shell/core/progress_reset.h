#pragma once

namespace tess {

// Puts the player's progress back to a new game; the quit procedure calls it
// without knowing what the progress is. Throws tess::FileError when it cannot.
class ProgressReset {
public:
    virtual ~ProgressReset() = default;
    virtual void resetProgress() = 0;
};

} // namespace tess
