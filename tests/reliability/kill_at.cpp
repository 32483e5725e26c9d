// Asks a process to close with SIGTERM, then kills it with SIGKILL at a
// chosen moment of its close: a fixed delay after the SIGTERM, or a delay
// after the n-th change in a folder it writes to. A shell cannot aim that
// finely; this does, with a busy wait.
//
//   kill_at --time PID                 SIGTERM only; prints the microseconds
//                                      until the process has ended
//   kill_at PID DELAY_US               SIGTERM, DELAY_US, SIGKILL
//   kill_at PID DELAY_US FOLDER N      SIGTERM, the N-th change in FOLDER
//                                      (2 s at most), DELAY_US, SIGKILL
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include <poll.h>
#include <signal.h>
#include <sys/inotify.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

bool ended(pid_t pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line))
        return true;
    const auto close = line.rfind(')');
    return close == std::string::npos || close + 2 >= line.size() || line[close + 2] == 'Z'
           || line[close + 2] == 'X';
}

void busyWait(long micros)
{
    const auto until = Clock::now() + std::chrono::microseconds(micros);
    while (Clock::now() < until) {
    }
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc == 3 && std::strcmp(argv[1], "--time") == 0) {
        const pid_t pid = std::atoi(argv[2]);
        const auto start = Clock::now();
        if (::kill(pid, SIGTERM) != 0)
            return 2;
        while (!ended(pid)) {
            if (Clock::now() - start > std::chrono::seconds(5)) {
                std::puts("still running");
                return 1;
            }
            busyWait(50);
        }
        std::printf("%lld\n", (long long)std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start).count());
        return 0;
    }
    if (argc != 3 && argc != 5) {
        std::fprintf(stderr, "usage: kill_at --time PID | PID DELAY_US [FOLDER N]\n");
        return 2;
    }
    const pid_t pid = std::atoi(argv[1]);
    const long delay = std::atol(argv[2]);
    int seen = 0;
    if (argc == 5) {
        const int wanted = std::atoi(argv[4]);
        const int watch = ::inotify_init1(IN_CLOEXEC);
        if (watch < 0 || ::inotify_add_watch(watch, argv[3], IN_CREATE | IN_MOVED_TO | IN_CLOSE_WRITE | IN_MODIFY) < 0) {
            std::perror("inotify");
            return 2;
        }
        if (::kill(pid, SIGTERM) != 0)
            return 2;
        const auto deadline = Clock::now() + std::chrono::seconds(2);
        alignas(inotify_event) char buffer[4096];
        while (seen < wanted && Clock::now() < deadline) {
            pollfd poller{watch, POLLIN, 0};
            if (::poll(&poller, 1, 10) <= 0)
                continue;
            const ssize_t got = ::read(watch, buffer, sizeof buffer);
            for (ssize_t at = 0; at < got && seen < wanted;) {
                const auto *event = reinterpret_cast<const inotify_event *>(buffer + at);
                ++seen;
                at += ssize_t(sizeof(inotify_event) + event->len);
            }
        }
    } else if (::kill(pid, SIGTERM) != 0) {
        return 2;
    }
    busyWait(delay);
    const bool alive = !ended(pid);
    ::kill(pid, SIGKILL);
    std::printf("%s after %d changes and %ld us\n", alive ? "killed" : "already ended", seen, delay);
    return 0;
}
