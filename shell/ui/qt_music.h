#pragma once
#include "shell/core/music.h"

#include <QObject>
#include <QStringList>

#include <map>
#include <memory>

class QAudioOutput;
class QMediaPlayer;

namespace tess {

// Music through Qt Multimedia. "play PATH" opens the device of that path if
// needed and starts it (a device already playing keeps playing); "close PATH"
// stops and releases it. Failures are one line on the error stream; the game
// never waits for the sound system. Commands run in order from the event loop
// once the windows on the screen are drawn: the first player loads the media
// framework, which takes a tenth of a second or more, and a screen that
// starts its music as it loads should not wait for that to appear.
class QtMusic final : public QObject, public Music {
public:
    QtMusic();
    ~QtMusic() override;

    void send(const QString &command) override;

private:
    struct Device;
    void runPending();
    void run(const QString &command);
    void play(const QString &command, const QString &path);
    void close(const QString &command, const QString &path);
    static void report(const QString &command, const QString &reason);

    QStringList pending_;
    std::map<QString, std::unique_ptr<Device>> devices_;
};

} // namespace tess
