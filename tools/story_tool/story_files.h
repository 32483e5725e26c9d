#pragma once
#include "shell/core/files.h"
#include "tools/story_tool/flag_files.h"

#include <QHash>

#include <optional>

namespace storytool {

// The game's files as the tool plays them: the three flag files in memory,
// everything else read once from the story's folder on disk and never written.
class StoryFiles final : public tess::Files {
public:
    explicit StoryFiles(QString root);

    FlagFiles flags;

    QByteArray readAll(const QString &gamePath) override;
    void replaceWhole(const QString &gamePath, const QByteArray &bytes) override;

private:
    static std::optional<story::Flag> flagOf(const QString &gamePath);

    QString root_;
    QHash<QString, QByteArray> read_;
};

} // namespace storytool
