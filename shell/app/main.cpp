#include "shell/app/game.h"

#include <QApplication>

#include <cstdio>

namespace {

// Without a display Qt would abort with a core dump; say it plainly instead.
bool hasDisplay()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    return qEnvironmentVariableIsSet("DISPLAY") || qEnvironmentVariableIsSet("WAYLAND_DISPLAY")
           || qEnvironmentVariableIsSet("QT_QPA_PLATFORM");
#else
    return true;
#endif
}

} // namespace

int main(int argc, char *argv[])
{
    if (!hasDisplay()) {
        std::fputs("tessaranium: no display to show the game on (DISPLAY is not set)\n", stderr);
        return 1;
    }
    // Qt's FFmpeg backend crashes on machines without a sound device.
    if (!qEnvironmentVariableIsSet("QT_MEDIA_BACKEND"))
        qputenv("QT_MEDIA_BACKEND", "gstreamer");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tessaranium"));
    QApplication::setDesktopFileName(QStringLiteral("tessaranium"));
    return tess::runGame(app);
}
