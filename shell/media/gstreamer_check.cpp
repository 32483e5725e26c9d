#include "shell/media/gstreamer_check.h"

#include <QStringList>

#include <cerrno>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

namespace tess {
namespace {

// Every element a player of Qt 6.4 makes for itself and for the file it is
// given (seen with GST_DEBUG=GST_ELEMENT_FACTORY:4), and the Debian package
// that brings it.
struct Element {
    const char *name;
    const char *package;
};
constexpr Element kElements[] = {
    {"queue", "libgstreamer1.0-0"},
    {"input-selector", "libgstreamer1.0-0"},
    {"fakesink", "libgstreamer1.0-0"},
    {"filesrc", "libgstreamer1.0-0"},
    {"typefind", "libgstreamer1.0-0"},
    {"uridecodebin", "gstreamer1.0-plugins-base"},
    {"decodebin", "gstreamer1.0-plugins-base"},
    {"audioconvert", "gstreamer1.0-plugins-base"},
    {"audioresample", "gstreamer1.0-plugins-base"},
    {"volume", "gstreamer1.0-plugins-base"},
    {"videoconvert", "gstreamer1.0-plugins-base"},
    {"autoaudiosink", "gstreamer1.0-plugins-good"},
};

// What the players take at most beyond the game itself: about 8 descriptors
// each with a margin, and the address space their threads and the sound
// server's shared memory reserve (the game with music reaches 0.9 GB).
constexpr int kDescriptorsPerPlayer = 16;
constexpr rlim_t kAddressSpace = rlim_t(1) << 30;

// The part of GLib's error that GStreamer fills in.
struct GError {
    quint32 domain;
    int code;
    char *message;
};
using InitCheck = int (*)(int *, char ***, GError **);
using FactoryFind = void *(*)(const char *);
using Unref = void (*)(void *);

QString checkLibrary()
{
    // The library Qt's GStreamer backend links; it is loaded here a moment
    // before Qt would load it.
    void *library = ::dlopen("libgstreamer-1.0.so.0", RTLD_NOW | RTLD_LOCAL);
    if (!library)
        return QStringLiteral("GStreamer is not installed (%1)").arg(QString::fromLocal8Bit(::dlerror()));
    const auto init = reinterpret_cast<InitCheck>(::dlsym(library, "gst_init_check"));
    const auto find = reinterpret_cast<FactoryFind>(::dlsym(library, "gst_element_factory_find"));
    const auto unref = reinterpret_cast<Unref>(::dlsym(library, "gst_object_unref"));
    if (!init || !find || !unref)
        return QStringLiteral("GStreamer's library lacks its functions");
    GError *error = nullptr;
    if (!init(nullptr, nullptr, &error))
        return QStringLiteral("GStreamer cannot start (%1)")
            .arg(error && error->message ? QString::fromUtf8(error->message) : QStringLiteral("no reason given"));
    QStringList missing;
    QStringList packages;
    for (const Element &element : kElements) {
        void *factory = find(element.name);
        if (factory) {
            unref(factory);
            continue;
        }
        missing.append(QString::fromLatin1(element.name));
        if (!packages.contains(QLatin1String(element.package)))
            packages.append(QString::fromLatin1(element.package));
    }
    if (!missing.isEmpty())
        return QStringLiteral("GStreamer lacks %1 (from %2)").arg(missing.join(QStringLiteral(", ")),
                                                                 packages.join(QStringLiteral(", ")));
    return {};
}

} // namespace

QString whyGStreamerCannotPlay()
{
    rlimit space {};
    if (::getrlimit(RLIMIT_AS, &space) == 0 && space.rlim_cur != RLIM_INFINITY && space.rlim_cur < kAddressSpace)
        return QStringLiteral("the music needs 1 GB of address space, and this session allows %1 MB (ulimit -v)")
            .arg(qulonglong(space.rlim_cur >> 20));
    return checkLibrary();
}

QString whyNoPlayerFits()
{
    int spare[kDescriptorsPerPlayer];
    spare[0] = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    if (spare[0] < 0 && errno != EMFILE && errno != ENFILE)
        return {};  // no /dev/null to count with: the players are left to try
    int opened = spare[0] < 0 ? 0 : 1;
    while (opened > 0 && opened < kDescriptorsPerPlayer) {
        spare[opened] = ::fcntl(spare[0], F_DUPFD_CLOEXEC, 0);
        if (spare[opened] < 0)
            break;
        ++opened;
    }
    const bool enough = opened == kDescriptorsPerPlayer;
    while (opened > 0)
        ::close(spare[--opened]);
    if (enough)
        return {};
    return QStringLiteral("too few file descriptors are left for another player (ulimit -n)");
}

} // namespace tess
