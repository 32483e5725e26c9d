// Resident memory and CPU use while the game waits for the player, on each of
// its seven screens, with the screen's music really playing (PulseAudio with a
// null sink) and without music (no sound files). The game runs in-process
// with its real services, on a virtual X display, and is led from screen to
// screen by clicks and keys as a player would.
//
// Without arguments the benchmark starts the servers and runs itself once per
// music setting and route, `--music on|off --route gameover|console`, and
// once more as a bare player for comparison, `--music on --route player`.
#include "bench_game.h"
#include "game_folder.h"
#include "servers.h"
#include "stats.h"

#include "shell/app/game.h"
#include "shell/ui/about_screen.h"
#include "shell/ui/intro_screen.h"
#include "shell/ui/menu_screen.h"
#include "shell/ui/qt_music.h"
#include "shell/ui/splash_screen.h"
#include "story/ui/story_screen.h"

#include <QApplication>
#include <QAudioOutput>
#include <QEventLoop>
#include <QFile>
#include <QMediaPlayer>
#include <QProcess>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>

namespace {

using tess::ScreenId;

// The splash gives way after 6.258 s: settling and sampling fit before that.
constexpr int kSettleMs = 750;
constexpr int kWindows = 10;
constexpr int kWindowMs = 500;

void runEventLoopFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

double residentMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return 0;
}

// Streams the sound server is playing right now (not paused).
int playingStreams()
{
    QProcess pactl;
    pactl.start(QStringLiteral("pactl"), {QStringLiteral("list"), QStringLiteral("sink-inputs")});
    if (!pactl.waitForFinished(5000))
        return -1;
    return int(pactl.readAllStandardOutput().count("Corked: no"));
}

void measure(const char *screen, const char *music, bool withTarget = true)
{
    runEventLoopFor(kSettleMs);
    std::vector<double> percent;
    for (int i = 0; i < kWindows; ++i) {
        const double wall = bench::monotonicMs();
        const double cpu = bench::clockMs(CLOCK_PROCESS_CPUTIME_ID);
        runEventLoopFor(kWindowMs);
        percent.push_back(100.0 * (bench::clockMs(CLOCK_PROCESS_CPUTIME_ID) - cpu) / (bench::monotonicMs() - wall));
    }
    const bench::Summary s = bench::summarize(percent);
    const bool silent = std::strcmp(music, "off") == 0;
    const char *target = !withTarget || !silent ? "" : s.median < 1.0 ? "met" : "MISSED";
    std::printf("%-12s %-5s %7zu %7.2f %7.2f %7.2f %7.2f %7.2f %9.1f %8d  %s\n", screen, music, s.runs, s.min, s.p25,
                s.median, s.p75, s.max, residentMiB(), playingStreams(), target);
    std::fflush(stdout);
}

void click(tess::Label &label)
{
    QTest::mouseClick(&label, Qt::LeftButton, {}, label.rect().center());
}

bool waitUntilShown(tess::Screens &screens, ScreenId id)
{
    for (int i = 0; i < 200 && !screens.isShown(id); ++i)
        runEventLoopFor(50);
    return screens.isShown(id);
}

// Leads the game from the splash to the game-over screen, measuring each
// screen on the way, or straight to the console and measures only that.
int runRoute(bool withMusic, bool toConsole)
{
    tess::applyGameLook(*qApp);
    const bench::GameFolder folder(withMusic);
    QDir::setCurrent(QString::fromStdString(folder.path()));
    tess::QtMusic music(QString::fromStdString(folder.path()));  // the copy holds the music library
    bench::BenchGame game(music);
    tess::Screens &screens = game.screens;
    const char *musicLabel = withMusic ? "on" : "off";

    screens.Show(ScreenId::Main);
    if (toConsole) {
        game.screen<tess::SplashScreen>(ScreenId::Main).Timer_Timer();  // what its timer does
    } else {
        measure("Main", musicLabel);
        if (!waitUntilShown(screens, ScreenId::Game))
            return 1;
        measure("Game", musicLabel);
        click(game.screen<tess::MenuScreen>(ScreenId::Game).Label2);
        measure("About", musicLabel);
        click(game.screen<tess::AboutScreen>(ScreenId::About).Label2);
    }
    click(game.screen<tess::MenuScreen>(ScreenId::Game).Label3);
    if (!toConsole)
        measure("IntoEngine", musicLabel);
    click(game.screen<tess::IntroScreen>(ScreenId::IntoEngine).Label2);
    auto &story = game.screen<story::StoryScreen>(ScreenId::Engine);
    if (toConsole) {
        QTest::keyClick(&story, Qt::Key_Comma, Qt::KeypadModifier);
        if (!screens.isShown(ScreenId::BLNC))
            return 1;
        measure("BLNC", musicLabel);
        return 0;
    }
    measure("Engine", musicLabel);
    QTest::keyClick(&story, Qt::Key_F8);
    click(story.Label2);
    if (!screens.isShown(ScreenId::GameOver))
        return 1;
    measure("GameOver", musicLabel);
    return 0;
}

// The audio backend's own cost: one bare player with the story's track and
// nothing else, no window.
int runBarePlayer()
{
    const bench::GameFolder folder(true);
    QAudioOutput output;
    QMediaPlayer player;
    player.setAudioOutput(&output);
    player.setSource(QUrl::fromLocalFile(QString::fromStdString(folder.path() + "/sound/trackgp.mp3")));
    player.play();
    measure("bare player", "on", false);
    return 0;
}

int runChild(const char *self, const char *music, const char *route)
{
    std::fflush(stdout);
    const pid_t pid = fork();
    if (pid == 0) {
        // The game's own lines (a sound file missing on purpose) are expected.
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDERR_FILENO);
        execl(self, self, "--music", music, "--route", route, static_cast<char *>(nullptr));
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc == 5 && std::strcmp(argv[1], "--music") == 0) {
        QApplication app(argc, argv);
        if (std::strcmp(argv[4], "player") == 0)
            return runBarePlayer();
        return runRoute(std::strcmp(argv[2], "on") == 0, std::strcmp(argv[4], "console") == 0);
    }

    const bench::DesktopSession desktop;
    const bench::VirtualDisplay &display = desktop.display;
    const bench::NullSoundServer &sound = desktop.sound;
    std::printf("Idle on each screen (Xvfb %s, QT_QPA_PLATFORM=xcb, sound server: %s): CPU %% of one core over\n"
                "%d windows of %d ms after %d ms on the screen; resident memory (VmRSS) after them; streams playing\n",
                display.name().c_str(), sound.running() ? "PulseAudio with a null sink" : "none", kWindows,
                kWindowMs, kSettleMs);
    bench::printLoad();
    std::printf("%-12s %-5s %7s %7s %7s %7s %7s %7s %9s %8s  %s\n", "screen", "music", "windows", "min", "p25",
                "median", "p75", "max", "RSS MiB", "streams", "under 1 %");
    int failures = 0;
    for (const char *music : {"off", "on"}) {
        for (const char *route : {"gameover", "console"}) {
            if (runChild(argv[0], music, route) != 0) {
                std::fprintf(stderr, "bench_idle: the %s route with music %s did not reach its screens\n", route, music);
                ++failures;
            }
        }
    }
    if (runChild(argv[0], "on", "player") != 0)
        ++failures;
    std::printf("target: idle CPU under 1 %% of a core without music (median of each screen)\n\n");
    return failures == 0 ? 0 : 1;
}
