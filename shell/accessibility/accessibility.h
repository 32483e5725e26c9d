#pragma once
#include <QList>
#include <QString>

class QWidget;

namespace tess {

class Label;

// How a screen reader sees the game's labels. A label that answers clicks is
// a push button whose press action is a click: the same press and release of
// the left button, through the same input gate and handlers as the mouse. A
// label that answers none is text: its caption, line breaks as "\n", which a
// screen reader reads whole as the label takes the focus and line by line as
// the arrow keys move its reading caret. The text boxes give their whole text
// (shell/accessibility/box_accessible.h), and what the screen does not show is spoken
// as a notification (shell/accessibility/spoken_cue.h).
//
// Every caption change is reported as it happens (the story's page excepted,
// see exposeAsPage): as text-changed events
// (AT-SPI object:text-changed:delete and :insert) for text, and as a name
// change (object:property-change:accessible-name) for the labels named by
// their caption.
void installAccessibility();

// Marks the label that shows the story's pages: text without a name, rather
// than a label named by its text. Its changes reach screen readers a page at
// a time (announcePage), never line by line.
void exposeAsPage(Label &label);
bool isExposedAsPage(const Label &label);

// Whether a screen reader (or another assistive technology) listens. Only
// then do the game's controls take the keyboard focus; otherwise every key
// does what it always did.
bool assistiveTechnologyActive();
// Has the screens on show offer keyboard play when a screen reader starts
// after them; installAccessibility() calls it.
void watchForScreenReaders();

// Keyboard play for a screen reader's user: the controls take focus in the
// order given (Tab and Shift+Tab move along it), and the first one shown has
// it when the window comes up. Nothing happens while no screen reader listens.
void offerKeyboardPlay(QWidget &window, const QList<QWidget *> &order);

// Presses the label as a player's click would: a press and release of the
// left button queued at its centre, through the input gate and its handler.
void pressLikeThePlayer(Label &label);

// Gives the control the focus as a new object, so that screen readers present
// it in full even when it had the focus already.
void focusAnew(QWidget &control);

// Keeps the control out of what a screen reader finds in its window.
void hideFromScreenReaders(QWidget &control);
bool isHiddenFromScreenReaders(const QWidget &control);

// The page shown in `page` is complete: screen readers hear one change for
// the whole page (not one per line), and the page takes the focus so that
// they read it out. Called once the loader has put in the page's last line.
void announcePage(Label &page);

// Called by the label after its caption changed.
void reportCaptionReplaced(Label &label, const QString &before);
void reportCaptionAppended(Label &label, qsizetype oldSize);

// One change of a caption as a screen reader's text sees it: at `position`,
// `removed` gave way to `inserted`.
struct TextChange {
    qsizetype position = 0;
    QString removed;
    QString inserted;
};

// The change from one caption to another, from the first character that
// differs.
TextChange captionChange(QStringView before, QStringView after);

// The text a screen reader sees added when `more` is appended to a caption;
// `afterCr` says whether the caption ended in a CR, which an LF at the start
// of `more` joins into the one break already there.
QString appendedText(bool afterCr, QStringView more);

} // namespace tess
