#include "shell/ui/qt_music.h"

#include "shell/core/data_path.h"
#include "shell/ui/audio_sink.h"

#include <QAudioOutput>
#include <QGuiApplication>
#include <QFileInfo>
#include <QMediaPlayer>
#include <QTimer>
#include <QUrl>
#include <QWindow>

#include <algorithm>

#include <cstdio>
#include <utility>

namespace tess {

struct QtMusic::Device {
    QAudioOutput output;
    QMediaPlayer player;
};

namespace {

// A window shown but not yet drawn: its first expose is still on its way.
bool aWindowIsComingUp()
{
    const QWindowList windows = QGuiApplication::topLevelWindows();
    return std::any_of(windows.begin(), windows.end(),
                       [](const QWindow *window) { return window->isVisible() && !window->isExposed(); });
}

// How long music waits for windows to be drawn at most (a minimised window
// never is): 40 times 5 ms.
constexpr int kMaxWaits = 40;
constexpr int kWaitMs = 5;

} // namespace

QtMusic::QtMusic()
{
    prepareAudioOutput();
}

QtMusic::~QtMusic() = default;

void QtMusic::send(const QString &command)
{
    pending_.append(command);
    if (pending_.size() == 1)
        QMetaObject::invokeMethod(this, &QtMusic::runPending, Qt::QueuedConnection);
}

void QtMusic::runPending()
{
    if (aWindowIsComingUp() && ++waits_ < kMaxWaits) {
        QTimer::singleShot(kWaitMs, this, &QtMusic::runPending);
        return;
    }
    waits_ = 0;
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
