#pragma once
#include <QString>

namespace tess {

// Tells the player that something went wrong, and writes the same line to
// the error stream.
class Alerts {
public:
    virtual ~Alerts() = default;
    virtual void showError(const QString &message) = 0;
};

} // namespace tess
