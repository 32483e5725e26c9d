#pragma once
#include "shell/core/event_pump.h"

#include <QElapsedTimer>
#include <QObject>

#include <deque>
#include <functional>

namespace tess {

// Holds the player's input while a text file is being shown line by line.
// Clicks, key presses and close requests that arrive meanwhile are queued and
// handled, in their order, once the load is over and the handler that started
// it has returned. Pointer moves pass through, so hovering stays live.
// During a load the window system gets a turn every few milliseconds: often
// enough that the pointer and the close box answer at once, seldom enough
// that a page of short lines is not drawn over and over.
class InputGate final : public QObject, public EventPump {
public:
    InputGate();
    ~InputGate() override;

    void holdInput() override;
    void releaseInput() override;
    bool turnIsDue() override;
    void processPendingEvents() override;

    // How long a load goes on between two turns of the window system
    // (8 ms unless set); the clock is looked at every 16 lines.
    void setTurnInterval(qint64 nanoseconds) { turnNs_ = nanoseconds; }

    // Runs the action now, or after the hold ends.
    void deliver(std::function<void()> action);

protected:
    bool eventFilter(QObject *receiver, QEvent *event) override;
    bool event(QEvent *event) override;

private:
    void postReplay();
    void replayQueued();

    int holds_ = 0;
    QElapsedTimer sinceTurn_;
    qint64 turnNs_;
    int linesSinceLook_ = 0;
    bool replayPosted_ = false;
    std::deque<std::function<void()>> queued_;
};

} // namespace tess
