#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace tess {

// Replaces a small file of the game's own folder so that it holds either the
// old or the new bytes whenever the program stops. The new bytes go to a
// temporary file beside it ("b.gdf.Xy12Ab"), which is synced and renamed
// over the old one. A link, a folder, a device or a FIFO in the file's
// place, or a link in place of its folder, is refused and never written
// through. Where the folder forbids new files but the file itself may be
// written, a file of at most one disk sector is overwritten in place with a
// single write at its start (see docs/RELIABILITY.md for what that keeps
// safe). Returns an empty string on success, else the reason in the
// player's words.
QString replaceFileWhole(const QString &path, const QByteArray &bytes);

// Whether fileName is a temporary file that replaceFileWhole left behind for
// one of the target names when it was killed before its rename.
bool isLeftoverTemporary(const QString &fileName, const QStringList &targetNames);

// Removes those leftovers from the folder, regular files only; returns how
// many went. Only safe while no other copy of the game writes there.
int removeLeftoverTemporaries(const QString &folder, const QStringList &targetNames);

} // namespace tess
