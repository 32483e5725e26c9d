#include "shell/ui/qt_music.h"

#include "shell/core/data_path.h"
#include "shell/ui/audio_sink.h"
#include "shell/ui/after_first_frame.h"

#include <QAudioOutput>
#include <QFileInfo>
#include <QMediaPlayer>
#include <QUrl>

#include <cstdio>
#include <utility>

namespace tess {

struct QtMusic::Device {
    QAudioOutput output;
    QMediaPlayer player;
};

QtMusic::QtMusic()
{
    prepareAudioOutput();
}

QtMusic::~QtMusic() = default;

void QtMusic::send(const QString &command)
{
    pending_.append(command);
    if (pending_.size() == 1)
        afterWindowsAreDrawn(this, [this] { runPending(); });
}

void QtMusic::runPending()
{
    const QStringList commands = std::exchange(pending_, {});
    for (const QString &command : commands)
        run(command);
}

void QtMusic::run(const QString &command)
{
    const qsizetype space = command.indexOf(u' ');
    const QString verb = command.left(space);
    const QString path = space < 0 ? QString() : command.mid(space + 1);
    if (verb == u"play" && !path.isEmpty())
        play(command, path);
    else if (verb == u"close" && !path.isEmpty())
        close(command, path);
    else
        report(command, QStringLiteral("unknown command"));
}

void QtMusic::play(const QString &command, const QString &path)
{
    auto found = devices_.find(path);
    if (found == devices_.end()) {
        const QFileInfo file(localPath(path));
        if (!file.isFile()) {
            report(command, QStringLiteral("file not found"));
            return;
        }
        auto device = std::make_unique<Device>();
        device->player.setAudioOutput(&device->output);
        connect(&device->player, &QMediaPlayer::errorOccurred, this,
                [command](QMediaPlayer::Error, const QString &reason) { report(command, reason); });
        device->player.setSource(QUrl::fromLocalFile(file.absoluteFilePath()));
        found = devices_.emplace(path, std::move(device)).first;
    }
    QMediaPlayer &player = found->second->player;
    if (player.playbackState() != QMediaPlayer::PlayingState)
        player.play();
}

void QtMusic::close(const QString &command, const QString &path)
{
    const auto found = devices_.find(path);
    if (found == devices_.end()) {
        report(command, QStringLiteral("device not open"));
        return;
    }
    found->second->player.stop();
    devices_.erase(found);
}

void QtMusic::report(const QString &command, const QString &reason)
{
    std::fprintf(stderr, "tessaranium: music: \"%s\": %s\n", command.toLocal8Bit().constData(),
                 reason.toLocal8Bit().constData());
}

} // namespace tess
