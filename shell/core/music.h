#pragma once
#include <QString>

namespace tess {

// Background music, driven by command strings such as "play sound\menu.mp3"
// and "close sound\menu.mp3". Each path is its own device. A command that
// fails is reported and forgotten: music never stops the game.
class Music {
public:
    virtual ~Music() = default;
    virtual void send(const QString &command) = 0;
};

} // namespace tess
