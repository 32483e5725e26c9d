#pragma once
#include <QObject>

#include <functional>

namespace tess {

// Runs the action from the event loop once every window on the screen has
// been drawn for the first time (at most 200 ms later: a minimised window
// never is). Work that no window shows yet, such as opening the media
// framework or reading the font database, then never delays a window.
// Nothing runs if `context` is destroyed first.
void afterWindowsAreDrawn(QObject *context, std::function<void()> action);

} // namespace tess
