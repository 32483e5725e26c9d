#include "shell/core/disk_files.h"

#include "shell/core/data_path.h"
#include "shell/core/regular_file.h"
#include "shell/core/whole_file_writer.h"

namespace tess {
namespace {

// The game's data files are pages and one-line flags of a few kilobytes; a
// file far larger is not one of them, and showing it would stall the game.
constexpr qint64 kMaxDataFileBytes = 4 * 1024 * 1024;

} // namespace

QByteArray DiskFiles::readAll(const QString &gamePath)
{
    QString why;
    std::optional<QByteArray> bytes = readRegularFile(localPath(gamePath), kMaxDataFileBytes, why);
    if (!bytes)
        throw FileError(gamePath, why);
    return std::move(*bytes);
}

void DiskFiles::replaceWhole(const QString &gamePath, const QByteArray &bytes)
{
    if (const QString why = replaceFileWhole(localPath(gamePath), bytes); !why.isEmpty())
        throw FileError(gamePath, why);
}

} // namespace tess
