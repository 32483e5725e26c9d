#include "app/game.h"
#include "app/silent_buses.h"
#include "app/system_limits.h"
#include "shell/core/program_folder.h"
#include "shell/desktop/single_game.h"
#include "shell/desktop/termination_signals.h"
#include "story/core/story_flags.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

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

// Desktops find a program's menu entry, icon and mixer row by these names.
// Qt makes WM_CLASS from the executable's file name and the application name;
// both are pinned, so a renamed or wrapped executable still matches the
// StartupWMClass of tessaranium.desktop.
void nameTheGameForTheDesktop()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    if (!qEnvironmentVariableIsSet("RESOURCE_NAME"))
        qputenv("RESOURCE_NAME", "tessaranium");
    // PulseAudio (and PipeWire's stand-in) reads this before it connects, so it
    // also names the streams GStreamer opens later; without it the mixer shows
    // the executable's name. The player's own overrides, set after ours, win.
    QByteArray props = QByteArrayLiteral("application.name='Миры \"Tessaranium\"' "
                                         "application.id='tessaranium' application.icon_name='tessaranium'");
    const QByteArray own = qgetenv("PULSE_PROP_OVERRIDE");
    if (!own.isEmpty())
        props += ' ' + own;
    qputenv("PULSE_PROP_OVERRIDE", props);
#endif
    QCoreApplication::setApplicationName(QStringLiteral("tessaranium"));
}

// A display that is named but cannot be opened (the X server gone, a stale
// DISPLAY) makes Qt abort with a core dump while the application starts.
// Until it has started, a fatal message ends the game plainly instead.
QtMessageHandler qtMessageHandler = nullptr;

void startupMessage(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type != QtFatalMsg) {
        if (qtMessageHandler)
            qtMessageHandler(type, context, message);
        return;
    }
    std::fprintf(stderr, "tessaranium: no display to show the game on (cannot open \"%s\")\n",
                 qgetenv("DISPLAY").constData());
    std::fflush(stderr);
    std::_Exit(1);
}

// Each screen's picture is 1.8 MiB decoded. Once the first is freed glibc
// would raise its mmap threshold above that and put the later ones in the
// heap, whose freed middle it seldom gives back; a fixed threshold hands
// every picture back to the system when its screen lets it go.
void giveLargeBlocksBack()
{
#if defined(__GLIBC__)
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
#endif
}

} // namespace

int main(int argc, char *argv[])
{
    tess::catchTerminationSignals();
    if (!hasDisplay()) {
        std::fputs("tessaranium: no display to show the game on (DISPLAY is not set)\n", stderr);
        return 1;
    }
    if (!tess::haveWhatTheGameNeeds())
        return 1;
    // Qt's FFmpeg backend crashes on machines without a sound device.
    if (!qEnvironmentVariableIsSet("QT_MEDIA_BACKEND"))
        qputenv("QT_MEDIA_BACKEND", "gstreamer");
    if (!tess::findProgramFolder(argc > 0 ? argv[0] : nullptr))
        std::fputs("tessaranium: the game's own folder cannot be found; it plays without its cursor and music\n", stderr);
    tess::switchOffSilentBuses();
    nameTheGameForTheDesktop();
    giveLargeBlocksBack();
    qtMessageHandler = qInstallMessageHandler(startupMessage);
    QApplication app(argc, argv);
    qInstallMessageHandler(qtMessageHandler);
    QApplication::setDesktopFileName(QStringLiteral("tessaranium"));
    QStringList flagFiles;
    for (story::Flag flag : story::kAllFlags)
        flagFiles.append(story::StoryFlags::fileOf(flag));
    if (!tess::claimGameFolder(flagFiles))
        return 1;
    return tess::runGame(app);
}
