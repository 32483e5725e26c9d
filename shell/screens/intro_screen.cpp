#include "shell/screens/intro_screen.h"

#include "shell/core/music.h"
#include "shell/core/text_loader.h"
#include "shell/layout/shell_layouts.h"
#include "shell/desktop/quit_procedure.h"
#include "shell/toolkit/screens.h"

namespace tess {

IntroScreen::IntroScreen(Services &services)
    : Screen(services, ScreenId::IntoEngine, twipsSize(layout::kIntro.client), QStringLiteral(":/pictures/intro.gif")),
      Label1(this, pixelRect(layout::kIntro.at("Label1")), Qt::AlignHCenter),
      Label2(this, pixelRect(layout::kIntro.at("Label2")), Qt::AlignHCenter)
{
    setAccessibleName(QStringLiteral("Миры \"Tessaranium\": вступление"));
    setAccessibleDescription(QStringLiteral("Предыстория; кнопка Начать игру открывает первую страницу."));
    Label1.setForeground(layoutColor(0x80000007));
    Label2.setText(QStringLiteral("Начать игру"));
    Label2.setForeground(layoutColor(0x00C0C0C0));
    Label2.setFont(layoutFont(QStringLiteral("MS Sans Serif"), 24));
    connect(&Label2, &Label::clicked, this, [this] { handle([this] { Label2_Click(); }); });
}

QList<QWidget *> IntroScreen::keyboardOrder()
{
    return {&Label1, &Label2};
}

void IntroScreen::Form_Load()
{
    services().music.send(QStringLiteral("play sound\\intoeng.mp3"));
    services().loader.AppendTextFile(QStringLiteral("text\\into.tf"), Label1);
}

bool IntroScreen::Form_QueryUnload(CloseReason)
{
    services().quit.QuitProgram(false);
    return true;
}

void IntroScreen::Label2_Click()
{
    ScreenStack &screens = services().screens;
    try {
        screens.Hide(ScreenId::IntoEngine);
        screens.Show(ScreenId::Engine);
        services().music.send(QStringLiteral("close sound\\intoeng.mp3"));
    } catch (const FileError &) {
        // Tried once more below; a second failure is fatal.
    }
    screens.Hide(ScreenId::IntoEngine);
    screens.Show(ScreenId::Engine);
}

} // namespace tess
