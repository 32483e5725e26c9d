#pragma once
#include "shell/core/music.h"

#include <QObject>
#include <QStringList>

#include <memory>

namespace tess {

class MusicPlayers;

// Music through Qt Multimedia. "play PATH" opens the device of that path if
// needed and starts it (a device already playing keeps playing); "close PATH"
// stops and releases it. Failures are one line on the error stream; the game
// never waits for the sound system. Commands run in order from the event loop
// once the windows on the screen are drawn: the first one loads the music
// library (tessaranium-music beside the executable) and with it the media
// framework, which takes a tenth of a second or more, and a screen that
// starts its music as it loads should not wait for that to appear. Without
// the library the game plays on in silence, after one line saying why.
class QtMusic final : public QObject, public Music {
public:
    // `libraryFolder`: where the music library lies; empty for the folder of
    // the executable.
    explicit QtMusic(QString libraryFolder = {});
    ~QtMusic() override;

    void send(const QString &command) override;

private:
    void runPending();
    void run(const QString &command);
    void play(const QString &command, const QString &path);
    void close(const QString &command, const QString &path);
    // The players, once the library is loaded; null when it cannot be.
    MusicPlayers *players();
    static void report(const QString &command, const QString &reason);

    QString libraryFolder_;
    QStringList pending_;
    bool loadTried_ = false;
    std::unique_ptr<MusicPlayers> players_;
};

} // namespace tess
