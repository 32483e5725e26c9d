#include "shell/desktop/termination_signals.h"

#include <QtGlobal>

#ifdef Q_OS_UNIX
#include <QSocketNotifier>
#include <QTimer>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace tess {
namespace {

constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};
constexpr unsigned kGraceSeconds = 5;

int wakeFds[2] = {-1, -1};
volatile sig_atomic_t startUpStatus = 0;
volatile sig_atomic_t eventLoopRuns = 0;
volatile sig_atomic_t graceStarted = 0;

extern "C" void onTerminationSignal(int)
{
    if (!eventLoopRuns)
        ::_exit(startUpStatus);
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(wakeFds[0], &byte, 1);
    if (!graceStarted) {
        graceStarted = 1;
        ::alarm(kGraceSeconds);
    }
}

extern "C" void onGraceOver(int)
{
    static const char line[] = "tessaranium: the game did not end within 5 s of the signal and ends now\n";
    [[maybe_unused]] const auto written = ::write(STDERR_FILENO, line, sizeof line - 1);
    ::_exit(1);
}

void handle(int signal, void (*handler)(int))
{
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(signal, &action, nullptr);
}

} // namespace

void catchTerminationSignals()
{
    for (int signal : kSignals)
        handle(signal, onTerminationSignal);
    handle(SIGALRM, onGraceOver);
}

void setStartUpExitStatus(int status)
{
    startUpStatus = status;
}

TerminationSignals::TerminationSignals()
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, wakeFds) != 0)
        return;  // signals keep ending the game at once
    auto *notifier = new QSocketNotifier(wakeFds[1], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, [this] {
        char byte;
        [[maybe_unused]] const auto read = ::read(wakeFds[1], &byte, 1);
        emit terminationRequested();
    });
    catchTerminationSignals();
    // From the first turn of the event loop on, it answers.
    QTimer::singleShot(0, this, [] { eventLoopRuns = 1; });
}

TerminationSignals::~TerminationSignals()
{
    eventLoopRuns = 0;
    for (int signal : kSignals)
        ::signal(signal, SIG_DFL);
    for (int &fd : wakeFds) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}

} // namespace tess
#else
namespace tess {
void catchTerminationSignals() {}
void setStartUpExitStatus(int) {}
TerminationSignals::TerminationSignals() = default;
TerminationSignals::~TerminationSignals() = default;
} // namespace tess
#endif
