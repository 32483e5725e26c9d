#pragma once

#include <QStringList>

namespace tess {

// Claims the game folder (the working directory) for this copy of the game,
// once the application object exists and before any screen or file is
// touched. Returns true when this copy may run: it then holds the folder's
// lock, has removed what killed writes of the flag files (data paths such
// as "engdat\\b.gdf") left behind, and comes to the front when another start
// asks. When a copy already runs in the folder,
// that one is asked to come to the front, the player is told in one
// message, and false is returned: the caller ends with status 1 without
// touching anything.
bool claimGameFolder(const QStringList &flagFiles);

} // namespace tess
