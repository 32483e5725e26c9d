#include "shell/accessibility/accessibility.h"
#include "shell/toolkit/controls.h"

#include "shell/toolkit/screen.h"

#include <QAccessible>
#include <QApplication>
#include <QMouseEvent>

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
        for (QWidget *window : QApplication::topLevelWidgets())
            if (auto *screen = qobject_cast<Screen *>(window); screen && screen->isVisible())
                screen->offerKeyboardPlay();
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

void offerKeyboardPlay(QWidget &window, const QList<QWidget *> &order)
{
    if (!assistiveTechnologyActive())
        return;
    // The window itself takes no stop of its own between the last control and
    // the first; keys it answers reach it from whichever control has focus.
    if (!order.isEmpty())
        window.setFocusPolicy(Qt::NoFocus);
    QWidget *previous = nullptr;
    for (QWidget *control : order) {
        control->setFocusPolicy(Qt::StrongFocus);
        if (auto *memo = qobject_cast<MemoBox *>(control))
            memo->letKeysRead();
        if (previous)
            QWidget::setTabOrder(previous, control);
        previous = control;
    }
    const QWidget *focused = window.focusWidget();
    if (focused && focused != &window && focused->isVisibleTo(&window))
        return;
    for (QWidget *control : order) {
        if (control->isVisibleTo(&window)) {
            control->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
}

void pressLikeThePlayer(Label &label)
{
    // Nothing the mouse could not click either.
    if (!label.isVisible() || !label.isEnabled())
        return;
    const QPointF at = QRectF(label.rect()).center();
    const QPointF global = label.mapToGlobal(at);
    QCoreApplication::postEvent(&label, new QMouseEvent(QEvent::MouseButtonPress, at, global, Qt::LeftButton,
                                                        Qt::LeftButton, Qt::NoModifier));
    QCoreApplication::postEvent(&label, new QMouseEvent(QEvent::MouseButtonRelease, at, global, Qt::LeftButton,
                                                        Qt::NoButton, Qt::NoModifier));
}

} // namespace tess
