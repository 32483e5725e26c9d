#pragma once
#include "shell/core/files.h"
#include "shell/core/regular_file.h"

#include <QMap>
#include <QSet>

// Game data files held in memory, with files that can be made to fail for
// the reasons the disk services give.
class MemoryFiles final : public tess::Files {
public:
    QMap<QString, QByteArray> content;
    QSet<QString> unreadable;
    QSet<QString> unwritable;
    int writes = 0;

    QByteArray readAll(const QString &path) override
    {
        if (unreadable.contains(path) || !content.contains(path))
            throw tess::FileError(path, tess::file_reason::notFound());
        return content.value(path);
    }

    void replaceWhole(const QString &path, const QByteArray &bytes) override
    {
        if (unwritable.contains(path))
            throw tess::FileError(path, tess::file_reason::diskFull());
        ++writes;
        content[path] = bytes;
    }
};
