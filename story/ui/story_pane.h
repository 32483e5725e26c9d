#pragma once
#include <QRect>
#include <QString>

namespace story {

// Where the story screen shows its page: the pane's place, and whether a
// page's text fits in it as the screen lays it out (wrapped at the pane's
// width in the layout's default font).
QRect storyPaneRect();
int storyPaneHeightNeeded(const QString &pageText);
bool fitsStoryPane(const QString &pageText);

} // namespace story
