#include "proc_usage.h"

#include <dirent.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace bench {

namespace {

std::string procPath(pid_t pid, const std::string &rest)
{
    return "/proc/" + std::to_string(pid) + "/" + rest;
}

std::vector<std::string> threadsOf(pid_t pid)
{
    std::vector<std::string> tids;
    DIR *dir = opendir(procPath(pid, "task").c_str());
    if (!dir)
        return tids;
    while (const dirent *entry = readdir(dir)) {
        if (entry->d_name[0] != '.')
            tids.emplace_back(entry->d_name);
    }
    closedir(dir);
    return tids;
}

// Each thread's stack pointer, from /proc/PID/task/TID/syscall (readable by
// the parent): the anonymous mapping that holds it is that thread's stack.
std::vector<std::uint64_t> stackPointers(pid_t pid)
{
    std::vector<std::uint64_t> pointers;
    for (const std::string &tid : threadsOf(pid)) {
        std::ifstream in(procPath(pid, "task/" + tid + "/syscall"));
        std::vector<std::string> words;
        for (std::string word; in >> word;)
            words.push_back(word);
        if (words.size() >= 9)  // nr, six arguments, sp, pc
            pointers.push_back(std::stoull(words[7], nullptr, 16));
    }
    return pointers;
}

bool contains(const std::string &text, const char *part)
{
    return text.find(part) != std::string::npos;
}

enum Part { Game, Qt, Sound, OtherLibs, MainHeap, Arenas, Stacks, SharedImages, Fonts, Files, Anonymous, Other, kParts };

constexpr std::array<const char *, kParts> kNames = {
    "game binary",
    "Qt libraries and plugins (no Multimedia)",
    "sound: Qt Multimedia, GStreamer, PulseAudio, codecs",
    "other shared libraries (libc, ICU, X11, fonts...)",
    "heap: main malloc arena",
    "heap: other malloc arenas (threads)",
    "thread stacks",
    "X11 shared memory (backing stores)",
    "font files",
    "other file mappings (locale, caches)",
    "other anonymous (large allocations)",
    "other (vdso, main stack...)",
};

Part partOf(const std::string &path, std::uint64_t start, bool hasStack)
{
    constexpr std::uint64_t kArenaAlignment = 64ull << 20;  // glibc's HEAP_MAX_SIZE on 64-bit
    if (path.empty()) {
        if (hasStack)
            return Stacks;
        return start % kArenaAlignment == 0 ? Arenas : Anonymous;
    }
    if (path == "[heap]")
        return MainHeap;
    if (path[0] == '[')
        return Other;
    if (contains(path, "/SYSV") || contains(path, "/memfd:"))
        return SharedImages;
    if (contains(path, "/tessaranium"))
        return Game;
    const bool library = contains(path, ".so");
    if (contains(path, "gst") || contains(path, "pulse") || contains(path, "Multimedia") || contains(path, "libsndfile")
        || contains(path, "libasound") || contains(path, "libFLAC") || contains(path, "libvorbis")
        || contains(path, "libogg") || contains(path, "libopus") || contains(path, "libmpg123")
        || contains(path, "libmp3lame") || contains(path, "liborc"))
        return Sound;
    if (contains(path, "libQt6") || contains(path, "/qt6/plugins/"))
        return Qt;
    if (library)
        return OtherLibs;
    if (contains(path, "/fonts/") || contains(path, ".ttf") || contains(path, ".otf"))
        return Fonts;
    return Files;
}

} // namespace

double cpuNs(pid_t pid)
{
    double total = 0;
    for (const std::string &tid : threadsOf(pid)) {
        std::ifstream in(procPath(pid, "task/" + tid + "/schedstat"));
        double ns = 0;
        if (in >> ns)
            total += ns;
    }
    return total;
}

double residentMiB(pid_t pid)
{
    std::ifstream in(procPath(pid, "status"));
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stod(line.substr(6)) / 1024.0;
    }
    return 0;
}

std::vector<std::pair<std::string, double>> residentBreakdown(pid_t pid)
{
    const std::vector<std::uint64_t> stacks = stackPointers(pid);
    std::array<double, kParts> kib{};
    std::ifstream in(procPath(pid, "smaps"));
    Part current = Other;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("Rss:", 0) == 0) {
            kib[current] += std::stod(line.substr(4));
            continue;
        }
        const std::size_t dash = line.find('-');
        const std::size_t space = line.find(' ');
        if (dash == std::string::npos || space == std::string::npos || dash > space)
            continue;  // another field of the current mapping
        const std::uint64_t start = std::stoull(line.substr(0, dash), nullptr, 16);
        const std::uint64_t end = std::stoull(line.substr(dash + 1, space - dash - 1), nullptr, 16);
        std::istringstream fields(line);
        std::string range, perms, offset, device, inode, path;
        fields >> range >> perms >> offset >> device >> inode;
        std::getline(fields >> std::ws, path);
        bool hasStack = false;
        for (std::uint64_t sp : stacks)
            hasStack = hasStack || (sp >= start && sp < end);
        current = partOf(path, start, hasStack);
    }
    std::vector<std::pair<std::string, double>> parts;
    for (int part = 0; part < kParts; ++part)
        parts.emplace_back(kNames[part], kib[part] / 1024.0);
    return parts;
}

} // namespace bench
