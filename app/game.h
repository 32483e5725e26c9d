#pragma once

class QApplication;

namespace tess {

// Sets up the look, the services and the screens, shows the splash screen
// and runs the game until it quits.
int runGame(QApplication &app);

// The look every screen shares: style, colour scheme, fonts and icon.
void applyGameLook(QApplication &app);

} // namespace tess
