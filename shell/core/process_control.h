#pragma once

namespace tess {

// Ends the program at once: no further handler runs.
class ProcessControl {
public:
    virtual ~ProcessControl() = default;
    virtual void endProgram(int exitStatus) = 0;
};

} // namespace tess
