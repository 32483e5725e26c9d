#include "shell/media/media_players.h"

#include <QAudioOutput>
#include <QMediaPlayer>
#include <QUrl>

#include <map>

namespace tess {
namespace {

struct Device {
    QAudioOutput output;
    QMediaPlayer player;
};

class MediaPlayers final : public MusicPlayers {
public:
    bool isOpen(const QString &path) const override { return devices_.contains(path); }

    void open(const QString &path, const QString &file, Failure failed) override
    {
        auto device = std::make_unique<Device>();
        device->player.setAudioOutput(&device->output);
        QObject::connect(&device->player, &QMediaPlayer::errorOccurred, &device->player,
                         [failed = std::move(failed)](QMediaPlayer::Error, const QString &reason) { failed(reason); });
        device->player.setSource(QUrl::fromLocalFile(file));
        devices_[path] = std::move(device);
    }

    void play(const QString &path) override
    {
        const auto found = devices_.find(path);
        if (found == devices_.end())
            return;
        QMediaPlayer &player = found->second->player;
        if (player.playbackState() != QMediaPlayer::PlayingState)
            player.play();
    }

    void close(const QString &path) override
    {
        const auto found = devices_.find(path);
        if (found == devices_.end())
            return;
        found->second->player.stop();
        devices_.erase(found);
    }

private:
    std::map<QString, std::unique_ptr<Device>> devices_;
};

} // namespace

std::unique_ptr<MusicPlayers> MediaPlayersBackend::createPlayers()
{
    return std::make_unique<MediaPlayers>();
}

} // namespace tess
