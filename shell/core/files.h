#pragma once
#include "shell/core/file_error.h"

#include <QByteArray>
#include <QString>

namespace tess {

// The game's data files, named as the game writes them ("text\gt1.tf").
// Every file is read or written whole; nothing stays open between events.
class Files {
public:
    virtual ~Files() = default;
    // Throws FileError when the file cannot be read.
    virtual QByteArray readAll(const QString &gamePath) = 0;
    // Replaces the file so that it holds either the old or the new bytes,
    // never a mix, whenever the program stops. Throws FileError on failure.
    virtual void replaceWhole(const QString &gamePath, const QByteArray &bytes) = 0;
};

} // namespace tess
