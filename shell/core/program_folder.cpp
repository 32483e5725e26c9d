#include "shell/core/program_folder.h"

#include <QCoreApplication>
#include <QDir>

#ifdef Q_OS_LINUX
#include <QByteArray>

#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tess {

#ifdef Q_OS_LINUX
namespace {

QString folderPath;

// Whether `name` in the folder is this very executable.
bool holdsTheExecutable(int folder, const QByteArray &name)
{
    struct stat running {};
    struct stat candidate {};
    return ::stat("/proc/self/exe", &running) == 0 && ::fstatat(folder, name.constData(), &candidate, 0) == 0
           && running.st_dev == candidate.st_dev && running.st_ino == candidate.st_ino;
}

// Opens the folder of `file` (a path relative to the working folder, or a
// full one) when it holds the running executable; -1 otherwise.
int openFolderOf(const QByteArray &file)
{
    const qsizetype slash = file.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : file.left(slash);
    const int fd = ::open(folder.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0 && !holdsTheExecutable(fd, file.mid(slash + 1))) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// The kernel's link names the executable exactly, but cannot be read when
// the path is longer than a page.
QByteArray executablePath()
{
    QByteArray path(1 << 16, Qt::Uninitialized);
    const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size());
    if (length <= 0 || length >= path.size())
        return {};
    path.truncate(length);
    return path;
}

// How the game was started: a path, or a name found on PATH.
int openFolderFromStart(const QByteArray &start)
{
    if (start.isEmpty())
        return -1;
    if (start.contains('/'))
        return openFolderOf(start);
    for (const QByteArray &folder : qgetenv("PATH").split(':')) {
        const int fd = openFolderOf((folder.isEmpty() ? QByteArray(".") : folder) + '/' + start);
        if (fd >= 0)
            return fd;
    }
    return -1;
}

} // namespace

bool findProgramFolder(const char *argv0)
{
    int fd = -1;
    const QByteArray executable = executablePath();
    if (!executable.isEmpty())
        fd = openFolderOf(executable);
    if (fd < 0)
        fd = openFolderFromStart(argv0 ? QByteArray(argv0) : QByteArray());
    folderPath = fd < 0 ? QString() : QStringLiteral("/proc/self/fd/%1").arg(fd);
    return fd >= 0;
}

QString programFolder()
{
    return folderPath;
}

QString workingFolder()
{
    return QStringLiteral("/proc/self/cwd");
}
#else
bool findProgramFolder(const char *)
{
    return true;
}

QString programFolder()
{
    return QCoreApplication::applicationDirPath();
}

QString workingFolder()
{
    return QDir::currentPath();
}
#endif

} // namespace tess
