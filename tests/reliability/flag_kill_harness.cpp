// Kills a process that writes the story flags, with SIGKILL, at random
// moments, and checks after every kill that each flag file still holds
// exactly "0\r\n" or "1\r\n": the value it had before the write in flight, or
// the value being written, never an empty, partial or missing file.
//
// The process killed is this same program started as a driver: the real
// story engine and the real quit procedure on real files (DiskFiles in a
// temporary game folder), playing the clicks that write flags and the close
// that resets them, over and over. It reports each write on a pipe just
// before and just after it, so most kills can be aimed at the writes
// (flag_kill_driver.cpp).
//
//   flag_kill_harness --texts DIR [--trials N] [--seed S] [--folder DIR]
//   flag_kill_harness --driver GAME_FOLDER REPORT_FD     (started by the above)
#include "flag_kill_driver.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

// ---------------------------------------------------------------- harness

struct Write {
    int flag;
    char value;
    char phase;
};

struct Trial {
    std::vector<Write> begun;
    int completed = 0;
};

std::string readFile(const std::string &path, bool *exists)
{
    std::string bytes;
    FILE *file = std::fopen(path.c_str(), "rb");
    *exists = file != nullptr;
    if (!file)
        return bytes;
    char buffer[64];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        bytes.append(buffer, got);
    std::fclose(file);
    return bytes;
}

std::string shown(const std::string &bytes)
{
    std::string out;
    for (unsigned char ch : bytes) {
        char piece[8];
        if (ch >= 0x20 && ch < 0x7f)
            std::snprintf(piece, sizeof piece, "%c", ch);
        else
            std::snprintf(piece, sizeof piece, "\\x%02x", ch);
        out += piece;
    }
    return out;
}

class Harness {
public:
    Harness(std::string self, std::string folder, std::uint64_t seed)
        : self_(std::move(self)), folder_(std::move(folder)), random_(seed)
    {
    }

