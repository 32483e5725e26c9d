// SIGTERM at any moment: during the start-up it ends the process at once with
// the start-up's status; once the event loop runs it is delivered there; and
// a game stuck after it (a handler that never returns) still ends, with
// status 1, five seconds later. Each case runs in a child process of its own.
// The real game is signalled on every screen by
// tests/reliability/signals_every_screen.sh.
#include "shell/desktop/termination_signals.h"

#include <QEventLoop>
#include <QElapsedTimer>
#include <QTimer>
#include <QtTest>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using namespace tess;

namespace {

struct Ending {
    int status = -1;     // exit status, -1 when ended by a signal
    qint64 afterMs = 0;  // from the signal
};

// Runs `child` in a process of its own, which writes one byte to `ready`
// once it waits for the signal; then sends SIGTERM and waits for its end.
template <typename Child>
Ending signalled(Child child)
{
    int ready[2];
    if (::pipe(ready) != 0)
        return {};
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(ready[0]);
        child(ready[1]);
        ::_exit(99);
    }
    ::close(ready[1]);
    char byte = 0;
    [[maybe_unused]] const auto got = ::read(ready[0], &byte, 1);
    ::close(ready[0]);
    QElapsedTimer clock;
    clock.start();
    ::kill(pid, SIGTERM);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, clock.elapsed()};
}

void sayReady(int ready)
{
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(ready, &byte, 1);
}

} // namespace

class TerminationSignalsTest : public QObject {
    Q_OBJECT

private slots:
    void duringTheStartUpASignalEndsTheProcessAtOnceWithTheStartUpsStatus()
    {
        for (int status : {0, 1}) {
            const Ending ending = signalled([status](int ready) {
                catchTerminationSignals();
                setStartUpExitStatus(status);
                sayReady(ready);
                ::sleep(30);  // stuck, as on a desktop service that never answers
            });
            QCOMPARE(ending.status, status);
            QVERIFY2(ending.afterMs < 2000, qPrintable(QString::number(ending.afterMs)));
        }
    }

    void onceTheEventLoopRunsTheSignalIsDeliveredThere()
    {
        const Ending ending = signalled([](int ready) {
            QEventLoop loop;
            catchTerminationSignals();
            TerminationSignals terminations;
            QObject::connect(&terminations, &TerminationSignals::terminationRequested, &loop, [] { ::_exit(7); });
            QTimer::singleShot(0, &loop, [ready] { sayReady(ready); });
            loop.exec();
        });
        QCOMPARE(ending.status, 7);
    }

    void aGameStuckAfterTheSignalEndsByItselfWithStatus1()
    {
        const Ending ending = signalled([](int ready) {
            QEventLoop loop;
            TerminationSignals terminations;
            QObject::connect(&terminations, &TerminationSignals::terminationRequested, &loop, [] { ::pause(); });
            QTimer::singleShot(0, &loop, [ready] { sayReady(ready); });
            loop.exec();
        });
        QCOMPARE(ending.status, 1);
        QVERIFY2(ending.afterMs >= 4500 && ending.afterMs < 9000, qPrintable(QString::number(ending.afterMs)));
    }
};

QTEST_GUILESS_MAIN(TerminationSignalsTest)
#include "termination_signals_test.moc"
