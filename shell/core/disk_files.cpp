#include "shell/core/disk_files.h"

#include "shell/core/data_path.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStorageInfo>

namespace tess {
namespace {

// The game's data files are pages and one-line flags of a few kilobytes; a
// file far larger is not one of them, and showing it would stall the game.
constexpr qint64 kMaxDataFileBytes = 4 * 1024 * 1024;

QString whyUnreadable(const QFileInfo &info, const QFile &file)
{
    if (!info.exists())
        return QStringLiteral("файл не найден");
    if (info.isDir())
        return QStringLiteral("на месте файла лежит папка");
    if (!info.isReadable())
        return QStringLiteral("нет прав на чтение");
    return file.errorString();
}

QString whyUnwritable(const QFileInfo &info, const QSaveFile &file)
{
    const QFileInfo folder(info.absolutePath());
    if (!folder.isDir())
        return QStringLiteral("нет папки «%1»").arg(folder.fileName());
    if (info.isDir())
        return QStringLiteral("на месте файла лежит папка");
    if (!folder.isWritable() || (info.exists() && !info.isWritable()))
        return QStringLiteral("нет прав на запись");
    if (const QStorageInfo disk(folder.absoluteFilePath()); disk.isValid() && disk.bytesAvailable() == 0)
        return QStringLiteral("на диске нет места");
    return file.errorString();
}

} // namespace

QByteArray DiskFiles::readAll(const QString &gamePath)
{
    const QString path = localPath(gamePath);
    const QFileInfo info(path);
    QFile file(path);
    if (info.isDir() || !file.open(QIODevice::ReadOnly))
        throw FileError(gamePath, whyUnreadable(info, file));
    if (file.size() > kMaxDataFileBytes)
        throw FileError(gamePath, QStringLiteral("файл слишком велик (%1 МБ)").arg(file.size() / (1024 * 1024)));
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw FileError(gamePath, file.errorString());
    return bytes;
}

void DiskFiles::replaceWhole(const QString &gamePath, const QByteArray &bytes)
{
    // QSaveFile writes a temporary file beside the target and renames it over
    // the old one only once everything is on disk. The write is flushed and
    // checked before the commit: on a full disk the buffered bytes fail only
    // then, and commit() would still rename the empty temporary file over
    // the old one.
    const QString path = localPath(gamePath);
    const QFileInfo info(path);
    QSaveFile file(path);
    const bool written = !info.isDir() && file.open(QIODevice::WriteOnly)
                         && file.write(bytes) == bytes.size() && file.flush() && file.commit();
    if (!written)
        throw FileError(gamePath, whyUnwritable(info, file));
}

} // namespace tess
