// The console screen's two ways out (the exit command and the close) and its
// two ways in from the story screen, in the whole game.
#include "console_screen.h"

class ConsoleWaysTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { useTheGamesFonts(); }

    // --- The two ways out ----------------------------------------------

    void theExitCommandEndsTheProgramWithStatusZeroKeepingTheFlagsAndTheGameArrow()
    {
        TestGame game;
        ConsoleScreen &blnc = openConsole(game);
        setAllFlags(game, "1\r\n");
        game.log.entries.clear();
        run(blnc, QStringLiteral("command^end<consol"));
        QCOMPARE(game.log.entries, QStringList{"end 0"});
        QCOMPARE(game.process.statuses, QList<int>{0});
        for (story::Flag flag : story::kAllFlags)
            QCOMPARE(game.flag(flag), QByteArray("1\r\n"));
        QCOMPARE(game.files.writes, 0);
        QVERIFY(!game.log.entries.contains(QStringLiteral("restore cursor")));
        // The answer is in place at the moment the program ends.
        QCOMPARE(blnc.Con.text(), ">_" + kOpened);
        QCOMPARE(blnc.Texcon.text(), QStringLiteral("Good By!"));
        QCOMPARE(visiblePhotos(blnc), 0);
    }

    void theExitCommandIsCaseSensitiveAndWholeLineOnly_data()
    {
        QTest::addColumn<QString>("line");
        QTest::newRow("capital") << QStringLiteral("Command^end<consol");
        QTest::newRow("space after") << QStringLiteral("command^end<consol ");
        QTest::newRow("space before") << QStringLiteral(" command^end<consol");
        QTest::newRow("short") << QStringLiteral("command^end<");
        QTest::newRow("bare") << QStringLiteral("end<consol");
        QTest::newRow("upper") << QStringLiteral("COMMAND^END<CONSOL");
    }
    void theExitCommandIsCaseSensitiveAndWholeLineOnly()
    {
        QFETCH(QString, line);
        TestGame game;
        ConsoleScreen &blnc = openConsole(game);
        run(blnc, line);
        QVERIFY(game.process.statuses.isEmpty());
        QCOMPARE(blnc.Con.text(), QStringLiteral(">_"));
    }

    void closingTheConsoleRestoresTheArrowResetsTheThreeFlagsAndEndsWithStatusZero()
    {
        TestGame game;
        ConsoleScreen &blnc = openConsole(game);
        run(blnc, QStringLiteral("command^diec<my_foto.see"));
        setAllFlags(game, "1\r\n");
        game.log.entries.clear();
        game.screens.requestClose(ScreenId::BLNC, CloseReason::User);
        QCOMPARE(game.log.entries, (QStringList{"restore cursor", "end 0"}));
        QCOMPARE(game.process.statuses, QList<int>{0});
        for (story::Flag flag : story::kAllFlags)
            QCOMPARE(game.flag(flag), QByteArray("0\r\n"));
        QCOMPARE(game.files.writes, 3);
        QVERIFY(!game.screens.isLoaded(ScreenId::BLNC));
        TestGame::settle();
    }

    void theCloseBoxOfTheConsoleWindowIsAClosingByThePlayer()
    {
        TestGame game;
        ConsoleScreen &blnc = openConsole(game);
        setAllFlags(game, "1\r\n");
        game.log.entries.clear();
        QCloseEvent closeBox;
        QSpontaneKeyEvent::setSpontaneous(&closeBox);
        qApp->notify(&blnc, &closeBox);
        QCOMPARE(game.log.entries.mid(0, 2), (QStringList{"restore cursor", "end 0"}));
        for (story::Flag flag : story::kAllFlags)
            QCOMPARE(game.flag(flag), QByteArray("0\r\n"));
        TestGame::settle();
    }

    void closingResetsTheFlagsInTheOrderBThenCThenBc()
    {
        // With c refusing the write, b is already reset and bc not yet.
        TestGame game;
        openConsole(game);
        setAllFlags(game, "1\r\n");
        game.files.unwritable << story::StoryFlags::fileOf(story::Flag::c);
        game.log.entries.clear();
        game.screens.requestClose(ScreenId::BLNC, CloseReason::User);
        QCOMPARE(game.flag(story::Flag::b), QByteArray("0\r\n"));
        QCOMPARE(game.flag(story::Flag::c), QByteArray("1\r\n"));
        QCOMPARE(game.flag(story::Flag::bc), QByteArray("1\r\n"));
        QCOMPARE(game.alerts.messages.size(), 1);
        QCOMPARE(game.process.statuses, QList<int>{1});
        TestGame::settle();
    }

    // --- The ways in from the story ------------------------------------

    void thePasswordZolvOnPage56OpensTheConsoleAndHidesTheStoryWithItsState()
    {
        TestGame game;
        auto &story = storyOnPage56(game);
        QCOMPARE(story.Label1.text(), QStringLiteral("page 56\r\n"));
        QCOMPARE(story.Label3.text(), QStringLiteral("Enter parol"));
        QVERIFY(story.Text1.isVisible());
        QVERIFY(!game.screens.isLoaded(ScreenId::BLNC));

        QTest::keyClicks(&story.Text1, QStringLiteral("zolv"));
        QTest::mouseClick(&story.Label3, Qt::LeftButton);
        TestGame::settle();

        QVERIFY(game.screens.isShown(ScreenId::BLNC));
        QVERIFY(game.screens.isLoaded(ScreenId::Engine));
        QVERIFY(!game.screens.isShown(ScreenId::Engine));
        // The story stays as the player left it.
        QCOMPARE(story.Label1.text(), QStringLiteral("page 56\r\n"));
        QCOMPARE(story.Label3.text(), QStringLiteral("Enter parol"));
        QCOMPARE(story.Text1.text(), QStringLiteral("zolv"));
        // Its music goes on under the console.
        QCOMPARE(game.log.entries, QStringList{"play sound\\trackgp.mp3"});
        QVERIFY(!game.log.entries.contains(QStringLiteral("close sound\\trackgp.mp3")));

        auto &blnc = game.screen<ConsoleScreen>(ScreenId::BLNC);
        QCOMPARE(blnc.Con.text(), QStringLiteral(">_"));
        QCOMPARE(blnc.Texcon.text(), QString());
        QCOMPARE(blnc.Text.text(), QString());
        QCOMPARE(visiblePhotos(blnc), 0);
        QVERIFY(game.process.statuses.isEmpty());
    }

    void theCodeBoxWithEnterParolAndZolvOpensTheConsoleOnAnyPage()
    {
        TestGame game;
        game.screens.Show(ScreenId::Engine);
        auto &story = game.screen<story::StoryScreen>(ScreenId::Engine);
        story::StoryScreenState at = story.state();
        at.choice(story::Slot::Label3).caption = QStringLiteral("Enter parol");
        at.codeBoxShown = true;
        story.restore(at);
        QTest::keyClicks(&story.Text1, QStringLiteral("zolv"));
        QTest::mouseClick(&story.Label3, Qt::LeftButton);
        QVERIFY(game.screens.isShown(ScreenId::BLNC));
        QVERIFY(!game.screens.isShown(ScreenId::Engine));
        QCOMPARE(story.Label1.text(), QStringLiteral("page 1\r\n"));
    }

    void aWrongCodeOrAnotherCaseOfZolvOpensNoConsole()
    {
        for (const char *code : {"Zolv", "zolv ", "ZOLV", "zol"}) {
            TestGame game;
            game.screens.Show(ScreenId::Engine);
            auto &story = game.screen<story::StoryScreen>(ScreenId::Engine);
            story::StoryScreenState at = story.state();
            at.choice(story::Slot::Label3).caption = QStringLiteral("Enter parol");
            at.codeBoxShown = true;
            story.restore(at);
            QTest::keyClicks(&story.Text1, QString::fromLatin1(code));
            QTest::mouseClick(&story.Label3, Qt::LeftButton);
            QVERIFY2(!game.screens.isLoaded(ScreenId::BLNC), code);
            QVERIFY(game.screens.isShown(ScreenId::Engine));
        }
    }

    void theKeypadSeparatorOnTheStoryScreenOpensTheConsole()
    {
        TestGame game;
        auto &story = storyOnPage56(game);
        game.log.entries.clear();

        QTest::keyClick(&story, Qt::Key_Comma, Qt::KeypadModifier);
        TestGame::settle();
        QVERIFY(game.screens.isShown(ScreenId::BLNC));
        QVERIFY(game.screens.isLoaded(ScreenId::Engine));
        QVERIFY(!game.screens.isShown(ScreenId::Engine));
        QCOMPARE(story.Label1.text(), QStringLiteral("page 56\r\n"));
        QVERIFY(game.log.entries.isEmpty());  // the story music is not closed
        auto &blnc = game.screen<ConsoleScreen>(ScreenId::BLNC);
        QCOMPARE(blnc.Con.text(), QStringLiteral(">_"));
        QVERIFY(game.process.statuses.isEmpty());
    }

    void theMainKeyboardCommaDoesNotOpenTheConsole()
    {
        TestGame game;
        game.screens.Show(ScreenId::Engine);
        auto &story = game.screen<story::StoryScreen>(ScreenId::Engine);
        QTest::keyClick(&story, Qt::Key_Comma);
        QVERIFY(!game.screens.isLoaded(ScreenId::BLNC));
        QVERIFY(game.screens.isShown(ScreenId::Engine));
    }

    void theConsoleReachedFromTheStoryRunsCommandsAndItsCloseResetsTheFlags()
    {
        TestGame game;
        game.screens.Show(ScreenId::Engine);
        auto &story = game.screen<story::StoryScreen>(ScreenId::Engine);
        QTest::keyClick(&story, Qt::Key_Comma, Qt::KeypadModifier);
        auto &blnc = game.screen<ConsoleScreen>(ScreenId::BLNC);
        QVERIFY(QTest::qWaitForWindowExposed(&blnc));
        run(blnc, QStringLiteral("command^diec<report_3.rea"));
        QVERIFY(blnc.Texcon.text().startsWith(QStringLiteral("Отчет протокола")));
        setAllFlags(game, "1\r\n");
        game.log.entries.clear();
        game.screens.requestClose(ScreenId::BLNC, CloseReason::User);
        QCOMPARE(game.log.entries, (QStringList{"restore cursor", "end 0"}));
        for (story::Flag flag : story::kAllFlags)
            QCOMPARE(game.flag(flag), QByteArray("0\r\n"));
        TestGame::settle();
        // The console never hands control back to the story.
        QVERIFY(!game.screens.isShown(ScreenId::Engine));
    }
};

QTEST_MAIN(ConsoleWaysTest)
#include "console_ways_test.moc"
