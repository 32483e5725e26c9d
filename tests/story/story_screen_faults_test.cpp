// The story screen inside the whole game when it closes, when its files fail
// and when input comes while a page is shown line by line.
#include "story_screen.h"

class StoryScreenFaultsTest : public QObject {
    Q_OBJECT
private slots:
    // --- Closing ---------------------------------------------------------

    void closingTheStoryScreenResetsTheFlagsAndEndsTheProgramWhateverTheReason_data()
    {
        QTest::addColumn<CloseReason>("reason");
        QTest::newRow("close box") << CloseReason::User;
        QTest::newRow("unload by code") << CloseReason::Program;
        QTest::newRow("session end") << CloseReason::SessionEnd;
        QTest::newRow("task manager") << CloseReason::TaskManager;
    }

    void closingTheStoryScreenResetsTheFlagsAndEndsTheProgramWhateverTheReason()
    {
        QFETCH(CloseReason, reason);
        TestGame game;
        for (Flag flag : story::kAllFlags)
            game.files.content[story::StoryFlags::fileOf(flag)] = "1\r\n";
        openStory(game);

        game.screens.requestClose(ScreenId::Engine, reason);
        TestGame::settle();
        for (Flag flag : story::kAllFlags)
            QCOMPARE(game.flag(flag), QByteArray("0\r\n"));
        QVERIFY(!game.screens.isLoaded(ScreenId::Engine));
        QVERIFY(!game.process.statuses.isEmpty());
        QCOMPARE(game.process.statuses.first(), 0);
        QCOMPARE(game.log.entries.mid(0, 3), (QStringList{"play sound\\trackgp.mp3", "restore cursor", "end 0"}));
    }

    // --- Files that fail -------------------------------------------------

    void aMissingPageFileMakesTheClickApplyNothingUntilItIsBack()
    {
        TestGame game;
        StoryScreen &screen = openStory(game);
        const QByteArray stuck = play(screen, kPrologue);
        QVERIFY2(stuck.isEmpty(), stuck.constData());
        const QByteArray page = game.files.content.take("text\\gt16.tf");
        const QStringList before = storyState(game, screen);

        QVERIFY(clickChoice(screen, "Виртуал банк"));
        QCOMPARE(storyState(game, screen), before);
        QCOMPARE(game.alerts.messages.size(), 1);
        QVERIFY2(game.alerts.messages.first().contains("text\\gt16.tf"), qPrintable(game.alerts.messages.first()));
        QVERIFY(game.screens.isShown(ScreenId::Engine));
        QVERIFY(game.process.statuses.isEmpty());

        game.files.content["text\\gt16.tf"] = page;
        QVERIFY(clickChoice(screen, "Виртуал банк"));
        QCOMPARE(screen.Label1.text(), pageText(16));
        QCOMPARE(choices(screen), QStringLiteral("104|8 / 100|48 / 100|4|8"));
        QCOMPARE(game.flag(Flag::b), QByteArray("1\r\n"));
    }

