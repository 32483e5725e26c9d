#pragma once
#include "shell/core/files.h"

namespace tess {

// Files relative to the working directory, the game folder.
class DiskFiles final : public Files {
public:
    QByteArray readAll(const QString &gamePath) override;
    void replaceWhole(const QString &gamePath, const QByteArray &bytes) override;
};

} // namespace tess
