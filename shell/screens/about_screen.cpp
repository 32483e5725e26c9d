#include "shell/screens/about_screen.h"

#include "shell/core/text_loader.h"
#include "shell/toolkit/screens.h"

namespace tess {

AboutScreen::AboutScreen(Services &services)
    : Screen(services, ScreenId::About, {11955, 8865}, QStringLiteral(":/pictures/about.gif")),
      Text1(this, twipsRect(720, 3960, 7935, 4455), 0x00808000, 0x80000007),
      Label2(this, twipsRect(8880, 240, 2895, 735)),
      Label1(this, twipsRect(1800, 1320, 6015, 1815))
{
    Text1.setFont(layoutFont(QStringLiteral("MS Serif"), 8.25));
    setAccessibleName(QStringLiteral("Миры \"Tessaranium\": об игре"));
    setAccessibleDescription(QStringLiteral("Рассказ об игре и её авторах; Назад возвращает в главное меню."));
    Text1.setAccessibleName(QStringLiteral("Об игре"));
    Label2.setAccessibleName(QStringLiteral("Назад"));  // drawn in the picture
    connect(&Label2, &Label::clicked, this, [this] { handle([this] { Label2_Click(); }); });
}

QList<QWidget *> AboutScreen::keyboardOrder()
{
    return {&Text1, &Label2};
}

void AboutScreen::Form_Load()
{
    services().loader.AppendTextFile(QStringLiteral("text\\read.tf"), Text1);
}

bool AboutScreen::Form_QueryUnload(CloseReason reason)
{
    return reason != CloseReason::User;
}

void AboutScreen::Label2_Click()
{
    services().screens.Unload(ScreenId::About);
    services().screens.Show(ScreenId::Game);
}

} // namespace tess
