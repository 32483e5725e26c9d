#include "shell/screens/splash_screen.h"

#include "shell/core/music.h"
#include "shell/toolkit/screens.h"

#include <QPainter>
#include <QResource>

namespace tess {
namespace {

constexpr QRect kLogoRect = twipsRect(2520, 2400, 7065, 4170);

// The logo's pixels as they lie in the program (blue, green, red, 255 each,
// row by row, the size of its place): drawn from there without a decoder,
// the first thing the game shows costs no image plugin. A logo of the wrong
// size is left out rather than drawn askew.
QImage rawLogo()
{
    const QResource resource(QStringLiteral(":/pictures/splash_logo.bgrx"));
    const qint64 bytes = qint64(kLogoRect.width()) * kLogoRect.height() * 4;
    if (!resource.isValid() || resource.compressionAlgorithm() != QResource::NoCompression
        || resource.size() != bytes)
        return {};
    const auto *pixels = resource.data();
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    return QImage(pixels, kLogoRect.width(), kLogoRect.height(), QImage::Format_RGB32);
#else
    return QImage(pixels, kLogoRect.width(), kLogoRect.height(), QImage::Format_RGBX8888).rgbSwapped();
#endif
}

} // namespace

SplashScreen::SplashScreen(Services &services)
    : Screen(services, ScreenId::Main, {11985, 8895}, QString()),
      Image1(rawLogo())
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
    painter.drawImage(kLogoRect.topLeft(), Image1);
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
