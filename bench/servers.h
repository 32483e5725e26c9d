#pragma once
// The servers a desktop would give the game, started for one benchmark run
// and stopped with it: a virtual X display, a session bus and a sound server
// with a null sink.
#include <string>
#include <sys/types.h>

namespace bench {

// Xvfb on the first free display number, black root window (-br); DISPLAY
// points at it while it lives.
class VirtualDisplay {
public:
    VirtualDisplay();
    ~VirtualDisplay();
    VirtualDisplay(const VirtualDisplay &) = delete;
    VirtualDisplay &operator=(const VirtualDisplay &) = delete;

    const std::string &name() const { return name_; }

private:
    pid_t pid_ = -1;
    std::string name_;
};

// PulseAudio with only a null sink, in a private runtime folder that
// XDG_RUNTIME_DIR points at while it lives: music really plays, silently.
class NullSoundServer {
public:
    NullSoundServer();
    ~NullSoundServer();
    NullSoundServer(const NullSoundServer &) = delete;
    NullSoundServer &operator=(const NullSoundServer &) = delete;

    bool running() const { return pid_ > 0; }
    pid_t pid() const { return pid_; }

private:
    pid_t pid_ = -1;
    std::string runtimeDir_;
};

// A D-Bus session bus, as every desktop session has one; without it Qt's
// accessibility bridge would autolaunch a bus on the first window shown.
class SessionBus {
public:
    SessionBus();
    ~SessionBus();
    SessionBus(const SessionBus &) = delete;
    SessionBus &operator=(const SessionBus &) = delete;

private:
    pid_t pid_ = -1;
};

// What a player's desktop gives the game, for the benchmarks that run the real
// game: the display, the session bus and the sound server, with Qt's X11
// platform asked for while it lives.
struct DesktopSession {
    DesktopSession();

    VirtualDisplay display;
    SessionBus bus;
    NullSoundServer sound;
};

// Runs a program with its output thrown away; its pid, or -1.
pid_t spawnQuietly(const std::string &program, const char *const arguments[], const std::string &workDir = {});
void stopProcess(pid_t pid, int signal);

} // namespace bench
