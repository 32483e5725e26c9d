// Bad flag files, a missing or read-only flag folder and a full disk, with the
// game's real files in a temporary game folder: what the player is shown,
// and that no story flag is lost or spoiled on the way.
#include "hostile_files_game.h"

class HostileFlagsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { sayWhatTheMachineAllows(); }
    void cleanup() { putBackThePlayersArrow(); }

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
            QCOMPARE(story->state().mirror(flag), tess::splitTextLines(tess::decodeCp1251(bytes)).join(QString()));
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
        StoryScreen *story = storyAtTheBank(game);
        QVERIFY(story);
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
        // Read-only files too, as on a read-only mount: a writable flag in a
        // read-only folder is written in place (hostile_folder_files_test).
        for (const QString &flag : QDir(engdat).entryList(QDir::Files))
            QFile::setPermissions(engdat + u'/' + flag, QFile::ReadOwner | QFile::ReadGroup);
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
        StoryScreen *story = storyAtTheBank(game);
        QVERIFY(story);
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
};

int main(int argc, char *argv[])
{
    return runHostileFilesTest<HostileFlagsTest>(argc, argv);
}

#include "hostile_flags_test.moc"
