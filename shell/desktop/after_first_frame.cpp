#include "shell/desktop/after_first_frame.h"

#include <QGuiApplication>
#include <QPointer>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <utility>

namespace tess {
namespace {

// A window shown but not yet drawn: its first expose is still on its way.
bool aWindowIsComingUp()
{
    const QWindowList windows = QGuiApplication::topLevelWindows();
    return std::any_of(windows.begin(), windows.end(),
                       [](const QWindow *window) { return window->isVisible() && !window->isExposed(); });
}

// How long to wait for windows to be drawn at most: 40 times 5 ms.
constexpr int kMaxWaits = 40;
constexpr int kWaitMs = 5;

void runOnceDrawn(const QPointer<QObject> &context, std::function<void()> action, int waits)
{
    if (!context)
        return;
    if (aWindowIsComingUp() && waits < kMaxWaits) {
        QTimer::singleShot(kWaitMs, context, [context, action = std::move(action), waits]() mutable {
            runOnceDrawn(context, std::move(action), waits + 1);
        });
        return;
    }
    action();
}

} // namespace

void afterWindowsAreDrawn(QObject *context, std::function<void()> action)
{
    QMetaObject::invokeMethod(
        context,
        [context = QPointer<QObject>(context), action = std::move(action)]() mutable {
            runOnceDrawn(context, std::move(action), 0);
        },
        Qt::QueuedConnection);
}

} // namespace tess
