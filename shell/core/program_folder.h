#pragma once
#include <QString>

namespace tess {

// Paths to the game's two folders that the system can open whatever the
// folders' names: their bytes are never decoded, and no path longer than the
// system takes is ever built from them.
//
// The program's folder (the executable, its cursor and music library): on
// Linux it is opened once, from the kernel's own link to the executable or,
// where that path is too long to read, from the name the game was started
// by, checked to lead to the same executable, and reached as
// /proc/self/fd/N. Elsewhere it is Qt's applicationDirPath(). Call
// findProgramFolder from main before anything changes the working folder
// (the game never does); false when the folder cannot be found: then
// programFolder() is empty and nothing is read from it.
bool findProgramFolder(const char *argv0);
QString programFolder();

// The working folder (the game folder) as a full path, for the few users
// that need one, such as the media framework: /proc/self/cwd on Linux.
// Everything else opens the data paths relative to it.
QString workingFolder();

} // namespace tess
