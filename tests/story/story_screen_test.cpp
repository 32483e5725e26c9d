// The story screen inside the whole game: played with the mouse and the
// keyboard only, from the first page to every ending; the highlight under
// the pointer and the keys.
#include "story_screen.h"

class StoryScreenTest : public QObject {
    Q_OBJECT
private slots:
    // --- Playing the story through -------------------------------------

    void everyWalkthroughFromPageOneEndsWhereItsClicksLead_data()
    {
        QTest::addColumn<Route>("route");
        QTest::addColumn<int>("finalPage");
        QTest::addColumn<QString>("finalChoices");
        QTest::addColumn<ScreenId>("finalScreen");
        QTest::addColumn<QByteArray>("finalFlags");
        for (const Walkthrough &walk : walkthroughs())
            QTest::newRow(walk.name) << walk.route << walk.finalPage << walk.choices << walk.screen << walk.flags;
    }

    void everyWalkthroughFromPageOneEndsWhereItsClicksLead()
    {
        QFETCH(Route, route);
        QFETCH(int, finalPage);
        QFETCH(QString, finalChoices);
        QFETCH(ScreenId, finalScreen);
        QFETCH(QByteArray, finalFlags);
        TestGame game;
        StoryScreen &screen = openStory(game);
        QCOMPARE(screen.Label1.text(), pageText(1));

        const QByteArray stuck = play(screen, route);
        QVERIFY2(stuck.isEmpty(), stuck.constData());

        QCOMPARE(screen.Label1.text(), pageText(finalPage));
        QCOMPARE(choices(screen), finalChoices);
        QCOMPARE(flagLetters(game), finalFlags);
        QVERIFY(game.screens.isShown(finalScreen));
        QVERIFY(game.screens.isLoaded(ScreenId::Engine));
        QCOMPARE(game.screens.isShown(ScreenId::Engine), finalScreen == ScreenId::Engine);
        QCOMPARE(game.log.entries, finalScreen == ScreenId::GameOver ? kGameOverMusic : kStoryMusic);
        QVERIFY(game.alerts.messages.isEmpty());
        QVERIFY(game.process.statuses.isEmpty());
    }

    void everyPageOfTheStoryIsShownOnSomeWalkthrough()
    {
        QSet<QString> panes;
        for (const Walkthrough &walk : walkthroughs()) {
            TestGame game;
            StoryScreen &screen = openStory(game);
            panes << screen.Label1.text();
            const QByteArray stuck = play(screen, walk.route, &panes);
            QVERIFY2(stuck.isEmpty(), stuck.constData());
        }
        QStringList missing;
        for (int page = 1; page <= story::pageCount(story::gameTables()); ++page) {
            if (!panes.contains(pageText(page)))
                missing << QString::number(page);
        }
        QVERIFY2(missing.isEmpty(), qPrintable(QStringLiteral("never shown: ") + missing.join(u' ')));
    }

    void theBankCodeAndThePlanetariumCardWriteTheirFlagsOnTheClickThatChoosesThem()
    {
        TestGame game;
        StoryScreen &screen = openStory(game);
        QByteArray stuck = play(screen, kPrologue + Route{"Виртуал банк"});
        QVERIFY2(stuck.isEmpty(), stuck.constData());
        QCOMPARE(flagLetters(game), QByteArray("100"));
        QVERIFY(clickChoice(screen, "104|8"));
        QCOMPARE(game.flag(Flag::bc), QByteArray("1\r\n"));
        QCOMPARE(flagLetters(game), QByteArray("101"));
        stuck = play(screen, Route{">Далее", ">>Далее", ">>>Далее", ">>>>Далее", "Планетарий"});
        QVERIFY2(stuck.isEmpty(), stuck.constData());
        QCOMPARE(choices(screen), QStringLiteral("Ввести код карты: 7183 / <<<<Назад / —"));
        QVERIFY(clickChoice(screen, "Ввести код карты: 7183"));
        QCOMPARE(game.flag(Flag::c), QByteArray("1\r\n"));
        QCOMPARE(flagLetters(game), QByteArray("111"));
    }

    // --- Hover highlight -------------------------------------------------

    void aDoubleClickOnAChoiceTakesItOnceAndSkipsNoPage()
    {
        TestGame game;
        StoryScreen &screen = openStory(game);
        // What the window system sends for a double click: press, release,
        // double-click press, release.
        QTest::mouseClick(&screen.Label3, Qt::LeftButton);  // «Подводный мир»
        QTest::mouseDClick(&screen.Label3, Qt::LeftButton);
        QTest::mouseRelease(&screen.Label3, Qt::LeftButton);
        TestGame::settle();
        QCOMPARE(screen.Label1.text(), pageText(6));
        QCOMPARE(choices(screen), QStringLiteral("Подойти к ней / Уйти / —"));
    }

    void beforeAnyPointerMoveTheSlotsKeepTheirLaidOutColour()
    {
        TestGame game;
        StoryScreen &screen = openStory(game);
        for (const tess::Label *slot : choiceSlots(screen))
            QCOMPARE(slot->foreground(), tess::layoutColor(0x80000012));
    }

