#pragma once
#include <QString>

namespace tess {

// Whether Qt Multimedia's GStreamer players can be made here without
// crashing. Qt 6.4 builds each player's pipeline from a fixed set of
// GStreamer elements and uses them without looking: a plugin that is not
// installed (or a plugin folder of the player's own without it) makes it
// crash. So do too little address space and too few free file descriptors.
// Each returns why music cannot play, in a line for the error stream, or
// nothing.

// Once, before the first player: GStreamer itself, every element the
// players use, and the address space.
QString whyGStreamerCannotPlay();

// Before each player: the file descriptors its pipeline and threads open.
QString whyNoPlayerFits();

} // namespace tess
