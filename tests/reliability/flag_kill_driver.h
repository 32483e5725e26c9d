#pragma once
// The driver side of the flag kill harness: the real story engine and quit
// procedure on the game's real files, playing the clicks that write flags and
// the close that resets them, each write announced on a pipe.
#include <QString>

#include <array>

inline constexpr std::array<const char *, 3> kFlagFiles{"b.gdf", "c.gdf", "bc.gdf"};

// 0, 1 or 2 for the flag file a game path names; -1 for any other file.
int flagIndex(const QString &gamePath);

// Plays in the game folder until killed, reporting on the descriptor.
[[noreturn]] void runDriver(const char *folder, int fd);