    pid_t spawn(int *readFd)
    {
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) != 0) {
            std::perror("pipe2");
            std::exit(2);
        }
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::close(fds[0]);
            ::fcntl(fds[1], F_SETFD, 0);
            const std::string fd = std::to_string(fds[1]);
            ::execl(self_.c_str(), self_.c_str(), "--driver", folder_.c_str(), fd.c_str(), nullptr);
            std::_Exit(6);
        }
        ::close(fds[1]);
        *readFd = fds[0];
        return pid;
    }

    // Reads what the driver reported so far, waiting at most `waitMs` for the
    // first byte; false when the pipe is closed or nothing came in time.
    bool pump(int fd, Trial &trial, int waitMs, std::string &partial)
    {
        pollfd poller{fd, POLLIN, 0};
        if (::poll(&poller, 1, waitMs) <= 0)
            return false;
        char buffer[256];
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got <= 0)
            return false;
        partial.append(buffer, std::size_t(got));
        std::size_t at = 0;
        while (at < partial.size()) {
            if (partial[at] == 'E') {
                ++trial.completed;
                ++at;
            } else if (partial[at] == 'B' && at + 4 <= partial.size()) {
                trial.begun.push_back({partial[at + 1] - '0', partial[at + 2], partial[at + 3]});
                at += 4;
            } else {
                break;
            }
        }
        partial.erase(0, at);
        return true;
    }

    static void pauseFor(std::chrono::microseconds delay)
    {
        // Busy-wait: a sleep would round short delays up to the scheduler's tick.
        const auto until = Clock::now() + delay;
        while (Clock::now() < until) {
        }
    }

    // Times a few hundred writes, so that kills can be spread over a write.
    std::chrono::microseconds calibrate()
    {
        int fd;
        const pid_t pid = spawn(&fd);
        Trial trial;
        std::string partial;
        std::vector<double> spans;
        Clock::time_point begunAt{};
        bool timing = false;
        int seenBegun = 0;
        int seenCompleted = 0;
        while (spans.size() < 200 && pump(fd, trial, 10000, partial)) {
            const auto now = Clock::now();
            if (int(trial.begun.size()) > seenBegun) {
                seenBegun = int(trial.begun.size());
                begunAt = now;
                timing = true;
            }
            if (trial.completed > seenCompleted) {
                seenCompleted = trial.completed;
                if (timing && seenCompleted == seenBegun)
                    spans.push_back(std::chrono::duration<double, std::micro>(now - begunAt).count());
                timing = false;
            }
        }
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
        ::close(fd);
        if (spans.empty()) {
            std::fprintf(stderr, "FAIL: the driver reported no write; see its messages above\n");
            std::exit(1);
        }
        std::sort(spans.begin(), spans.end());
        const double median = spans[spans.size() / 2];
        std::printf("one flag write takes %.0f us (median of %zu), %.0f us at the 90th percentile\n", median,
                    spans.size(), spans[spans.size() * 9 / 10]);
        return std::chrono::microseconds(std::max<long>(50, long(median * 2)));
    }

    struct Outcome {
        bool ok = true;
        bool inFlight = false;
        char inFlightPhase = 0;
        int writesDone = 0;
    };

    Outcome runTrial(int number, std::chrono::microseconds writeSpan)
    {
        int fd;
        const auto started = Clock::now();
        const pid_t pid = spawn(&fd);
        Trial trial;
        std::string partial;

        // A quarter of the kills fall anywhere from the start of the process;
        // the rest at a random point of a random write.
        const bool anywhere = std::uniform_int_distribution<int>(0, 3)(random_) == 0;
        if (anywhere) {
            pauseFor(std::chrono::microseconds(std::uniform_int_distribution<long>(0, 30000)(random_)));
        } else {
            const int writes = std::uniform_int_distribution<int>(1, 8)(random_);
            while (int(trial.begun.size()) < writes && pump(fd, trial, 10000, partial)) {
            }
            pauseFor(std::chrono::microseconds(std::uniform_int_distribution<long>(0, writeSpan.count())(random_)));
        }
        ::kill(pid, SIGKILL);
        int status = 0;
        ::waitpid(pid, &status, 0);
        while (pump(fd, trial, 0, partial)) {
        }
        ::close(fd);
        elapsed_ += Clock::now() - started;

        Outcome outcome;
        if (!WIFSIGNALED(status) || WTERMSIG(status) != SIGKILL) {
            std::printf("FAIL: trial %d: the driver ended by itself (status %d) instead of being killed\n", number,
                        status);
            outcome.ok = false;
        }
        // What each flag may hold now: its value before the trial, updated by
        // every finished write, or the value of the write in flight.
        std::array<char, 3> settled = values_;
        for (int i = 0; i < trial.completed && i < int(trial.begun.size()); ++i)
            settled[std::size_t(trial.begun[std::size_t(i)].flag)] = trial.begun[std::size_t(i)].value;
        std::optional<Write> inFlight;
        if (int(trial.begun.size()) > trial.completed)
            inFlight = trial.begun.back();
        outcome.inFlight = inFlight.has_value();
        outcome.inFlightPhase = inFlight ? inFlight->phase : 0;
        outcome.writesDone = trial.completed;

        for (std::size_t f = 0; f < 3; ++f) {
            bool exists = false;
            const std::string bytes = readFile(folder_ + "/engdat/" + kFlagFiles[f], &exists);
            const bool wellFormed = exists && bytes.size() == 3 && (bytes[0] == '0' || bytes[0] == '1')
                                    && bytes[1] == '\r' && bytes[2] == '\n';
            const bool expected = wellFormed
                                  && (bytes[0] == settled[f]
                                      || (inFlight && std::size_t(inFlight->flag) == f && bytes[0] == inFlight->value));
            if (!exists) {
                std::printf("FAIL: trial %d: engdat/%s is missing\n", number, kFlagFiles[f]);
            } else if (!wellFormed) {
                std::printf("FAIL: trial %d: engdat/%s holds \"%s\"\n", number, kFlagFiles[f], shown(bytes).c_str());
            } else if (!expected) {
                std::printf("FAIL: trial %d: engdat/%s holds %c, expected %c%s\n", number, kFlagFiles[f], bytes[0],
                            settled[f], inFlight && std::size_t(inFlight->flag) == f ? " or the value in flight" : "");
            }
            if (!expected) {
                outcome.ok = false;
                // Go on from a sound folder.
                FILE *file = std::fopen((folder_ + "/engdat/" + kFlagFiles[f]).c_str(), "wb");
                if (file) {
                    std::fputs("0\r\n", file);
                    std::fclose(file);
                }
                values_[f] = '0';
            } else {
                values_[f] = bytes[0];
            }
        }
        // Anything else in engdat/ is a temporary file a write left behind.
        const QStringList entries = QDir(QString::fromStdString(folder_ + "/engdat"))
                                        .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        for (const QString &entry : entries) {
            if (flagIndex(QStringLiteral("engdat\\") + entry) < 0) {
                ++strayFiles_;
                QFile::remove(QString::fromStdString(folder_ + "/engdat/") + entry);
            }
        }
        return outcome;
    }

    void seedFlags()
    {
        for (const char *file : kFlagFiles) {
            FILE *out = std::fopen((folder_ + "/engdat/" + file).c_str(), "wb");
            std::fputs("0\r\n", out);
            std::fclose(out);
        }
        values_ = {'0', '0', '0'};
    }

    int strayFiles() const { return strayFiles_; }
    double seconds() const { return std::chrono::duration<double>(elapsed_).count(); }

