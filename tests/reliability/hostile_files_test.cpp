// Bad files, each tried on the screen that reads it, with the game's real
// files in a temporary game folder: what the player is shown, and that no
// story flag is lost or spoiled on the way.
#include "disk_game.h"
#include "hostile_files.h"

#include "shell/core/cp1251.h"
#include "shell/core/data_path.h"
#include "shell/core/text_lines.h"
#include "shell/ui/about_screen.h"
#include "shell/ui/game_cursor.h"
#include "shell/ui/intro_screen.h"
#include "shell/ui/menu_screen.h"
#include "shell/ui/qt_music.h"
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

bool readable(Hostile kind)
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

QString reasonFor(Hostile kind)
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
QString shownText(const QByteArray &bytes)
{
    QString text;
    for (const QString &line : tess::splitTextLines(tess::decodeCp1251(bytes)))
        text += line + QStringLiteral("\r\n");
    return text;
}

QByteArray original(const QString &relative)
{
    QFile file(QStringLiteral(TESS_SOURCE_DIR "/") + relative);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

void restore(GameFolder &folder, const QString &relative)
{
    const QString path = folder.path(relative);
    QFile::remove(path);
    QDir().rmdir(path);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(original(relative));
}

QList<tess::Label *> choiceSlots(StoryScreen &screen)
{
    return {&screen.Label2, &screen.Label3, &screen.Label4};
}

QString choices(StoryScreen &screen)
{
    QStringList shown;
    for (const tess::Label *slot : choiceSlots(screen))
        shown << (slot->isHidden() ? QStringLiteral("—") : slot->text());
    return shown.join(QStringLiteral(" / "));
}

// Clicks the visible slot that reads the caption; false when none does.
[[nodiscard]] bool clickChoice(StoryScreen &screen, const char *caption)
{
    for (tess::Label *slot : choiceSlots(screen)) {
        if (!slot->isHidden() && slot->text() == QString::fromUtf8(caption)) {
            QTest::mouseClick(slot, Qt::LeftButton);
            DiskGame::settle();
            return true;
        }
    }
    return false;
}

// The story as the player opens it: the menu's start, then the intro's.
StoryScreen *openStory(DiskGame &game)
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

// From page 1 to the city menu, where the bank's caption waits.
const char *const kToTheBank[] = {
    "Подводный мир", "Уйти", "Ответить", "Получить данные", "Закрыть", "Далее", "Виртуал Сити", "Войти в главное меню",
};

// Draws a widget as the screen would, and says how long that took.
qint64 paintMs(QWidget &widget)
{
    QElapsedTimer clock;
    clock.start();
    const QPixmap drawn = widget.grab();
    return drawn.isNull() ? -1 : clock.elapsed();
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
void fillUp(const QString &folder)
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

} // namespace

class HostileFilesTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        quietPlatform();
        qInfo("running as %s: %s", permissionsAreIgnored() ? "root" : "a user",
              permissionsAreIgnored() ? "file permissions stop no read or write, so 'unreadable' files are read"
                                      : "file permissions apply");
        qInfo("file systems of its own: %s", privateMounts ? "yes (tmpfs mounts for a full and a read-only disk)"
                                                           : "no (a file size limit stands in for a full disk)");
    }

    void cleanup()
    {
        while (QGuiApplication::overrideCursor())
            QGuiApplication::restoreOverrideCursor();
    }

    // ------------------------------------------------------------ shell texts

    void aBadAboutOrIntroTextIsShownAsItIsOrEndsTheGameNamingTheFile_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<Hostile>("kind");
        for (const char *file : {"text\\read.tf", "text\\into.tf"}) {
            for (Hostile kind : kAllHostile)
                QTest::addRow("%s, %s", file, hostileName(kind)) << QString::fromLatin1(file) << kind;
        }
    }
    void aBadAboutOrIntroTextIsShownAsItIsOrEndsTheGameNamingTheFile()
    {
        QFETCH(QString, file);
        QFETCH(Hostile, kind);
        DiskGame game;
        makeHostile(game.folder.path(tess::localPath(file)), kind, original(QStringLiteral("text/read.tf")));
        const bool about = file.endsWith(QStringLiteral("read.tf"));

        game.screens.Show(ScreenId::Game);
        auto &menu = game.screen<tess::MenuScreen>(ScreenId::Game);
        QElapsedTimer clock;
        clock.start();
        QTest::mouseClick(about ? &menu.Label2 : &menu.Label3, Qt::LeftButton);
        DiskGame::settle();
        const qint64 openMs = clock.elapsed();

        if (readable(kind)) {
            QVERIFY2(game.alerts.messages.isEmpty(), qPrintable(game.alerts.messages.join(u'\n')));
            QVERIFY(game.process.statuses.isEmpty());
            const QByteArray bytes = kind == Hostile::Unreadable ? original(QStringLiteral("text/read.tf")) : hostileBytes(kind);
            QWidget *shownOn = nullptr;
            if (about) {
                QVERIFY(game.screens.isShown(ScreenId::About));
                auto &box = game.screen<tess::AboutScreen>(ScreenId::About).Text1;
                QCOMPARE(box.text(), shownText(bytes));
                shownOn = &box;
            } else {
                QVERIFY(game.screens.isShown(ScreenId::IntoEngine));
                auto &label = game.screen<tess::IntroScreen>(ScreenId::IntoEngine).Label1;
                QCOMPARE(label.text(), shownText(bytes));
                shownOn = &label;
            }
            const qint64 drawMs = paintMs(*shownOn);
            QVERIFY(drawMs >= 0);
            qInfo("%s: shown in %lld ms, drawn in %lld ms", hostileName(kind), openMs, drawMs);
        } else {
            QCOMPARE(game.alerts.messages, QStringList{QStringLiteral("Файл «%1»: %2.").arg(file, reasonFor(kind))});
            // The game ends here; what the recording process sees after it never runs.
            QCOMPARE(game.process.statuses.value(0, -1), 1);
        }
        QCOMPARE(game.folder.flagLetters(), QByteArray("111"));
    }

    // ------------------------------------------------------------ story pages

    void aBadFirstPageEndsTheGameNamingItOrIsShown_data()
    {
        QTest::addColumn<Hostile>("kind");
        for (Hostile kind : kAllHostile)
            QTest::addRow("%s", hostileName(kind)) << kind;
    }
    void aBadFirstPageEndsTheGameNamingItOrIsShown()
    {
        QFETCH(Hostile, kind);
        DiskGame game;
        makeHostile(game.folder.path(QStringLiteral("text/gt1.tf")), kind, original(QStringLiteral("text/gt1.tf")));
        StoryScreen *story = openStory(game);
        if (readable(kind)) {
            QVERIFY(story);
            QVERIFY(game.alerts.messages.isEmpty());
            const QByteArray bytes = kind == Hostile::Unreadable ? original(QStringLiteral("text/gt1.tf")) : hostileBytes(kind);
            QCOMPARE(story->Label1.text(), shownText(bytes));
            QVERIFY(paintMs(*story) >= 0);
        } else {
            QVERIFY(!story);
            // The intro tries the switch twice; the second failure ends the game.
            QCOMPARE(game.alerts.messages,
                     QStringList{QStringLiteral("Файл «text\\gt1.tf»: %1.").arg(reasonFor(kind))});
            QCOMPARE(game.process.statuses, QList<int>{1});
        }
        QCOMPARE(game.folder.flagLetters(), QByteArray("111"));
    }

    void aBadPageLeavesTheStoryWhereItWasNamesTheFileAndTheStoryGoesOnOnceItIsBack_data()
    {
        aBadFirstPageEndsTheGameNamingItOrIsShown_data();
    }
    void aBadPageLeavesTheStoryWhereItWasNamesTheFileAndTheStoryGoesOnOnceItIsBack()
    {
        QFETCH(Hostile, kind);
        DiskGame game;
        StoryScreen *story = openStory(game);
        QVERIFY(story);
        const QString pageBefore = story->Label1.text();
        const QString choicesBefore = choices(*story);
        makeHostile(game.folder.path(QStringLiteral("text/gt2.tf")), kind, original(QStringLiteral("text/gt2.tf")));

        QElapsedTimer clock;
        clock.start();
        QVERIFY(clickChoice(*story, "Виртуальный ресторан"));
        const qint64 clickMs = clock.elapsed();
        if (readable(kind)) {
            QVERIFY(game.alerts.messages.isEmpty());
            const QByteArray bytes = kind == Hostile::Unreadable ? original(QStringLiteral("text/gt2.tf")) : hostileBytes(kind);
            QCOMPARE(story->Label1.text(), shownText(bytes));
            QCOMPARE(choices(*story), QStringLiteral("— / Назад / —"));
            const qint64 drawMs = paintMs(*story);
            QVERIFY(drawMs >= 0);
            qInfo("%s: page shown in %lld ms, drawn in %lld ms", hostileName(kind), clickMs, drawMs);
        } else {
            QCOMPARE(game.alerts.messages,
                     QStringList{QStringLiteral("Файл «text\\gt2.tf»: %1.").arg(reasonFor(kind))});
            QVERIFY(game.process.statuses.isEmpty());
            QCOMPARE(story->Label1.text(), pageBefore);
            QCOMPARE(choices(*story), choicesBefore);
            restore(game.folder, QStringLiteral("text/gt2.tf"));
            QVERIFY(clickChoice(*story, "Виртуальный ресторан"));
            QCOMPARE(story->Label1.text(), shownText(original(QStringLiteral("text/gt2.tf"))));
            QCOMPARE(choices(*story), QStringLiteral("— / Назад / —"));
        }
        QCOMPARE(game.folder.flagLetters(), QByteArray("111"));
    }

    // ------------------------------------------------------------ story flags

    void aBadFlagFileIsNamedOrReadAsItIsAndClosingTheStoryWritesItWhole_data()
    {
        QTest::addColumn<Flag>("flag");
        QTest::addColumn<Hostile>("kind");
        for (Flag flag : story::kAllFlags) {
            for (Hostile kind : kAllHostile)
                QTest::addRow("%s, %s", qPrintable(story::StoryFlags::fileOf(flag)), hostileName(kind)) << flag << kind;
        }
    }
    void aBadFlagFileIsNamedOrReadAsItIsAndClosingTheStoryWritesItWhole()
    {
        QFETCH(Flag, flag);
        QFETCH(Hostile, kind);
        DiskGame game;
        StoryScreen *story = openStory(game);
        QVERIFY(story);
        const QString pageBefore = story->Label1.text();
        const QString file = story::StoryFlags::fileOf(flag);
        makeHostile(game.folder.path(tess::localPath(file)), kind);

        // A click on the first slot re-reads all three flags.
        QVERIFY(clickChoice(*story, "Виртуальный ресторан"));
        if (readable(kind)) {
            QVERIFY(game.alerts.messages.isEmpty());
            QCOMPARE(story->Label1.text(), shownText(original(QStringLiteral("text/gt2.tf"))));
            const QByteArray bytes = kind == Hostile::Unreadable ? QByteArray("1\r\n") : hostileBytes(kind);
            QCOMPARE(story->mirror(flag), tess::splitTextLines(tess::decodeCp1251(bytes)).join(QString()));
        } else {
            QCOMPARE(game.alerts.messages, QStringList{QStringLiteral("Файл «%1»: %2.").arg(file, reasonFor(kind))});
            QCOMPARE(story->Label1.text(), pageBefore);
        }

        // Closing the story resets every flag it can, whole.
        game.alerts.messages.clear();
        game.screens.requestClose(ScreenId::Engine, CloseReason::TaskManager);
        if (kind == Hostile::Directory) {
            QCOMPARE(game.alerts.messages,
                     QStringList{QStringLiteral("Не удалось сбросить прогресс истории. Файл «%1»: на месте файла лежит папка.").arg(file)});
            QCOMPARE(game.process.statuses, QList<int>{1});
            // The reset stops at the folder: flags before it are 0, after it untouched.
            QByteArray expected;
            bool past = false;
            for (Flag each : story::kAllFlags) {
                if (each == flag) {
                    expected += '?';
                    past = true;
                } else {
                    expected += past ? '1' : '0';
                }
            }
            QCOMPARE(game.folder.flagLetters(), expected);
        } else {
            QVERIFY(game.alerts.messages.isEmpty());
            QCOMPARE(game.process.statuses, QList<int>{0});
            QCOMPARE(game.folder.flagLetters(), QByteArray("000"));
        }
    }

    void aMissingFlagFolderIsNamedOnEveryClickThatReadsItAndOnClose()
    {
        DiskGame game;
        StoryScreen *story = openStory(game);
        QVERIFY(story);
        const QString pageBefore = story->Label1.text();
        QVERIFY(QDir(game.folder.path(QStringLiteral("engdat"))).removeRecursively());

        QVERIFY(clickChoice(*story, "Виртуальный ресторан"));
        QCOMPARE(game.alerts.messages, QStringList{QStringLiteral("Файл «engdat\\c.gdf»: файл не найден.")});
        QCOMPARE(story->Label1.text(), pageBefore);
        // A slot that reads no flag still works.
        QVERIFY(clickChoice(*story, "Остров Сокровищ"));
        QCOMPARE(story->Label1.text(), shownText(original(QStringLiteral("text/gt4.tf"))));

        game.alerts.messages.clear();
        game.screens.requestClose(ScreenId::Engine, CloseReason::TaskManager);
        QCOMPARE(game.alerts.messages,
                 QStringList{QStringLiteral("Не удалось сбросить прогресс истории. Файл «engdat\\b.gdf»: нет папки «engdat».")});
        QCOMPARE(game.process.statuses, QList<int>{1});
    }

    void aReadOnlyFlagFolderRefusesTheWriteNamesTheFileAndKeepsEveryFlag()
    {
        DiskGame game;
        game.folder.setFlags("000");
        StoryScreen *story = openStory(game);
        QVERIFY(story);
        for (const char *caption : kToTheBank)
            QVERIFY2(clickChoice(*story, caption), caption);
        const QString pageBefore = story->Label1.text();
        const QString choicesBefore = choices(*story);

        const QString engdat = game.folder.path(QStringLiteral("engdat"));
        const QByteArray where = engdat.toLocal8Bit();
        bool readOnlyMount = privateMounts && ::mount(where.constData(), where.constData(), nullptr, MS_BIND, nullptr) == 0;
        if (readOnlyMount
            && ::mount(nullptr, where.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) != 0) {
            ::umount2(where.constData(), MNT_DETACH);
            readOnlyMount = false;
        }
        const Finally unmount([&] {
            if (readOnlyMount)
                ::umount2(where.constData(), MNT_DETACH);
        });
        QFile::setPermissions(engdat, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup);
        const bool refused = readOnlyMount || !permissionsAreIgnored();
        qInfo("engdat/ made read-only by %s", readOnlyMount ? "a read-only bind mount" : "its permissions");

        QVERIFY(clickChoice(*story, "Виртуал банк"));
        if (refused) {
            QCOMPARE(game.alerts.messages, QStringList{QStringLiteral("Файл «engdat\\b.gdf»: нет прав на запись.")});
            QCOMPARE(story->Label1.text(), pageBefore);
            QCOMPARE(choices(*story), choicesBefore);
            QCOMPARE(game.folder.flagLetters(), QByteArray("000"));

            game.alerts.messages.clear();
            game.screens.requestClose(ScreenId::Engine, CloseReason::TaskManager);
            QCOMPARE(game.alerts.messages,
                     QStringList{QStringLiteral("Не удалось сбросить прогресс истории. Файл «engdat\\b.gdf»: нет прав на запись.")});
            QCOMPARE(game.process.statuses, QList<int>{1});
            QCOMPARE(game.folder.flagLetters(), QByteArray("000"));
        } else {
            qInfo("root writes into a folder without write permission: the flag is written");
            QVERIFY(game.alerts.messages.isEmpty());
            QCOMPARE(game.folder.flagLetters(), QByteArray("100"));
        }
    }

    void aFullDiskRefusesTheFlagWriteNamesItAndKeepsTheOldFlagWhole()
    {
        QTemporaryDir disk;
        Mount tmpfs(disk.path(), "size=1m");
        struct rlimit savedLimit {};
        ::getrlimit(RLIMIT_FSIZE, &savedLimit);
        const auto savedHandler = std::signal(SIGXFSZ, SIG_IGN);
        const Finally restoreLimit([&] {
            ::setrlimit(RLIMIT_FSIZE, &savedLimit);
            std::signal(SIGXFSZ, savedHandler);
        });

        DiskGame game(tmpfs.mounted() ? disk.path() : QString());
        game.folder.setFlags("000");
        StoryScreen *story = openStory(game);
        QVERIFY(story);
        for (const char *caption : kToTheBank)
            QVERIFY2(clickChoice(*story, caption), caption);
        const QString pageBefore = story->Label1.text();
        const QString choicesBefore = choices(*story);

        // Without a file system of its own, a zero file size limit makes
        // every write fail the way a full disk does.
        const auto limitWrites = [&](bool limited) {
            struct rlimit limit = savedLimit;
            if (limited)
                limit.rlim_cur = 0;
            ::setrlimit(RLIMIT_FSIZE, &limit);
        };
        if (tmpfs.mounted()) {
            qInfo("a full disk: a 1 MB tmpfs, filled up");
            fillUp(disk.path());
        } else {
            qInfo("a full disk: no mount here; a zero file size limit makes every write fail instead");
            limitWrites(true);
        }

        QVERIFY(clickChoice(*story, "Виртуал банк"));
        QCOMPARE(game.alerts.messages.size(), 1);
        QVERIFY2(game.alerts.messages[0].startsWith(QStringLiteral("Файл «engdat\\b.gdf»: ")), qPrintable(game.alerts.messages[0]));
        if (tmpfs.mounted())
            QCOMPARE(game.alerts.messages[0], QStringLiteral("Файл «engdat\\b.gdf»: на диске нет места."));
        qInfo("the player reads: %s", qPrintable(game.alerts.messages[0]));
        QCOMPARE(story->Label1.text(), pageBefore);
        QCOMPARE(choices(*story), choicesBefore);
        QCOMPARE(game.folder.flagLetters(), QByteArray("000"));

        game.alerts.messages.clear();
        limitWrites(false);
        game.folder.setFlags("111");  // the old flags a failed reset must keep
        limitWrites(!tmpfs.mounted());
        game.screens.requestClose(ScreenId::Engine, CloseReason::TaskManager);
        QCOMPARE(game.alerts.messages.size(), 1);
        QVERIFY(game.alerts.messages[0].startsWith(QStringLiteral("Не удалось сбросить прогресс истории. Файл «engdat\\b.gdf»: ")));
        QCOMPARE(game.process.statuses, QList<int>{1});

        limitWrites(false);
        QCOMPARE(game.folder.flagLetters(), QByteArray("111"));
        QFile::remove(disk.path() + QStringLiteral("/filler"));
    }

    // ------------------------------------------------------------ cursor

    void aBadCursorFileLeavesThePlayersArrowAndTheGameGoesOn_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("folder");
        QFile real(QStringLiteral(TESS_SOURCE_DIR "/cursor/cur.cgf"));
        QVERIFY(real.open(QIODevice::ReadOnly));
        const QByteArray cursor = real.readAll();
        QTest::newRow("missing") << QByteArray() << false;
        QTest::newRow("a directory") << QByteArray() << true;
        QTest::newRow("empty") << QByteArray("") << false;
        QTest::newRow("binary junk") << hostileBytes(Hostile::BinaryJunk) << false;
        QTest::newRow("50 MB") << QByteArray("50 MB") << false;
        QTest::newRow("cut in half") << cursor.left(cursor.size() / 2) << false;
        QTest::newRow("header only") << cursor.left(22) << false;
        QByteArray lying = cursor;
        lying[4] = char(0xff);  // 65535 pictures claimed
        lying[5] = char(0xff);
        QTest::newRow("claims 65535 pictures") << lying << false;
        QByteArray bigPicture = cursor;
        for (int at = 14; at < 22; ++at)  // the picture's size and offset point far past the end
            bigPicture[at] = char(0x7f);
        QTest::newRow("picture beyond the end") << bigPicture << false;
        QTest::newRow("animated, no frames") << QByteArray("RIFF\x04\0\0\0ACON", 12) << false;
    }
    void aBadCursorFileLeavesThePlayersArrowAndTheGameGoesOn()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, folder);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("cur.cgf"));
        if (folder) {
            QDir().mkpath(path);
        } else if (bytes == "50 MB") {
            writeHuge(path);
        } else if (!bytes.isNull()) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(bytes);
        }
        tess::GameCursor cursor(path);
        cursor.InstallGameCursor();
        QVERIFY(!cursor.isInstalled());
        QVERIFY(!QGuiApplication::overrideCursor());
        cursor.RestoreSystemCursor();
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    void theShippedCursorFileInstallsSoTheBadOnesAboveAreRefusedForWhatTheyHold()
    {
        tess::GameCursor cursor(QStringLiteral(TESS_SOURCE_DIR "/cursor/cur.cgf"));
        cursor.InstallGameCursor();
        QVERIFY(cursor.isInstalled());
        QVERIFY(QGuiApplication::overrideCursor());
        cursor.RestoreSystemCursor();
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    // ------------------------------------------------------------ music

    void aMissingOrBadMusicFileIsReportedOnTheErrorStreamAndTheGameGoesOn_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("folder");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing") << QByteArray() << false << QStringLiteral("file not found");
        QTest::newRow("a directory") << QByteArray() << true << QStringLiteral("file not found");
        QTest::newRow("empty") << QByteArray("") << false << QString();
        QTest::newRow("binary junk") << hostileBytes(Hostile::BinaryJunk) << false << QString();
        QTest::newRow("text, not sound") << hostileBytes(Hostile::UndefinedCp1251) << false << QString();
    }
    void aMissingOrBadMusicFileIsReportedOnTheErrorStreamAndTheGameGoesOn()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, folder);
        QFETCH(QString, reason);
        GameFolder game;
        QDir().mkpath(game.path(QStringLiteral("sound")));
        const QString path = game.path(QStringLiteral("sound/menu.mp3"));
        if (folder) {
            QDir().mkpath(path);
        } else if (!bytes.isNull()) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(bytes);
        }
        CapturedStderr errors;
        {
            tess::QtMusic music;
            music.send(QStringLiteral("play sound\\menu.mp3"));
            // The media framework reports a bad file from its own thread, later.
            QTRY_VERIFY_WITH_TIMEOUT(errors.text().contains(QStringLiteral("tessaranium: music: \"play sound\\menu.mp3\": ")), 15000);
            music.send(QStringLiteral("close sound\\menu.mp3"));
            QCoreApplication::processEvents();
        }
        const QString said = errors.text();
        errors.release();
        if (!reason.isEmpty())
            QVERIFY2(said.contains(QStringLiteral("\": ") + reason), qPrintable(said));
        qInfo("%s", qPrintable(said.split(u'\n').filter(QStringLiteral("tessaranium:")).join(QStringLiteral(" | "))));
        QCOMPARE(game.flagLetters(), QByteArray("111"));
    }

    void withoutASoundServerAGoodMusicFileStillOpensAndClosesQuietly()
    {
        GameFolder game;
        QDir().mkpath(game.path(QStringLiteral("sound")));
        QVERIFY(QFile::copy(QStringLiteral(TESS_SOURCE_DIR "/sound/menu.mp3"), game.path(QStringLiteral("sound/menu.mp3"))));
        const bool soundServer = qEnvironmentVariableIsSet("PULSE_SERVER") || QFileInfo::exists(QStringLiteral("/run/pulse/native"))
                                 || QFileInfo::exists(qEnvironmentVariable("XDG_RUNTIME_DIR") + QStringLiteral("/pulse/native"));
        qInfo("sound server: %s", soundServer ? "present" : "none");
        CapturedStderr errors;
        {
            tess::QtMusic music;
            music.send(QStringLiteral("play sound\\menu.mp3"));
            QTest::qWait(500);
            music.send(QStringLiteral("close sound\\menu.mp3"));
            music.send(QStringLiteral("close sound\\menu.mp3"));  // no longer open: one line
            QCoreApplication::processEvents();
        }
        const QString said = errors.text();
        errors.release();
        const QStringList lines = said.split(u'\n').filter(QStringLiteral("tessaranium: music:"));
        // Only the second close is the game's own complaint; the file itself plays or fails quietly.
        QVERIFY2(lines.filter(QStringLiteral("device not open")).size() == 1, qPrintable(said));
        qInfo("%s", qPrintable(lines.join(QStringLiteral(" | "))));
    }
};

int main(int argc, char *argv[])
{
    // Mount points of this process's own, before any thread starts: a full
    // and a read-only file system can then be real, and vanish with it.
    // TESS_NO_MOUNTS=1 tries the stand-ins used where mounting is not allowed.
    privateMounts = !qEnvironmentVariableIsSet("TESS_NO_MOUNTS") && ::unshare(CLONE_NEWNS) == 0
                    && ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    QApplication app(argc, argv);
    HostileFilesTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "hostile_files_test.moc"
