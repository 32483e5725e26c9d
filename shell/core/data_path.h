#pragma once
#include <QString>

namespace tess {

// Data paths are written Windows-style in the game ("sound\menu.mp3"); this is
// the one place that turns them into paths of the platform.
QString localPath(QStringView gamePath);

} // namespace tess
