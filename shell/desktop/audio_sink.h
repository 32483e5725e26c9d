#pragma once
#include <QString>

namespace tess {

// Prepares GStreamer's audio output for the game's music; must run before Qt
// Multimedia starts GStreamer. Two things:
// - its automatic choice of output is kept away from JACK: on a machine
//   without a sound server it would otherwise try the JACK sink, whose
//   library has crashed the game there (a rank the player set for the JACK
//   sink still wins);
// - a missing sound server is one line on the error stream, however many
//   tracks fail to reach it.
void prepareAudioOutput();

// A player's failure that only says the sound server cannot be reached (none
// was there, or it went away while the game ran): said once in all, as that
// one line. True when `reason` was such a failure.
bool foldIntoNoSoundServer(const QString &reason);

} // namespace tess
