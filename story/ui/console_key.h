#pragma once

class QKeyEvent;

namespace story {

// The numeric keypad's separator key opens the console: Qt reports it as a
// keypad comma (X11 keysym KP_Separator, Windows VK_SEPARATOR).
bool isConsoleKey(const QKeyEvent &event);

} // namespace story
