#pragma once
#include <QObject>

class QWidget;

namespace tess {

// Whether a screen reader (or another assistive technology) listens. Only
// then do the game's controls take the keyboard focus; otherwise every key
// does what it always did.
bool assistiveTechnologyActive();

// Hears a screen reader that starts after the game's windows are up
// (screenReaderArrivals); installAccessibility() calls it.
void watchForScreenReaders();

// Tells the screens on show that a screen reader has just started, so that
// they offer keyboard play at once.
class ScreenReaderArrivals final : public QObject {
    Q_OBJECT
signals:
    void arrived();
};
ScreenReaderArrivals &screenReaderArrivals();

// Presses the control as a player's click would: a press and release of the
// left button queued at its centre, through the input gate and its handler.
void pressLikeThePlayer(QWidget &control);

// Gives the control the focus as a new object, so that screen readers present
// it in full even when it had the focus already.
void focusAnew(QWidget &control);
// The two halves of focusAnew: the control comes back to screen readers as a
// new object; then it takes the focus (or, having it, says so again).
void renewForScreenReaders(QWidget &control);
void giveFocus(QWidget &control);

} // namespace tess
