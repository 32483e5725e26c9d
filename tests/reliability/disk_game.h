#pragma once
// The whole game wired with its real files: DiskFiles in a temporary game
// folder that becomes the working directory, the way the game runs from its
// own folder. Music, cursor, alerts and the end of the program are recorded,
// so a test sees what the player would be shown and the process lives on.
#include "recorders.h"

#include "app/game_wiring.h"
#include "shell/core/disk_files.h"
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

// A game folder with the shipped texts and the three flags; it is the
// working directory while it lives.
class GameFolder {
public:
    // Under `parent` when given (a mounted file system, say), else in the
    // system's temporary folder.
    explicit GameFolder(const QString &parent = QString())
        : dir_(parent.isEmpty() ? QDir::tempPath() + QStringLiteral("/tess-XXXXXX")
                                : parent + QStringLiteral("/tess-XXXXXX")),
          previous_(QDir::currentPath())
    {
        if (!dir_.isValid())
            qFatal("cannot make a game folder: %s", qPrintable(dir_.errorString()));
        QDir root(dir_.path());
        root.mkpath(QStringLiteral("text"));
        root.mkpath(QStringLiteral("engdat"));
        const QDir texts(QStringLiteral(TESS_SOURCE_DIR "/text"));
        for (const QString &page : texts.entryList({QStringLiteral("*.tf")}, QDir::Files))
            QFile::copy(texts.filePath(page), root.filePath(QStringLiteral("text/") + page));
        setFlags("111");
        QDir::setCurrent(dir_.path());
    }
    ~GameFolder()
    {
        QDir::setCurrent(previous_);
        // Put back what a test took away, so the folder can be removed.
        QFile::setPermissions(path(QStringLiteral("engdat")), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    GameFolder(const GameFolder &) = delete;
    GameFolder &operator=(const GameFolder &) = delete;

    QString path(const QString &relative) const { return dir_.filePath(relative); }

    // "101" sets b, c and bc to 1, 0 and 1, each as the game writes them.
    void setFlags(const char *letters)
    {
        const char *names[] = {"b", "c", "bc"};
        for (int i = 0; i < 3; ++i) {
            QFile file(path(QStringLiteral("engdat/%1.gdf").arg(QLatin1String(names[i]))));
            file.open(QIODevice::WriteOnly | QIODevice::Truncate);
            file.write(QByteArray(1, letters[i]) + "\r\n");
        }
    }

    // The bytes of a flag file; "(missing)" or "(folder)" when it is not a file.
    QByteArray flagBytes(story::Flag flag) const
    {
        const QString file = path(story::StoryFlags::fileOf(flag).replace(u'\\', u'/'));
        if (QFileInfo(file).isDir())
            return "(folder)";
        QFile in(file);
        if (!in.open(QIODevice::ReadOnly))
            return "(missing)";
        return in.readAll();
    }

    // The three flags as letters, '?' where a file is not exactly a digit and CR LF.
    QByteArray flagLetters() const
    {
        QByteArray letters;
        for (story::Flag flag : story::kAllFlags) {
            const QByteArray bytes = flagBytes(flag);
            letters += (bytes == "0\r\n" || bytes == "1\r\n") ? bytes.left(1) : QByteArray("?");
        }
        return letters;
    }

private:
    QTemporaryDir dir_;
    QString previous_;
};

struct DiskParts {
    explicit DiskParts(const QString &parent) : folder(parent) {}

    GameFolder folder;
    EventLog log;
    tess::DiskFiles files;
    RecordingMusic music{log};
    RecordingCursor cursor{log};
    RecordingAlerts alerts;
    RecordingProcess process{log};
};

struct DiskGame : DiskParts, tess::GameWiring {
    explicit DiskGame(const QString &parent = QString())
        : DiskParts(parent), GameWiring({files, music, cursor, alerts, process})
    {
    }
};
