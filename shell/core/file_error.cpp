#include "shell/core/file_error.h"

namespace tess {

FileError::FileError(QString path, QString reason)
    : std::runtime_error((path + QStringLiteral(": ") + reason).toStdString()),
      path_(std::move(path)),
      reason_(std::move(reason))
{
}

QString FileError::message() const
{
    return QStringLiteral("Файл «%1»: %2.").arg(path_, reason_);
}

} // namespace tess
