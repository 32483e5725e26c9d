#include "shell/screens/game_over_screen.h"

#include "shell/core/music.h"
#include "shell/desktop/quit_procedure.h"

namespace tess {

GameOverScreen::GameOverScreen(Services &services)
    : Screen(services, ScreenId::GameOver, {11955, 8865}, QStringLiteral(":/pictures/gameover.gif"))
{
    // The words Game Over are in the picture; screen readers hear them here.
    setAccessibleName(QStringLiteral("Миры \"Tessaranium\": игра окончена"));
    setAccessibleDescription(QStringLiteral("История закончилась. Закрытие этого окна завершает игру."));
}

void GameOverScreen::Form_Load()
{
    services().music.send(QStringLiteral("play sound\\gotrack.mp3"));
}

bool GameOverScreen::Form_QueryUnload(CloseReason)
{
    services().quit.QuitProgram(true);
    return true;
}

} // namespace tess
