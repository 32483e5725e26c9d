#pragma once
#include "shell/core/music_backend.h"

#include <QObject>

namespace tess {

// The music library: players on Qt Multimedia (GStreamer on Linux).
class MediaPlayersBackend final : public QObject, public MusicBackend {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID TESS_MUSIC_BACKEND_IID)
    Q_INTERFACES(tess::MusicBackend)

public:
    std::unique_ptr<MusicPlayers> createPlayers(QString &why) override;
};

} // namespace tess
