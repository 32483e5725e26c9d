#include "shell/core/input_gate.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>

#include <memory>

namespace tess {
namespace {

// Time between two turns of the window system during a load: half a frame.
constexpr qint64 kTurnNs = 8'000'000;
constexpr int kLinesPerLook = 16;

const QEvent::Type kReplayEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

bool isPlayerInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Wheel:
        return true;
    default:
        return false;
    }
}

} // namespace

InputGate::InputGate() : turnNs_(kTurnNs)
{
    QCoreApplication::instance()->installEventFilter(this);
}

InputGate::~InputGate() = default;

void InputGate::holdInput()
{
    if (holds_++ == 0) {
        sinceTurn_.start();
        linesSinceLook_ = 0;
    }
}

void InputGate::releaseInput()
{
    if (holds_ > 0 && --holds_ == 0)
        postReplay();
}

bool InputGate::turnIsDue()
{
    // Reading the clock costs more than a short line: look every few lines.
    if (++linesSinceLook_ < kLinesPerLook)
        return false;
    linesSinceLook_ = 0;
    return !sinceTurn_.isValid() || sinceTurn_.nsecsElapsed() >= turnNs_;
}

void InputGate::processPendingEvents()
{
    QCoreApplication::processEvents();
    sinceTurn_.start();
}

void InputGate::deliver(std::function<void()> action)
{
    if (holds_ == 0 && queued_.empty()) {
        action();
        return;
    }
    queued_.push_back(std::move(action));
    if (holds_ == 0)
        postReplay();
}

void InputGate::postReplay()
{
    // Replay from the event loop, after the handler that loaded the file.
    if (queued_.empty() || replayPosted_)
        return;
    replayPosted_ = true;
    QCoreApplication::postEvent(this, new QEvent(kReplayEvent));
}

bool InputGate::eventFilter(QObject *receiver, QEvent *event)
{
    if (holds_ == 0 || !isPlayerInput(event->type()))
        return false;
    QPointer<QObject> target(receiver);
    std::shared_ptr<QEvent> copy(event->clone());
    queued_.push_back([target, copy] {
        if (target)
            QCoreApplication::sendEvent(target, copy.get());
    });
    return true;
}

bool InputGate::event(QEvent *event)
{
    if (event->type() != kReplayEvent)
        return QObject::event(event);
    replayPosted_ = false;
    replayQueued();
    return true;
}

void InputGate::replayQueued()
{
    // A replayed click may start another load; the rest then waits for it.
    while (holds_ == 0 && !queued_.empty()) {
        auto action = std::move(queued_.front());
        queued_.pop_front();
        action();
    }
}

} // namespace tess
