#pragma once

namespace tess {

// Keeps GStreamer's automatic choice of audio output away from JACK: on a
// machine without a sound server it would otherwise try the JACK sink,
// whose library has crashed the game there. Must run before Qt Multimedia
// starts GStreamer; a rank the player set for the JACK sink still wins.
void keepJackOutOfTheMusic();

} // namespace tess
