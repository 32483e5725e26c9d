#pragma once
#include "shell/layout/layout_units.h"

#include <QPixmap>
#include <QWidget>

namespace tess {

class Alerts;
class CursorService;
class Files;
class InputGate;
class Music;
class ProcessControl;
class QuitProcedure;
class TextLoader;

// The seven screens of the game, each a single window addressed by name.
enum class ScreenId { Main, Game, About, IntoEngine, Engine, GameOver, BLNC };

// Why a screen is asked to close.
enum class CloseReason {
    User = 0,         // the close box, the window menu, Alt+F4
    Program = 1,      // the game unloads the screen
    SessionEnd = 2,   // the desktop session ends
    TaskManager = 3,  // SIGTERM, SIGHUP, SIGINT: a task manager or `kill`
};

// The screens by name, as a screen sees them (Screens holds them).
class ScreenStack {
public:
    // Loads the screen if needed, then shows it and brings it to the front.
    virtual void Show(ScreenId id) = 0;
    // Makes it invisible; it stays loaded with all its state.
    virtual void Hide(ScreenId id) = 0;
    // Asks the close handler with reason 1 and destroys the screen unless it
    // refuses. Nothing happens for a screen that is not loaded.
    virtual void Unload(ScreenId id) = 0;
    // Asks the screen's close handler and unloads it when it agrees.
    virtual void requestClose(ScreenId id, CloseReason reason) = 0;
    // A fatal error is being shown to the player: the game ends once the
    // message is dismissed, with its own status, not when no screen is left.
    virtual void endingWithError() = 0;

protected:
    ~ScreenStack() = default;
};

// What every screen may call on.
struct Services {
    ScreenStack &screens;
    Music &music;
    CursorService &cursor;
    TextLoader &loader;
    InputGate &gate;
    QuitProcedure &quit;
    Alerts &alerts;
    ProcessControl &process;
    Files &files;
};

// The window of one screen: fixed size, centred, the game's title, the
// layout's background picture drawn unscaled. Subclasses add their controls
// in their constructors and their handlers as the game's screens do.
class Screen : public QWidget {
    Q_OBJECT
public:
    Screen(Services &services, ScreenId id, QSize clientTwips, const QString &background,
           const QString &title = kGameTitle);

    ScreenId id() const { return id_; }

    // Runs when the screen is loaded, before it is first shown.
    virtual void Form_Load() {}
    // Asked before the screen unloads; false refuses, and the window stays.
    virtual bool Form_QueryUnload(CloseReason reason);

    // Lets a screen reader's user move between the controls with Tab
    // (keyboardOrder); nothing happens while no screen reader listens.
    void offerKeyboardPlay();

    // Runs a handler; a data file it cannot do without ends the game with a
    // message naming the file.
    template <typename Handler>
    void handle(Handler &&handler);

protected:
    Services &services() const { return services_; }
    virtual void Form_MouseMove() {}
    virtual void Form_KeyDown(QKeyEvent &) {}
    // The controls a screen reader's user moves between with Tab, in order.
    virtual QList<QWidget *> keyboardOrder() { return {}; }

    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void reportFatal(const class FileError &error);
    void loadBackground();

    Services &services_;
    ScreenId id_;
    QString backgroundFile_;
    QPixmap background_;
};

} // namespace tess

#include "shell/core/file_error.h"

template <typename Handler>
void tess::Screen::handle(Handler &&handler)
{
    try {
        handler();
    } catch (const FileError &error) {
        reportFatal(error);
    }
}
