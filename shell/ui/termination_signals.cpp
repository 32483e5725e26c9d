#include "shell/ui/termination_signals.h"

#include <QtGlobal>

#ifdef Q_OS_UNIX
#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace tess {
namespace {

int wakeFds[2] = {-1, -1};

extern "C" void onTerminationSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(wakeFds[0], &byte, 1);
}

} // namespace

TerminationSignals::TerminationSignals()
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, wakeFds) != 0)
        return;
    auto *notifier = new QSocketNotifier(wakeFds[1], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, [this] {
        char byte;
        [[maybe_unused]] const auto read = ::read(wakeFds[1], &byte, 1);
        emit terminationRequested();
    });
    struct sigaction action = {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : {SIGTERM, SIGHUP, SIGINT})
        ::sigaction(signal, &action, nullptr);
}

TerminationSignals::~TerminationSignals()
{
    for (int signal : {SIGTERM, SIGHUP, SIGINT})
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
TerminationSignals::TerminationSignals() = default;
TerminationSignals::~TerminationSignals() = default;
} // namespace tess
#endif
