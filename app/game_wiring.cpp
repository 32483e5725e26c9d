#include "app/game_wiring.h"

#include "app/game_screens.h"

#include <QCoreApplication>

namespace tess {

GameWiring::GameWiring(const GameParts &parts)
    : loader(parts.files, gate),
      flags(parts.files),
      quit(parts.cursor, flags, parts.process, parts.alerts),
      screens(parts.process),
      services{screens, parts.music, parts.cursor, loader, gate, quit, parts.alerts, parts.process, parts.files}
{
    defineGameScreens(screens, services);
}

void GameWiring::settle()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
}

} // namespace tess
