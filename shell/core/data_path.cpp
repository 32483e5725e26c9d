#include "shell/core/data_path.h"

#include <QDir>

namespace tess {

QString localPath(QStringView gamePath)
{
    QString path = gamePath.toString();
    path.replace(u'\\', u'/');
    return QDir::cleanPath(path);
}

} // namespace tess
