// Bad files, each tried on the screen that reads it, with the game's real
// files in a temporary game folder: the shell's texts, the story's pages, the
// cursor and the music.
#include "hostile_files_game.h"

class HostileFilesTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { sayWhatTheMachineAllows(); }
    void cleanup() { putBackThePlayersArrow(); }

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
            qint64 drawMs = 0;
            QVERIFY(drawnWhole(*shownOn, drawMs));
            qInfo("%s: shown in %lld ms, drawn in %lld ms", hostileName(kind), openMs, drawMs);
        } else {
            QCOMPARE(game.alerts.messages, QStringList{QStringLiteral("Файл «%1»: %2.").arg(file, reasonFor(kind))});
            // The game ends here with status 1, and nothing queued before
            // (the menu's unload) ends it earlier with another status.
            QCoreApplication::processEvents();
            QCOMPARE(game.process.statuses, QList<int>{1});
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
            qint64 drawMs = 0;
            QVERIFY(drawnWhole(*story, drawMs));
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
            qint64 drawMs = 0;
            QVERIFY(drawnWhole(*story, drawMs));
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
            tess::QtMusic music(QStringLiteral(TESS_GAME_DIR));
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
            tess::QtMusic music(QStringLiteral(TESS_GAME_DIR));
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

    void withoutItsMusicLibraryTheGameSaysSoOnceAndPlaysOnInSilence()
    {
        GameFolder game;
        QDir().mkpath(game.path(QStringLiteral("sound")));
        QVERIFY(QFile::copy(QStringLiteral(TESS_SOURCE_DIR "/sound/menu.mp3"), game.path(QStringLiteral("sound/menu.mp3"))));
        CapturedStderr errors;
        {
            tess::QtMusic music(game.path(QStringLiteral("no-library-here")));
            music.send(QStringLiteral("play sound\\menu.mp3"));
            music.send(QStringLiteral("close sound\\menu.mp3"));
            music.send(QStringLiteral("play sound\\menu.mp3"));
            // The three run together once the event loop gets to them.
            QTRY_VERIFY(errors.text().contains(QStringLiteral("tessaranium:")));
        }
        const QString said = errors.text();
        errors.release();
        const QStringList lines = said.split(u'\n').filter(QStringLiteral("tessaranium:"));
        QVERIFY2(lines.size() == 1 && lines.first().startsWith(QStringLiteral("tessaranium: music: the game plays without sound: ")),
                 qPrintable(said));
        QCOMPARE(game.flagLetters(), QByteArray("111"));
    }
};

int main(int argc, char *argv[])
{
    return runHostileFilesTest<HostileFilesTest>(argc, argv);
}

#include "hostile_files_test.moc"
