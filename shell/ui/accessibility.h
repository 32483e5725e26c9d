#pragma once
#include <QString>

namespace tess {

class Label;

// How a screen reader sees the game's labels. A label that answers clicks is
// a push button whose press action is a click: the same press and release of
// the left button, through the same input gate and handlers as the mouse. A
// label that answers none is text: its caption, line breaks as "\n".
//
// Every caption change is reported as it happens: as text-changed events
// (AT-SPI object:text-changed:delete and :insert) for text, and as a name
// change (object:property-change:accessible-name) for the labels named by
// their caption.
void installAccessibility();

// Marks the label that shows the story's pages: a paragraph with its text and
// no name, rather than a label named by its text. Screen readers present text
// changes of labels never, and those of a paragraph when the window it lies
// in has the focus.
void exposeAsPage(Label &label);
bool isExposedAsPage(const Label &label);

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
