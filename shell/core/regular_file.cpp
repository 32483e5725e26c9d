#include "shell/core/regular_file.h"

#include "shell/core/file_descriptor.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>

namespace tess {

namespace file_reason {
QString notFound() { return QStringLiteral("файл не найден"); }
QString folderInItsPlace() { return QStringLiteral("на месте файла лежит папка"); }
QString notAPlainFile() { return QStringLiteral("это не обычный файл"); }
QString aLinkInItsPlace() { return QStringLiteral("на месте файла лежит ссылка на другой файл"); }
QString noReadPermission() { return QStringLiteral("нет прав на чтение"); }
QString noWritePermission() { return QStringLiteral("нет прав на запись"); }
QString otherNames() { return QStringLiteral("у файла есть другие имена (жёсткие ссылки), и запись изменила бы и их"); }
QString diskFull() { return QStringLiteral("на диске нет места"); }

QString tooLarge(qint64 bytes)
{
    return QStringLiteral("файл слишком велик (%1 МБ)").arg(bytes / (1024 * 1024));
}

QString largerThan(qint64 bytes)
{
    return QStringLiteral("файл слишком велик (больше %1 МБ)").arg(bytes / (1024 * 1024));
}

QString systemError(int error)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR: return notFound();
    case EACCES:
    case EPERM: return noReadPermission();
    case ENOSPC:
    case EDQUOT: return diskFull();
    default: return QString::fromLocal8Bit(std::strerror(error));
    }
}
} // namespace file_reason

std::optional<QByteArray> readRegularFile(const QString &path, qint64 maxBytes, QString &why)
{
    // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a
    // writer that never comes. The kind is checked on what was opened, so a
    // link swapped in between cannot slip past.
    const QByteArray name = QFile::encodeName(path);
    const FileDescriptor file(::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (file.get() < 0) {
        why = errno == EISDIR ? file_reason::folderInItsPlace() : file_reason::systemError(errno);
        return std::nullopt;
    }
    struct stat status {};
    if (::fstat(file.get(), &status) != 0) {
        why = file_reason::systemError(errno);
        return std::nullopt;
    }
    if (S_ISDIR(status.st_mode)) {
        why = file_reason::folderInItsPlace();
        return std::nullopt;
    }
    if (!S_ISREG(status.st_mode)) {
        why = file_reason::notAPlainFile();
        return std::nullopt;
    }
    if (status.st_size > maxBytes) {
        why = file_reason::tooLarge(status.st_size);
        return std::nullopt;
    }
    // The size is only a hint: files in /proc say 0, and a file may grow
    // while it is read. The cap is kept by what is actually read.
    QByteArray bytes;
    bytes.reserve(qMax<qint64>(status.st_size, 4096) + 1);
    char chunk[65536];
    for (;;) {
        const ssize_t got = ::read(file.get(), chunk, sizeof chunk);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            why = file_reason::systemError(errno);
            return std::nullopt;
        }
        if (got == 0)
            return bytes;
        if (bytes.size() + got > maxBytes) {
            why = file_reason::largerThan(maxBytes);
            return std::nullopt;
        }
        bytes.append(chunk, got);
    }
}

} // namespace tess