    void aFlagFileThatCannotBeReadStopsOnlyTheSlotsThatReadIt_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("readsTheFlag");
        QTest::addColumn<int>("page");
        QTest::newRow("Label2 reads every flag") << QStringLiteral("Виртуальный ресторан") << true << 2;
        QTest::newRow("Label3 reads flag c") << QStringLiteral("Подводный мир") << true << 6;
        QTest::newRow("Label4 reads no flag") << QStringLiteral("Остров Сокровищ") << false << 4;
    }

    void aFlagFileThatCannotBeReadStopsOnlyTheSlotsThatReadIt()
    {
        QFETCH(QString, caption);
        QFETCH(bool, readsTheFlag);
        QFETCH(int, page);
        TestGame game;
        StoryScreen &screen = openStory(game);
        const QByteArray flag = game.files.content.take("engdat\\c.gdf");
        const QStringList before = storyState(game, screen);

        QVERIFY(clickChoice(screen, caption));
        if (readsTheFlag) {
            QCOMPARE(storyState(game, screen), before);
            QCOMPARE(game.alerts.messages.size(), 1);
            QVERIFY2(game.alerts.messages.first().contains("engdat\\c.gdf"), qPrintable(game.alerts.messages.first()));
            QVERIFY(game.process.statuses.isEmpty());
            game.files.content["engdat\\c.gdf"] = flag;
            QVERIFY(clickChoice(screen, caption));
        } else {
            QVERIFY(game.alerts.messages.isEmpty());
        }
        QCOMPARE(screen.Label1.text(), pageText(page));
    }

    void aFlagThatCannotBeWrittenUndoesTheClickAndTheNextTryWorks()
    {
        TestGame game;
        StoryScreen &screen = openStory(game);
        const QByteArray stuck = play(screen, kPrologue);
        QVERIFY2(stuck.isEmpty(), stuck.constData());
        game.files.unwritable << "engdat\\b.gdf";
        const QStringList before = storyState(game, screen);

        QVERIFY(clickChoice(screen, "Виртуал банк"));
        QCOMPARE(storyState(game, screen), before);
        QCOMPARE(game.alerts.messages.size(), 1);
        QVERIFY2(game.alerts.messages.first().contains("engdat\\b.gdf"), qPrintable(game.alerts.messages.first()));
        QVERIFY(game.process.statuses.isEmpty());

        game.files.unwritable.clear();
        QVERIFY(clickChoice(screen, "Виртуал банк"));
        QCOMPARE(screen.Label1.text(), pageText(16));
        QCOMPARE(choices(screen), QStringLiteral("104|8 / 100|48 / 100|4|8"));
        QCOMPARE(game.flag(Flag::b), QByteArray("1\r\n"));
    }

    // --- Input while a page is shown line by line ------------------------

    void inputDuringAPageLoadWaitsForItAndActsAsIfItCameAfter_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<int>("page");
        QTest::newRow("click on Label3") << QStringLiteral("click Label3") << 3;
        QTest::newRow("F8") << QStringLiteral("F8") << story::kFinalPage;
    }

    void inputDuringAPageLoadWaitsForItAndActsAsIfItCameAfter()
    {
        QFETCH(QString, input);
        QFETCH(int, page);
        const auto give = [&input](StoryScreen &screen) {
            if (input == QLatin1String("F8"))
                QTest::keyClick(&screen, Qt::Key_F8);
            else
                QTest::mouseClick(&screen.Label3, Qt::LeftButton);
        };
        QByteArray longPage;
        QString firstTurn;
        for (int line = 1; line <= 40; ++line) {
            longPage += "line " + QByteArray::number(line) + "\r\n";
            if (line <= 16)
                firstTurn += QStringLiteral("line %1\r\n").arg(line);
        }

        TestGame during;
        // The window system's turn comes at the first look at the clock,
        // after the 16th line, instead of after 8 ms.
        during.gate.setTurnInterval(0);
        during.files.content["text\\gt2.tf"] = longPage;
        StoryScreen &screen = openStory(during);
        QStringList seenInside;
        // Fires while the pane fills, at the load's first turn.
        QTimer::singleShot(0, &screen, [&] {
            give(screen);
            seenInside << screen.Label1.text() << choices(screen);
        });
        QVERIFY(clickChoice(screen, "Виртуальный ресторан"));
        QCOMPARE(seenInside, (QStringList{firstTurn, "Виртуальный ресторан / Подводный мир / Остров Сокровищ"}));

        TestGame after;
        after.files.content["text\\gt2.tf"] = longPage;
        StoryScreen &reference = openStory(after);
        QVERIFY(clickChoice(reference, "Виртуальный ресторан"));
        give(reference);
        TestGame::settle();

        QCOMPARE(screen.Label1.text(), pageText(page));
        QCOMPARE(storyState(during, screen), storyState(after, reference));
        QCOMPARE(during.log.entries, after.log.entries);
    }
};

QTEST_MAIN(StoryScreenFaultsTest)
#include "story_screen_faults_test.moc"
