#pragma once
#include <QString>
#include <QtPlugin>

#include <functional>
#include <memory>

namespace tess {

// The players behind the music, one per data path ("sound\menu.mp3"), each
// on a file the caller has found on disk. They live in a library of their
// own, loaded on the first "play": the media framework it links is a
// quarter of the libraries the game would otherwise load before its first
// window.
class MusicPlayers {
public:
    // A failure the media framework finds later, from its own thread or
    // the event loop: a line for the error stream.
    using Failure = std::function<void(const QString &reason)>;

    virtual ~MusicPlayers() = default;
    virtual bool isOpen(const QString &path) const = 0;
    // Opens the player of `path` on `file`.
    virtual void open(const QString &path, const QString &file, Failure failed) = 0;
    // Starts the player of `path` unless it is playing already.
    virtual void play(const QString &path) = 0;
    // Stops and releases the player of `path`.
    virtual void close(const QString &path) = 0;
};

// What the library offers: players, which the caller owns; none when the
// media framework cannot play here without crashing, with `why` set to a
// line for the error stream.
class MusicBackend {
public:
    virtual ~MusicBackend() = default;
    virtual std::unique_ptr<MusicPlayers> createPlayers(QString &why) = 0;
};

} // namespace tess

#define TESS_MUSIC_BACKEND_IID "ru.orbitrum_games.tessaranium.MusicBackend/2"
Q_DECLARE_INTERFACE(tess::MusicBackend, TESS_MUSIC_BACKEND_IID)
