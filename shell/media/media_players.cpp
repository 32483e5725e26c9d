#include "shell/media/media_players.h"

#include "shell/media/gstreamer_check.h"

#include <QAudioOutput>
#include <QMediaPlayer>
#include <QUrl>

#include <map>
#include <utility>

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
        // A player that cannot be made is silent, said once in all; its path
        // counts as open, so that closing it later is no second line.
        if (const QString why = whyNoPlayerFits(); !why.isEmpty()) {
            devices_[path] = nullptr;
            if (!std::exchange(toldTooFew_, true))
                failed(why);
            return;
        }
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
        if (found == devices_.end() || !found->second)
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
        if (found->second)
            found->second->player.stop();
        devices_.erase(found);
    }

private:
    std::map<QString, std::unique_ptr<Device>> devices_;
    bool toldTooFew_ = false;
};

} // namespace

std::unique_ptr<MusicPlayers> MediaPlayersBackend::createPlayers(QString &why)
{
    if (qgetenv("QT_MEDIA_BACKEND") == "gstreamer")
        why = whyGStreamerCannotPlay();
    if (!why.isEmpty())
        return nullptr;
    return std::make_unique<MediaPlayers>();
}

} // namespace tess
