#include "servers.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace bench {

pid_t spawnQuietly(const std::string &program, const char *const arguments[], const std::string &workDir)
{
    const pid_t pid = fork();
    if (pid != 0)
        return pid;
    const int null = open("/dev/null", O_RDWR);
    dup2(null, STDIN_FILENO);
    dup2(null, STDOUT_FILENO);
    dup2(null, STDERR_FILENO);
    if (!workDir.empty() && chdir(workDir.c_str()) != 0)
        _exit(127);
    execvp(program.c_str(), const_cast<char *const *>(arguments));
    _exit(127);
}

void stopProcess(pid_t pid, int signal)
{
    if (pid <= 0)
        return;
    kill(pid, signal);
    waitpid(pid, nullptr, 0);
}

namespace {

// Starts a server that writes one line to a pipe once it serves (Xvfb its
// display number, dbus-daemon its address) and reads that line; it stays
// empty when the server did not start. `command` gets the pipe's descriptor.
pid_t startAndReadLine(const std::function<std::vector<std::string>(int fd)> &command, std::string &line)
{
    int fds[2];
    if (pipe(fds) != 0)
        return -1;
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        const int null = open("/dev/null", O_RDWR);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        std::vector<std::string> words = command(fds[1]);
        std::vector<char *> arguments;
        for (std::string &word : words)
            arguments.push_back(word.data());
        arguments.push_back(nullptr);
        execvp(arguments[0], arguments.data());
        _exit(127);
    }
    close(fds[1]);
    char c = 0;
    while (read(fds[0], &c, 1) == 1 && c != '\n')
        line += c;
    close(fds[0]);
    return pid;
}

} // namespace

VirtualDisplay::VirtualDisplay()
{
    std::string number;
    pid_ = startAndReadLine(
        [](int fd) {
            return std::vector<std::string>{"Xvfb", "-displayfd", std::to_string(fd), "-screen", "0", "1280x1024x24",
                                            "-br", "-nolisten", "tcp"};
        },
        number);
    if (number.empty())
        throw std::runtime_error("Xvfb did not start (is it installed?)");
    name_ = ":" + number;
    setenv("DISPLAY", name_.c_str(), 1);
}

VirtualDisplay::~VirtualDisplay()
{
    stopProcess(pid_, SIGTERM);
}

SessionBus::SessionBus()
{
    std::string address;
    pid_ = startAndReadLine(
        [](int fd) {
            return std::vector<std::string>{"dbus-daemon", "--session", "--nofork", "--nopidfile",
                                            "--print-address=" + std::to_string(fd)};
        },
        address);
    if (address.empty()) {
        std::fprintf(stderr, "bench: no session bus (is dbus-daemon installed?)\n");
        stopProcess(pid_, SIGTERM);
        pid_ = -1;
        return;
    }
    setenv("DBUS_SESSION_BUS_ADDRESS", address.c_str(), 1);
}

SessionBus::~SessionBus()
{
    stopProcess(pid_, SIGTERM);
}

NullSoundServer::NullSoundServer()
{
    char folder[] = "/tmp/bench-pulse-XXXXXX";
    if (!mkdtemp(folder))
        return;
    runtimeDir_ = folder;
    setenv("XDG_RUNTIME_DIR", folder, 1);
    const char *const arguments[] = {"pulseaudio", "--daemonize=no", "--exit-idle-time=-1", "-n",
                                     "--load=module-null-sink sink_name=null",
                                     "--load=module-native-protocol-unix", nullptr};
    pid_ = spawnQuietly("pulseaudio", arguments);
    const std::filesystem::path socket = runtimeDir_ + "/pulse/native";
    for (int i = 0; i < 200 && !std::filesystem::exists(socket); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    if (!std::filesystem::exists(socket)) {
        std::fprintf(stderr, "bench: the sound server did not start; music will be silent\n");
        stopProcess(pid_, SIGTERM);
        pid_ = -1;
    }
}

NullSoundServer::~NullSoundServer()
{
    stopProcess(pid_, SIGTERM);
    if (!runtimeDir_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(runtimeDir_, ignored);
    }
}

DesktopSession::DesktopSession()
{
    setenv("QT_QPA_PLATFORM", "xcb", 1);
}

} // namespace bench
