#include "shell/toolkit/screen.h"

#include "shell/core/alerts.h"
#include "shell/core/input_gate.h"
#include "shell/core/process_control.h"
#include "shell/toolkit/controls.h"
#include "shell/toolkit/keyboard_play.h"

#include <QCloseEvent>
#include <QImage>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QTimer>

namespace tess {

Screen::Screen(Services &services, ScreenId id, QSize clientTwips, const QString &background,
               const QString &title)
    : QWidget(nullptr,
              Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                  | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      services_(services),
      id_(id)
{
    setWindowTitle(title);
    setFixedSize(pixels(clientTwips.width()), pixels(clientTwips.height()));
    setFont(defaultLayoutFont());
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    // A screen reader that starts while the screen is on show gets keyboard
    // play at once.
    connect(&screenReaderArrivals(), &ScreenReaderArrivals::arrived, this, [this] {
        if (isVisible())
            offerKeyboardPlay();
    });
    if (background.isEmpty()) {
        QPalette white = palette();
        white.setColor(QPalette::Window, Qt::white);
        setPalette(white);
        setAutoFillBackground(true);
    } else {
        backgroundFile_ = background;
        loadBackground();
    }
}

// Decoded straight from the file: QPixmap::load would also keep every picture
// in the application-wide pixmap cache (10 MiB) long after its screen is gone.
void Screen::loadBackground()
{
    background_ = QPixmap::fromImage(QImage(backgroundFile_));
}

bool Screen::Form_QueryUnload(CloseReason)
{
    return true;
}

void Screen::paintEvent(QPaintEvent *event)
{
    if (background_.isNull())
        return;
    // A page turn repaints the pane and the choices at once: one rectangle
    // at a time the picture is copied straight into the window, where the
    // whole region as clip would blend it span by span on worker threads.
    QPainter painter(this);
    for (const QRect &area : event->region()) {
        painter.setClipRect(area);
        painter.drawPixmap(area.topLeft(), background_, area);
    }
}

void Screen::closeEvent(QCloseEvent *event)
{
    // The close handler decides, and a window that closes is unloaded by the
    // screen layer; a close box pressed during a text load waits for it.
    event->ignore();
    const CloseReason reason = event->spontaneous() ? CloseReason::User : CloseReason::Program;
    ScreenStack &screens = services_.screens;
    const ScreenId id = id_;
    services_.gate.deliver([&screens, id, reason] { screens.requestClose(id, reason); });
}

void Screen::mouseMoveEvent(QMouseEvent *)
{
    handle([this] { Form_MouseMove(); });
}

void Screen::keyPressEvent(QKeyEvent *event)
{
    handle([this, event] { Form_KeyDown(*event); });
}

void Screen::showEvent(QShowEvent *event)
{
    if (background_.isNull() && !backgroundFile_.isEmpty())
        loadBackground();
    QWidget::showEvent(event);
    offerKeyboardPlay();
}

// A screen the game hides (the intro and the story stay loaded) gives back
// its decoded picture and its window with the window's backing store
// (800×600×4 bytes) while no one sees it; both are made again before it is
// shown. A window the player minimizes keeps them.
void Screen::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    if (event->spontaneous())
        return;
    if (!backgroundFile_.isEmpty())
        background_ = QPixmap();
    QTimer::singleShot(0, this, [this] {
        if (!isVisible())
            destroy();
    });
}

void Screen::offerKeyboardPlay()
{
    if (!assistiveTechnologyActive())
        return;
    const QList<QWidget *> order = keyboardOrder();
    // The window itself takes no stop of its own between the last control and
    // the first; keys it answers reach it from whichever control has focus.
    if (!order.isEmpty())
        setFocusPolicy(Qt::NoFocus);
    QWidget *previous = nullptr;
    for (QWidget *control : order) {
        control->setFocusPolicy(Qt::StrongFocus);
        if (auto *memo = qobject_cast<MemoBox *>(control))
            memo->letKeysRead();
        if (previous)
            QWidget::setTabOrder(previous, control);
        previous = control;
    }
    const QWidget *focused = focusWidget();
    if (focused && focused != this && focused->isVisibleTo(this))
        return;
    for (QWidget *control : order) {
        if (control->isVisibleTo(this)) {
            control->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
}

void Screen::reportFatal(const FileError &error)
{
    services_.screens.endingWithError();
    services_.alerts.showError(error.message());
    services_.process.endProgram(1);
}

} // namespace tess
