#include "shell/screens/menu_screen.h"

#include "shell/core/cursor_service.h"
#include "shell/core/music.h"
#include "shell/layout/shell_layouts.h"
#include "shell/desktop/quit_procedure.h"
#include "shell/toolkit/screens.h"

namespace tess {

MenuScreen::MenuScreen(Services &services)
    : Screen(services, ScreenId::Game, twipsSize(layout::kMenu.client), QStringLiteral(":/pictures/menu.gif")),
      Label3(this, pixelRect(layout::kMenu.at("Label3"))),
      Label2(this, pixelRect(layout::kMenu.at("Label2"))),
      Label1(this, pixelRect(layout::kMenu.at("Label1")))
{
    setAccessibleName(QStringLiteral("Миры \"Tessaranium\": главное меню"));
    setAccessibleDescription(QStringLiteral("Запуск начинает игру, Инфо рассказывает о ней, Выход закрывает её."));
    // The captions are part of the picture; screen readers need them spelt out.
    Label3.setAccessibleName(QStringLiteral("Запуск"));
    Label2.setAccessibleName(QStringLiteral("Инфо"));
    Label1.setAccessibleName(QStringLiteral("Выход"));
    connect(&Label3, &Label::clicked, this, [this] { handle([this] { Label3_Click(); }); });
    connect(&Label2, &Label::clicked, this, [this] { handle([this] { Label2_Click(); }); });
    connect(&Label1, &Label::clicked, this, [this] { handle([this] { Label1_Click(); }); });
}

QList<QWidget *> MenuScreen::keyboardOrder()
{
    return {&Label3, &Label2, &Label1};
}

void MenuScreen::Form_Load()
{
    services().cursor.InstallGameCursor();
    services().music.send(QStringLiteral("play sound\\menu.mp3"));
}

bool MenuScreen::Form_QueryUnload(CloseReason reason)
{
    return reason != CloseReason::User;
}

void MenuScreen::Label3_Click()
{
    ScreenStack &screens = services().screens;
    try {
        screens.Unload(ScreenId::Game);
        screens.Show(ScreenId::IntoEngine);
        services().music.send(QStringLiteral("close sound\\menu.mp3"));
    } catch (const FileError &) {
        // Tried once more below; a second failure is fatal.
    }
    screens.Unload(ScreenId::Game);
    screens.Show(ScreenId::IntoEngine);
}

void MenuScreen::Label2_Click()
{
    services().screens.Unload(ScreenId::Game);
    services().screens.Show(ScreenId::About);
}

void MenuScreen::Label1_Click()
{
    services().quit.QuitProgram(false);
}

} // namespace tess
