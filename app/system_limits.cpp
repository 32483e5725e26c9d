#include "app/system_limits.h"

#include <QtGlobal>

#include <cstdio>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif

namespace tess {

#ifdef Q_OS_UNIX
namespace {

// The game alone, on its busiest screen, holds about 30 descriptors and 120
// MB of address space.
constexpr rlim_t kDescriptors = 64;
constexpr rlim_t kAddressSpace = rlim_t(256) << 20;

// True when the limit is at least `needed`, raising the soft limit first.
bool atLeast(int resource, rlim_t needed, rlim_t &allowed)
{
    rlimit limit {};
    if (::getrlimit(resource, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY || limit.rlim_cur >= needed)
        return true;
    if (limit.rlim_max == RLIM_INFINITY || limit.rlim_max >= needed) {
        limit.rlim_cur = needed;
        if (::setrlimit(resource, &limit) == 0)
            return true;
    }
    allowed = limit.rlim_max;
    return false;
}

} // namespace

bool haveWhatTheGameNeeds()
{
    rlim_t allowed = 0;
    if (!atLeast(RLIMIT_NOFILE, kDescriptors, allowed)) {
        std::fprintf(stderr, "tessaranium: the game needs %llu open files, and this session allows %llu (ulimit -n)\n",
                     static_cast<unsigned long long>(kDescriptors), static_cast<unsigned long long>(allowed));
        return false;
    }
    if (!atLeast(RLIMIT_AS, kAddressSpace, allowed)) {
        std::fprintf(stderr, "tessaranium: the game needs %llu MB of address space, and this session allows %llu MB (ulimit -v)\n",
                     static_cast<unsigned long long>(kAddressSpace >> 20), static_cast<unsigned long long>(allowed >> 20));
        return false;
    }
    return true;
}
#else
bool haveWhatTheGameNeeds()
{
    return true;
}
#endif

} // namespace tess