private:
    std::string self_;
    std::string folder_;
    std::mt19937_64 random_;
    std::array<char, 3> values_{'0', '0', '0'};
    int strayFiles_ = 0;
    Clock::duration elapsed_{};
};

bool copyTexts(const QString &from, const QString &to)
{
    QDir().mkpath(to);
    const QStringList pages = QDir(from).entryList({QStringLiteral("*.tf")}, QDir::Files);
    for (const QString &page : pages) {
        if (!QFile::copy(from + u'/' + page, to + u'/' + page))
            return false;
    }
    return !pages.isEmpty();
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc == 4 && std::strcmp(argv[1], "--driver") == 0)
        runDriver(argv[2], std::atoi(argv[3]));

    int trials = 1000;
    std::uint64_t seed = 20240611;
    QString texts;
    QString folder;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--trials")
            trials = std::atoi(argv[i + 1]);
        else if (option == "--seed")
            seed = std::strtoull(argv[i + 1], nullptr, 10);
        else if (option == "--texts")
            texts = QString::fromLocal8Bit(argv[i + 1]);
        else if (option == "--folder")
            folder = QString::fromLocal8Bit(argv[i + 1]);
    }
    if (texts.isEmpty()) {
        std::fprintf(stderr, "usage: %s --texts SOURCE/text [--trials N] [--seed S] [--folder DIR]\n", argv[0]);
        return 2;
    }
    ::prctl(PR_SET_TIMERSLACK, 1UL);

    QTemporaryDir temporary;
    if (folder.isEmpty())
        folder = temporary.path();
    if (!copyTexts(texts, folder + QStringLiteral("/text")) || !QDir().mkpath(folder + QStringLiteral("/engdat"))) {
        std::fprintf(stderr, "cannot lay out the game folder %s\n", folder.toLocal8Bit().constData());
        return 2;
    }

    char self[4096];
    const ssize_t length = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0)
        return 2;
    self[length] = '\0';

    Harness harness(self, folder.toStdString(), seed);
    harness.seedFlags();
    std::printf("game folder %s, seed %llu\n", folder.toLocal8Bit().constData(), (unsigned long long)seed);
    const auto span = harness.calibrate();
    harness.seedFlags();

    int passed = 0;
    int failed = 0;
    int insideClick = 0;
    int insideClose = 0;
    long writes = 0;
    for (int trial = 1; trial <= trials; ++trial) {
        const auto outcome = harness.runTrial(trial, span);
        (outcome.ok ? passed : failed)++;
        writes += outcome.writesDone;
        if (outcome.inFlight)
            (outcome.inFlightPhase == 'q' ? insideClose : insideClick)++;
    }
    std::printf("%d kills: %d while a click wrote a flag, %d while the close reset them, %d between writes; "
                "%ld writes finished before the kills\n",
                trials, insideClick, insideClose, trials - insideClick - insideClose, writes);
    std::printf("temporary files left in engdat/ by killed writes: %d\n", harness.strayFiles());
    std::printf("%.1f s of trials\n", harness.seconds());
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
