#include "shell/toolkit/keyboard_play.h"

#include <QAccessible>
#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

namespace tess {

namespace {

// Hears a screen reader come after the game's windows are up: the screens on
// show then offer keyboard play at once.
class ActivationWatch final : public QAccessible::ActivationObserver {
public:
    bool active = false;

    void accessibilityActiveChanged(bool isActive) override
    {
        active = isActive;
        if (!isActive)
            return;
        emit screenReaderArrivals().arrived();
        // The window the player is on came up before the screen reader heard
        // of it: it is told of it now, as of a window just activated.
        if (QWidget *current = QApplication::activeWindow()) {
            QAccessible::State active;
            active.active = true;
            QAccessibleStateChangeEvent activated(current, active);
            QAccessible::updateAccessibility(&activated);
        }
    }
};

ActivationWatch &activationWatch()
{
    static ActivationWatch watch;
    return watch;
}

} // namespace

void watchForScreenReaders()
{
    QAccessible::installActivationObserver(&activationWatch());
}

bool assistiveTechnologyActive()
{
    return QAccessible::isActive() || activationWatch().active;
}

ScreenReaderArrivals &screenReaderArrivals()
{
    static ScreenReaderArrivals arrivals;
    return arrivals;
}

void pressLikeThePlayer(QWidget &control)
{
    // Nothing the mouse could not click either.
    if (!control.isVisible() || !control.isEnabled())
        return;
    const QPointF at = QRectF(control.rect()).center();
    const QPointF global = control.mapToGlobal(at);
    QCoreApplication::postEvent(&control, new QMouseEvent(QEvent::MouseButtonPress, at, global, Qt::LeftButton,
                                                          Qt::LeftButton, Qt::NoModifier));
    QCoreApplication::postEvent(&control, new QMouseEvent(QEvent::MouseButtonRelease, at, global, Qt::LeftButton,
                                                          Qt::NoButton, Qt::NoModifier));
}

// Screen readers present an object that gains the focus it already has never
// again, and may keep what they read of it before: the control comes back to
// them as a new object, before anything is said of it.
void renewForScreenReaders(QWidget &control)
{
    if (QAccessibleInterface *told = QAccessible::queryAccessibleInterface(&control))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(told));
}

void giveFocus(QWidget &control)
{
    if (control.hasFocus()) {
        QAccessibleEvent focus(&control, QAccessible::Focus);
        QAccessible::updateAccessibility(&focus);
    } else {
        control.setFocus(Qt::OtherFocusReason);
    }
}

void focusAnew(QWidget &control)
{
    renewForScreenReaders(control);
    giveFocus(control);
}

} // namespace tess
