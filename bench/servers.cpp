#include "servers.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <thread>

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

VirtualDisplay::VirtualDisplay()
{
    int fds[2];
    if (pipe(fds) != 0)
        throw std::runtime_error("pipe failed");
    pid_ = fork();
    if (pid_ == 0) {
        close(fds[0]);
        const int null = open("/dev/null", O_RDWR);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        const std::string fd = std::to_string(fds[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24", "-br", "-nolisten", "tcp",
               static_cast<char *>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    // Xvfb writes its display number once it accepts clients.
    std::string number;
    char c = 0;
    while (read(fds[0], &c, 1) == 1 && c != '\n')
        number += c;
    close(fds[0]);
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
    int fds[2];
    if (pipe(fds) != 0)
        return;
    pid_ = fork();
    if (pid_ == 0) {
        close(fds[0]);
        const std::string fd = "--print-address=" + std::to_string(fds[1]);
        const int null = open("/dev/null", O_RDWR);
        dup2(null, STDERR_FILENO);
        execlp("dbus-daemon", "dbus-daemon", "--session", "--nofork", "--nopidfile", fd.c_str(),
               static_cast<char *>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    std::string address;
    char c = 0;
    while (read(fds[0], &c, 1) == 1 && c != '\n')
        address += c;
    close(fds[0]);
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

} // namespace bench
