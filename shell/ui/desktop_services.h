#pragma once
#include "shell/core/alerts.h"
#include "shell/core/process_control.h"

namespace tess {

// Shows the player a message box and writes the same line to the error stream.
class MessageBoxAlerts final : public Alerts {
public:
    void showError(const QString &message) override;
};

// Ends the process straight away, as a quit must: no handler runs after it.
class ImmediateExit final : public ProcessControl {
public:
    [[noreturn]] void endProgram(int exitStatus) override;
};

} // namespace tess
