#include "shell/desktop/qt_music.h"

#include "shell/core/data_path.h"
#include "shell/core/music_backend.h"
#include "shell/core/program_folder.h"
#include "shell/desktop/after_first_frame.h"
#include "shell/desktop/audio_sink.h"

#include <QFileInfo>
#include <QPluginLoader>

#include <cstdio>
#include <utility>

namespace tess {

QtMusic::QtMusic(QString libraryFolder) : libraryFolder_(std::move(libraryFolder))
{
    prepareAudioOutput();
}

// The players go while the application still runs; the library itself is
// never unloaded, so no code of it can be called after it is gone.
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

MusicPlayers *QtMusic::players()
{
    if (std::exchange(loadTried_, true))
        return players_.get();
    const QString folder = libraryFolder_.isEmpty() ? programFolder() : libraryFolder_;
    if (folder.isEmpty())
        return nullptr;  // the start-up has said the folder cannot be found
    QPluginLoader library(folder + QStringLiteral("/tessaranium-music"));
    auto *backend = qobject_cast<MusicBackend *>(library.instance());
    QString why;
    if (backend)
        players_ = backend->createPlayers(why);
    else
        why = library.errorString();
    if (!players_)
        std::fprintf(stderr, "tessaranium: music: the game plays without sound: %s\n", why.toLocal8Bit().constData());
    return players_.get();
}

void QtMusic::play(const QString &command, const QString &path)
{
    // The file is looked for first: a game without its music never loads the
    // media framework at all.
    const bool open = players_ && players_->isOpen(path);
    QString file;
    if (!open) {
        const QFileInfo found(localPath(path));
        if (!found.isFile()) {
            report(command, QStringLiteral("file not found"));
            return;
        }
        // The media framework wants a full path; one through the working
        // folder's link needs neither its name nor its length.
        file = workingFolder() + u'/' + localPath(path);
    }
    MusicPlayers *players = this->players();
    if (!players)
        return;
    if (!open)
        players->open(path, file, [command](const QString &reason) { report(command, reason); });
    players->play(path);
}

void QtMusic::close(const QString &command, const QString &path)
{
    if (loadTried_ && !players_)
        return;  // no music at all, as already said
    MusicPlayers *players = players_.get();
    if (!players || !players->isOpen(path)) {
        report(command, QStringLiteral("device not open"));
        return;
    }
    players->close(path);
}

void QtMusic::report(const QString &command, const QString &reason)
{
    if (foldIntoNoSoundServer(reason))
        return;
    std::fprintf(stderr, "tessaranium: music: \"%s\": %s\n", command.toLocal8Bit().constData(),
                 reason.toLocal8Bit().constData());
}

} // namespace tess
