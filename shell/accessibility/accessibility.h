#pragma once
#include <QString>

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
// see exposeAsPage in shell/accessibility/exposure.h), told by the labels
// through the caption watch installAccessibility() installs: as text-changed events
// (AT-SPI object:text-changed:delete and :insert) for text, and as a name
// change (object:property-change:accessible-name) for the labels named by
// their caption.
void installAccessibility();

// The page shown in `page` is complete: screen readers hear one change for
// the whole page (not one per line), and the page takes the focus so that
// they read it out. Called once the loader has put in the page's last line.
void announcePage(Label &page);

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
