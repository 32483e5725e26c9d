#pragma once
#include <QString>
#include <stdexcept>

namespace tess {

// A game data file that could not be read or written. `path` is the game's
// own spelling of the file ("engdat\b.gdf"), `reason` says why, in words a
// player understands.
class FileError : public std::runtime_error {
public:
    FileError(QString path, QString reason);

    const QString &path() const { return path_; }
    const QString &reason() const { return reason_; }
    // One sentence for the player and for the error stream.
    QString message() const;

private:
    QString path_;
    QString reason_;
};

} // namespace tess
