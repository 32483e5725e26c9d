#include "shell/ui/splash_screen.h"

#include "shell/core/music.h"
#include "shell/ui/screens.h"

#include <QPainter>

namespace tess {
namespace {

constexpr QRect kLogoRect = twipsRect(2520, 2400, 7065, 4170);

} // namespace

SplashScreen::SplashScreen(Services &services)
    : Screen(services, ScreenId::Main, {11985, 8895}, QString()),
      Image1(QStringLiteral(":/pictures/splash_logo.gif"))
{
    setAccessibleName(QStringLiteral("Миры \"Tessaranium\": заставка"));
    // The logo is painted, not a child, so the screen itself says what it shows.
    setAccessibleDescription(QStringLiteral("Логотип студии и надпись «представляет Миры «Tessaranium»». "
                                            "Через несколько секунд откроется главное меню."));
    Timer.setInterval(kSplashMs);
    Timer.setSingleShot(false);
    // A coarse timer may fire up to a twentieth early; the splash lasts its full time.
    Timer.setTimerType(Qt::PreciseTimer);
    connect(&Timer, &QTimer::timeout, this, [this] { handle([this] { Timer_Timer(); }); });
    Timer.start();
}

void SplashScreen::paintEvent(QPaintEvent *event)
{
    Screen::paintEvent(event);
    QPainter painter(this);
    painter.drawPixmap(kLogoRect.topLeft(), Image1);
}

void SplashScreen::Form_Load()
{
    services().music.send(QStringLiteral("play sound\\into.mp3"));
}

bool SplashScreen::Form_QueryUnload(CloseReason reason)
{
    return reason != CloseReason::User;
}

void SplashScreen::Timer_Timer()
{
    Timer.stop();
    services().screens.Unload(ScreenId::Main);
    services().screens.Show(ScreenId::Game);
}

} // namespace tess