    void theSlotUnderThePointerAloneIsHighlightedAndTheBackgroundClearsAll()
    {
        const QColor normal(0x00, 0xAA, 0xA4);
        const QColor highlight(0x05, 0xFD, 0xF4);
        TestGame game;
        StoryScreen &screen = openStory(game);
        const auto colours = [&] {
            return QList<QColor>{screen.Label2.foreground(), screen.Label3.foreground(), screen.Label4.foreground()};
        };

        QTest::mouseMove(&screen.Label2);
        QCOMPARE(colours(), (QList<QColor>{highlight, normal, normal}));
        QTest::mouseMove(&screen.Label3);
        QCOMPARE(colours(), (QList<QColor>{normal, highlight, normal}));
        QTest::mouseMove(&screen.Label4);
        QCOMPARE(colours(), (QList<QColor>{normal, normal, highlight}));
        QTest::mouseMove(&screen, QPoint(20, 20));
        QCOMPARE(colours(), (QList<QColor>{normal, normal, normal}));
    }

    void movingOverTheStoryPaneChangesNoColour()
    {
        TestGame game;
        StoryScreen &screen = openStory(game);
        QTest::mouseMove(&screen.Label3, QPoint(5, 5));
        QCOMPARE(screen.Label3.foreground(), StoryScreen::kHighlightColour);
        QTest::mouseMove(&screen.Label1);
        QCOMPARE(screen.Label2.foreground(), StoryScreen::kNormalColour);
        QCOMPARE(screen.Label3.foreground(), StoryScreen::kHighlightColour);
        QCOMPARE(screen.Label4.foreground(), StoryScreen::kNormalColour);
    }

    // --- Keys ------------------------------------------------------------

    void f8ShowsTheLastPageWithOnlyTheEndChoiceWhateverModifiersAreHeld_data()
    {
        QTest::addColumn<Route>("before");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::newRow("on page 1") << Route{} << Qt::KeyboardModifiers(Qt::NoModifier);
        QTest::newRow("on page 1 with Shift") << Route{} << Qt::KeyboardModifiers(Qt::ShiftModifier);
        QTest::newRow("on page 1 with Ctrl") << Route{} << Qt::KeyboardModifiers(Qt::ControlModifier);
        QTest::newRow("after the bank with Shift+Ctrl")
            << kPrologue + Route{"Виртуал банк"} << (Qt::ShiftModifier | Qt::ControlModifier);
    }

    void f8ShowsTheLastPageWithOnlyTheEndChoiceWhateverModifiersAreHeld()
    {
        QFETCH(Route, before);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        TestGame game;
        StoryScreen &screen = openStory(game);
        const QByteArray stuck = play(screen, before);
        QVERIFY2(stuck.isEmpty(), stuck.constData());
        const QByteArray flags = flagLetters(game);

        QTest::keyClick(&screen, Qt::Key_F8, modifiers);
        TestGame::settle();
        QCOMPARE(screen.Label1.text(), pageText(story::kFinalPage));
        QCOMPARE(choices(screen), QStringLiteral("Конец / — / —"));
        QCOMPARE(flagLetters(game), flags);
        QCOMPARE(game.log.entries, kStoryMusic);

        QVERIFY(clickChoice(screen, "Конец"));
        QVERIFY(game.screens.isShown(ScreenId::GameOver));
        QVERIFY(!game.screens.isShown(ScreenId::Engine));
        QCOMPARE(game.log.entries, kGameOverMusic);
    }

    void theKeypadCommaHidesTheStoryUntouchedAndOpensTheConsole()
    {
        TestGame game;
        StoryScreen &screen = openStory(game);
        const QByteArray stuck = play(screen, kPrologue + Route{"Виртуал банк"});
        QVERIFY2(stuck.isEmpty(), stuck.constData());
        const QStringList before = storyState(game, screen);

        QTest::keyClick(&screen, Qt::Key_Comma, Qt::KeypadModifier);
        TestGame::settle();
        QVERIFY(game.screens.isShown(ScreenId::BLNC));
        QVERIFY(game.screens.isLoaded(ScreenId::Engine));
        QVERIFY(!game.screens.isShown(ScreenId::Engine));
        QCOMPARE(storyState(game, screen), before);
        QCOMPARE(game.log.entries, kStoryMusic);
    }

    void aPlainCommaDoesNothing()
    {
        TestGame game;
        StoryScreen &screen = openStory(game);
        const QStringList before = storyState(game, screen);
        QTest::keyClick(&screen, Qt::Key_Comma);
        TestGame::settle();
        QVERIFY(game.screens.isShown(ScreenId::Engine));
        QVERIFY(!game.screens.isLoaded(ScreenId::BLNC));
        QCOMPARE(storyState(game, screen), before);
    }

    void keysTypedIntoTheCodeBoxStayThereAndAreNoShortcuts()
    {
        TestGame game;
        StoryScreen &screen = openStory(game);
        const QByteArray stuck = play(screen, kToTheCodeBox);
        QVERIFY2(stuck.isEmpty(), stuck.constData());
        QVERIFY(!screen.Text1.isHidden());
        screen.Text1.setFocus();
        const QStringList before = storyState(game, screen);

        QTest::keyClick(&screen.Text1, Qt::Key_F8);
        QTest::keyClick(&screen.Text1, Qt::Key_Comma, Qt::KeypadModifier);
        TestGame::settle();
        QCOMPARE(storyState(game, screen), before);
        QCOMPARE(screen.Text1.text(), QStringLiteral(","));
        QVERIFY(game.screens.isShown(ScreenId::Engine));
        QVERIFY(!game.screens.isLoaded(ScreenId::BLNC));
    }
};

QTEST_MAIN(StoryScreenTest)
#include "story_screen_test.moc"
