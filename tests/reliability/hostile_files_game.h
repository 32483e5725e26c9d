#pragma once
// The game with its real files in a temporary game folder, for the tests that
// put bad files where it reads them: what the player is shown, and that no
// story flag is lost or spoiled on the way.
#include "disk_game.h"
#include "hostile_files.h"
#include "story_slots.h"

#include "shell/core/cp1251.h"
#include "shell/core/data_path.h"
#include "shell/core/text_lines.h"
#include "shell/screens/about_screen.h"
#include "shell/desktop/game_cursor.h"
#include "shell/screens/intro_screen.h"
#include "shell/screens/menu_screen.h"
#include "shell/desktop/qt_music.h"
#include "story/ui/story_screen.h"

#include "quiet_platform.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QtTest>

#include <csignal>
#include <functional>
#include <cstdio>
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

using story::StoryScreen;
using story::Flag;
using tess::CloseReason;
using tess::ScreenId;

Q_DECLARE_METATYPE(story::Flag)

namespace {

// Set in main: this process has mount points of its own (root, and the
// kernel lets it), so a full or read-only file system can be real.
bool privateMounts = false;

inline bool readable(Hostile kind)
{
    switch (kind) {
    case Hostile::Missing:
    case Hostile::Directory:
    case Hostile::Huge:
        return false;
    case Hostile::Unreadable:
        return permissionsAreIgnored();
    default:
        return true;
    }
}

inline QString reasonFor(Hostile kind)
{
    switch (kind) {
    case Hostile::Missing: return QStringLiteral("файл не найден");
    case Hostile::Directory: return QStringLiteral("на месте файла лежит папка");
    case Hostile::Unreadable: return QStringLiteral("нет прав на чтение");
    case Hostile::Huge: return QStringLiteral("файл слишком велик (50 МБ)");
    default: return QString();
    }
}

// What a text target holds once the file is shown: each line and CR LF.
inline QString shownText(const QByteArray &bytes)
{
    QString text;
    for (const QString &line : tess::splitTextLines(tess::decodeCp1251(bytes)))
        text += line + QStringLiteral("\r\n");
    return text;
}

inline QByteArray original(const QString &relative)
{
    QFile file(QStringLiteral(TESS_SOURCE_DIR "/") + relative);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

inline void restore(GameFolder &folder, const QString &relative)
{
    const QString path = folder.path(relative);
    QFile::remove(path);
    QDir().rmdir(path);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(original(relative));
}

// The story as the player opens it: the menu's start, then the intro's.
inline StoryScreen *openStory(DiskGame &game)
{
    game.screens.Show(ScreenId::Game);
    QTest::mouseClick(&game.screen<tess::MenuScreen>(ScreenId::Game).Label3, Qt::LeftButton);
    DiskGame::settle();
    if (!game.screens.isShown(ScreenId::IntoEngine))
        return nullptr;
    QTest::mouseClick(&game.screen<tess::IntroScreen>(ScreenId::IntoEngine).Label2, Qt::LeftButton);
    DiskGame::settle();
    if (!game.screens.isShown(ScreenId::Engine))
        return nullptr;
    return &game.screen<StoryScreen>(ScreenId::Engine);
}

// A new game played from page 1 to the city menu, where the bank's caption
// waits; null when the story does not open or a caption is not there.
inline StoryScreen *storyAtTheBank(DiskGame &game)
{
    game.folder.setFlags("000");
    StoryScreen *story = openStory(game);
    for (const char *caption : {"Подводный мир", "Уйти", "Ответить", "Получить данные", "Закрыть", "Далее",
                                "Виртуал Сити", "Войти в главное меню"}) {
        if (story && !clickChoice(*story, QString::fromUtf8(caption))) {
            qWarning("no choice reads «%s» on the way to the bank", caption);
            return nullptr;
        }
    }
    return story;
}

// Draws a widget as the screen would: true when the whole widget was drawn;
// `ms` says how long that took.
inline bool drawnWhole(QWidget &widget, qint64 &ms)
{
    QElapsedTimer clock;
    clock.start();
    const QPixmap drawn = widget.grab();
    ms = clock.elapsed();
    return !drawn.isNull() && drawn.deviceIndependentSize().toSize() == widget.size();
}

// Everything the code writes to the error stream while it lives.
class CapturedStderr {
public:
    CapturedStderr() : saved_(::dup(2))
    {
        std::fflush(stderr);
        file_.open();
        ::dup2(file_.handle(), 2);
    }
    ~CapturedStderr() { release(); }
    QString text()
    {
        std::fflush(stderr);
        QFile in(file_.fileName());
        in.open(QIODevice::ReadOnly);
        return QString::fromLocal8Bit(in.readAll());
    }
    void release()
    {
        if (saved_ < 0)
            return;
        std::fflush(stderr);
        ::dup2(saved_, 2);
        ::close(saved_);
        saved_ = -1;
    }

private:
    QTemporaryFile file_;
    int saved_;
};

// A small file system of its own at a folder, or nothing when this process
// may not mount one.
class Mount {
public:
    Mount(const QString &where, const char *options) : where_(where.toLocal8Bit())
    {
        mounted_ = privateMounts && ::mount("tmpfs", where_.constData(), "tmpfs", 0, options) == 0;
    }
    ~Mount()
    {
        if (mounted_)
            ::umount2(where_.constData(), MNT_DETACH);
    }
    bool mounted() const { return mounted_; }

private:
    QByteArray where_;
    bool mounted_ = false;
};

// Runs its action when the scope ends, however the test leaves it.
class Finally {
public:
    explicit Finally(std::function<void()> action) : action_(std::move(action)) {}
    ~Finally() { action_(); }
    Finally(const Finally &) = delete;
    Finally &operator=(const Finally &) = delete;

private:
    std::function<void()> action_;
};

// Fills the file system under `folder` until nothing more fits.
inline void fillUp(const QString &folder)
{
    QFile filler(folder + QStringLiteral("/filler"));
    filler.open(QIODevice::WriteOnly);
    const QByteArray block(4096, 'x');
    while (filler.write(block) == block.size() && filler.flush()) {
    }
    // The last partial block, byte by byte.
    while (filler.write("x", 1) == 1 && filler.flush()) {
    }
}

inline void sayWhatTheMachineAllows()
{
    quietPlatform();
    qInfo("running as %s: %s", permissionsAreIgnored() ? "root" : "a user",
          permissionsAreIgnored() ? "file permissions stop no read or write, so 'unreadable' files are read"
                                  : "file permissions apply");
    qInfo("file systems of its own: %s", privateMounts ? "yes (tmpfs mounts for a full and a read-only disk)"
                                                       : "no (a file size limit stands in for a full disk)");
}

inline void putBackThePlayersArrow()
{
    while (QGuiApplication::overrideCursor())
        QGuiApplication::restoreOverrideCursor();
}

// Mount points of this process's own, before any thread starts: a full and a
// read-only file system can then be real, and vanish with it.
// TESS_NO_MOUNTS=1 tries the stand-ins used where mounting is not allowed.
template <typename Test>
int runHostileFilesTest(int argc, char *argv[])
{
    privateMounts = !qEnvironmentVariableIsSet("TESS_NO_MOUNTS") && ::unshare(CLONE_NEWNS) == 0
                    && ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    QApplication app(argc, argv);
    Test test;
    return QTest::qExec(&test, argc, argv);
}

} // namespace
