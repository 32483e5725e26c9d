#include "tools/story_tool/story_files.h"

#include "shell/core/data_path.h"

#include <QDir>
#include <QFile>

namespace storytool {

StoryFiles::StoryFiles(QString root) : root_(std::move(root)) {}

std::optional<story::Flag> StoryFiles::flagOf(const QString &gamePath)
{
    for (story::Flag flag : story::kAllFlags) {
        if (story::StoryFlags::fileOf(flag) == gamePath)
            return flag;
    }
    return std::nullopt;
}

QByteArray StoryFiles::readAll(const QString &gamePath)
{
    if (const std::optional<story::Flag> flag = flagOf(gamePath)) {
        if (!flags.of(*flag))
            throw tess::FileError(gamePath, QStringLiteral("файл не найден"));
        return *flags.of(*flag);
    }
    if (const auto known = read_.constFind(gamePath); known != read_.cend())
        return *known;
    QFile file(QDir(root_).filePath(tess::localPath(gamePath)));
    if (!file.exists())
        throw tess::FileError(gamePath, QStringLiteral("файл не найден"));
    if (!file.open(QIODevice::ReadOnly))
        throw tess::FileError(gamePath, file.errorString());
    return read_[gamePath] = file.readAll();
}

void StoryFiles::replaceWhole(const QString &gamePath, const QByteArray &bytes)
{
    const std::optional<story::Flag> flag = flagOf(gamePath);
    if (!flag)
        throw tess::FileError(gamePath, QStringLiteral("the story tool writes only the flag files"));
    flags.of(*flag) = bytes;
}

} // namespace storytool
