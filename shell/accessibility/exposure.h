#pragma once

class QWidget;

namespace tess {

class Label;

// Marks the label that shows the story's pages: text without a name, rather
// than a label named by its text. Its changes reach screen readers a page at
// a time (announcePage), never line by line.
void exposeAsPage(Label &label);
bool isExposedAsPage(const Label &label);

// Keeps the control out of what a screen reader finds in its window.
void hideFromScreenReaders(QWidget &control);
bool isHiddenFromScreenReaders(const QWidget &control);

} // namespace tess
