#pragma once
#include "shell/core/alerts.h"
#include "shell/core/process_control.h"

#include <QMessageBox>
#include <QPointer>

namespace tess {

// Shows the player a message box and writes the same line to the error stream.
class MessageBoxAlerts final : public Alerts {
public:
    void showError(const QString &message) override;

    // A signal asks the game to end: a message on screen is closed, and
    // later ones go to the error stream only, so nothing waits for a player
    // who may not be there.
    void stopWaitingForThePlayer();

private:
    QPointer<QMessageBox> open_;
    bool unattended_ = false;
};

// Ends the process straight away, as a quit must: no handler runs after it.
class ImmediateExit final : public ProcessControl {
public:
    [[noreturn]] void endProgram(int exitStatus) override;
};

} // namespace tess
