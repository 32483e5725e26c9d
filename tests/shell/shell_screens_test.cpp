// The screens around the story: how control passes between them, what their
// close boxes do, and the music and cursor calls they make on the way.
#include "test_game.h"

#include "shell/screens/about_screen.h"
#include "shell/screens/intro_screen.h"
#include "shell/screens/menu_screen.h"
#include "shell/screens/splash_screen.h"

#include <QResource>

#include <QElapsedTimer>
#include <QtTest>
#include <QtTest/qtestspontaneevent.h>

using tess::CloseReason;
using tess::ScreenId;

Q_DECLARE_METATYPE(tess::ScreenId)
Q_DECLARE_METATYPE(tess::CloseReason)

class ShellScreensTest : public QObject {
    Q_OBJECT
private slots:
    void theSplashPlaysItsMusicAndGivesWayToTheMenuAfter6258Ms()
    {
        TestGame game;
        QElapsedTimer clock;
        clock.start();
        game.screens.Show(ScreenId::Main);
        QCOMPARE(game.log.entries, QStringList{"play sound\\into.mp3"});
        QTRY_VERIFY_WITH_TIMEOUT(game.screens.isShown(ScreenId::Game), 9000);
        QVERIFY(clock.elapsed() >= tess::SplashScreen::kSplashMs);
        TestGame::settle();
        QVERIFY(!game.screens.isLoaded(ScreenId::Main));
        QCOMPARE(game.log.entries,
                 (QStringList{"play sound\\into.mp3", "install cursor", "play sound\\menu.mp3"}));
    }

    void theSplashDrawsItsLogoFromThePixelsInTheProgram()
    {
        TestGame game;
        game.screens.Show(ScreenId::Main);
        auto &splash = game.screen<tess::SplashScreen>(ScreenId::Main);
        QCOMPARE(splash.Image1.size(), QSize(471, 278));
        // Drawn as it lies, with no copy: the pixels are the program's own.
        QVERIFY(splash.Image1.constBits() == QResource(QStringLiteral(":/pictures/splash_logo.bgrx")).data());
        const QImage shown = splash.grab().toImage();
        const QPoint at(168, 160);
        int differing = 0;
        for (int y = 0; y < splash.Image1.height(); y += 7)
            for (int x = 0; x < splash.Image1.width(); x += 7)
                differing += shown.pixel(at + QPoint(x, y)) != splash.Image1.pixel(x, y);
        QCOMPARE(differing, 0);
        // The globe is blue: the bytes are read in their order (blue, green, red).
        const QRgb globe = splash.Image1.pixel(100, 100);
        QVERIFY2(qBlue(globe) > qRed(globe) + 80, qPrintable(QColor(globe).name()));
    }

    void menuAboutMenuIntroStorySendsTheMusicCommandsInOrder()
    {
        TestGame game;
        game.screens.Show(ScreenId::Game);
        QTest::mouseClick(&game.screen<tess::MenuScreen>(ScreenId::Game).Label2, Qt::LeftButton);
        TestGame::settle();
        QVERIFY(game.screens.isShown(ScreenId::About));
        QVERIFY(!game.screens.isLoaded(ScreenId::Game));
        QCOMPARE(game.screen<tess::AboutScreen>(ScreenId::About).Text1.text(), QStringLiteral("About line\r\n"));

        QTest::mouseClick(&game.screen<tess::AboutScreen>(ScreenId::About).Label2, Qt::LeftButton);
        TestGame::settle();
        QVERIFY(game.screens.isShown(ScreenId::Game));
        QVERIFY(!game.screens.isLoaded(ScreenId::About));

        QTest::mouseClick(&game.screen<tess::MenuScreen>(ScreenId::Game).Label3, Qt::LeftButton);
        TestGame::settle();
        QVERIFY(game.screens.isShown(ScreenId::IntoEngine));
        QVERIFY(!game.screens.isLoaded(ScreenId::Game));
        QCOMPARE(game.screen<tess::IntroScreen>(ScreenId::IntoEngine).Label1.text(),
                 QStringLiteral("Intro line\r\n"));

        QTest::mouseClick(&game.screen<tess::IntroScreen>(ScreenId::IntoEngine).Label2, Qt::LeftButton);
        TestGame::settle();
        QVERIFY(game.screens.isShown(ScreenId::Engine));
        QVERIFY(game.screens.isLoaded(ScreenId::IntoEngine));
        QVERIFY(!game.screens.isShown(ScreenId::IntoEngine));

        QCOMPARE(game.log.entries, (QStringList{
                                       "install cursor", "play sound\\menu.mp3",     // menu
                                       "install cursor", "play sound\\menu.mp3",     // back from about
                                       "play sound\\intoeng.mp3", "close sound\\menu.mp3",
                                       "play sound\\trackgp.mp3", "close sound\\intoeng.mp3",
                                   }));
    }

    void eachScreenAnswersEachCloseReasonAsItsHandlerSays_data()
    {
        QTest::addColumn<ScreenId>("screen");
        QTest::addColumn<CloseReason>("reason");
        QTest::addColumn<bool>("closes");
        QTest::addColumn<QStringList>("quit");  // what the quit procedure did
        QTest::addColumn<QByteArray>("flagsAfter");

        const QStringList none;
        const QStringList quits{"restore cursor", "end 0"};
        struct Row {
            const char *name;
            ScreenId id;
            bool quits;
            bool resets;
        };
        const Row rows[] = {
            {"splash", ScreenId::Main, false, false},  {"menu", ScreenId::Game, false, false},
            {"about", ScreenId::About, false, false},  {"intro", ScreenId::IntoEngine, true, false},
            {"game over", ScreenId::GameOver, true, true}, {"story", ScreenId::Engine, true, true},
            {"console", ScreenId::BLNC, true, true},
        };
        for (const Row &row : rows) {
            for (CloseReason reason : {CloseReason::User, CloseReason::Program, CloseReason::SessionEnd,
                                       CloseReason::TaskManager}) {
                const bool refused = !row.quits && reason == CloseReason::User;
                QTest::addRow("%s, reason %d", row.name, int(reason))
                    << row.id << reason << !refused << (row.quits ? quits : none)
                    << QByteArray(row.resets ? "0\r\n" : "1\r\n");
            }
        }
    }
    void eachScreenAnswersEachCloseReasonAsItsHandlerSays()
    {
        QFETCH(ScreenId, screen);
        QFETCH(CloseReason, reason);
        QFETCH(bool, closes);
        QFETCH(QStringList, quit);
        QFETCH(QByteArray, flagsAfter);

        TestGame game;
        game.screens.Show(screen);
        for (story::Flag flag : story::kAllFlags)
            game.files.content[story::StoryFlags::fileOf(flag)] = "1\r\n";
        game.log.entries.clear();

        game.screens.requestClose(screen, reason);
        QCOMPARE(game.screens.isLoaded(screen), !closes);
        QStringList quitCalls = game.log.entries;
        quitCalls.removeIf([](const QString &entry) { return entry.startsWith(u"play") || entry.startsWith(u"close"); });
        QCOMPARE(quitCalls, quit);
        for (story::Flag flag : story::kAllFlags)
            QCOMPARE(game.flag(flag), flagsAfter);
    }

    void theCloseBoxAsksWithReasonZero()
    {
        TestGame game;
        game.screens.Show(ScreenId::Game);
        QCloseEvent closeBox;
        QSpontaneKeyEvent::setSpontaneous(&closeBox);
        qApp->notify(&game.screens.get(ScreenId::Game), &closeBox);
        TestGame::settle();
        QVERIFY(game.screens.isShown(ScreenId::Game));  // the menu refuses its close box

        game.screens.Show(ScreenId::IntoEngine);
        qApp->notify(&game.screens.get(ScreenId::IntoEngine), &closeBox);
        QCOMPARE(game.process.statuses, QList<int>{0});
    }

    void theLastScreenToUnloadEndsTheProgram()
    {
        TestGame game;
        game.screens.Show(ScreenId::Game);
        game.screens.closeAll(CloseReason::TaskManager);
        QVERIFY(game.process.statuses.isEmpty());  // not from inside the handler
        TestGame::settle();
        QCOMPARE(game.process.statuses, QList<int>{0});
        QCOMPARE(game.files.writes, 0);
    }

    void aSignalClosesTheScreenThePlayerIsOnFirst()
    {
        // The hidden intro would quit keeping the flags; the story screen in
        // front must be asked first, and it resets them.
        TestGame game;
        game.screens.Show(ScreenId::IntoEngine);
        game.screens.Hide(ScreenId::IntoEngine);
        game.screens.Show(ScreenId::Engine);
        game.files.content[story::StoryFlags::fileOf(story::Flag::c)] = "1\r\n";
        game.log.entries.clear();
        game.screens.closeAll(CloseReason::TaskManager);
        QCOMPARE(game.flag(story::Flag::c), QByteArray("0\r\n"));
        QCOMPARE(game.log.entries.mid(0, 2), (QStringList{"restore cursor", "end 0"}));
    }

    void aHiddenScreenShownAgainLooksTheSame()
    {
        // A hidden screen lets its decoded picture go and decodes it again
        // before it is shown.
        TestGame game;
        for (ScreenId id : {ScreenId::IntoEngine, ScreenId::Engine}) {
            game.screens.Show(id);
            TestGame::settle();
            QWidget &screen = game.screens.get(id);
            const QImage before = screen.grab().toImage();
            const QRect placed = screen.geometry();
            game.screens.Hide(id);
            TestGame::settle();
            game.screens.Show(id);
            TestGame::settle();
            QCOMPARE(screen.grab().toImage(), before);
            QCOMPARE(screen.geometry(), placed);
        }
    }

    void menuExitRestoresTheArrowAndKeepsTheFlags()
    {
        TestGame game;
        game.screens.Show(ScreenId::Game);
        game.log.entries.clear();
        QTest::mouseClick(&game.screen<tess::MenuScreen>(ScreenId::Game).Label1, Qt::LeftButton);
        QCOMPARE(game.log.entries, (QStringList{"restore cursor", "end 0"}));
        QCOMPARE(game.files.writes, 0);
    }

    void aFlagThatCannotBeResetIsNamedToThePlayerAndTheGameStillEnds()
    {
        TestGame game;
        game.screens.Show(ScreenId::GameOver);
        game.files.unwritable << QStringLiteral("engdat\\c.gdf");
        game.log.entries.clear();
        game.screens.requestClose(ScreenId::GameOver, CloseReason::User);
        QCOMPARE(game.alerts.messages,
                 QStringList{QStringLiteral("Не удалось сбросить прогресс истории. Файл «engdat\\c.gdf»: на диске нет места.")});
        QCOMPARE(game.log.entries, (QStringList{"restore cursor", "restore cursor", "end 1"}));
    }

    void aMissingAboutTextIsFatalAndNamesTheFile()
    {
        TestGame game;
        game.files.content.remove(QStringLiteral("text\\read.tf"));
        game.screens.Show(ScreenId::Game);
        QTest::mouseClick(&game.screen<tess::MenuScreen>(ScreenId::Game).Label2, Qt::LeftButton);
        QCOMPARE(game.alerts.messages.size(), 1);
        QVERIFY(game.alerts.messages[0].contains(QStringLiteral("text\\read.tf")));
        QCOMPARE(game.process.statuses, QList<int>{1});
    }

    void aMissingIntroTextIsFatalAfterTheSecondTry()
    {
        TestGame game;
        game.files.content.remove(QStringLiteral("text\\into.tf"));
        game.screens.Show(ScreenId::Game);
        QTest::mouseClick(&game.screen<tess::MenuScreen>(ScreenId::Game).Label3, Qt::LeftButton);
        QCOMPARE(game.process.statuses, QList<int>{1});
        QVERIFY(game.alerts.messages.value(0).contains(QStringLiteral("text\\into.tf")));
        QCOMPARE(game.log.entries.count(QStringLiteral("play sound\\intoeng.mp3")), 2);
    }

    void windowsHaveTheirFixedClientSizesAndTitle_data()
    {
        QTest::addColumn<ScreenId>("screen");
        QTest::addColumn<QSize>("size");
        QTest::newRow("splash") << ScreenId::Main << QSize(799, 593);
        QTest::newRow("menu") << ScreenId::Game << QSize(799, 593);
        QTest::newRow("about") << ScreenId::About << QSize(797, 591);
        QTest::newRow("intro") << ScreenId::IntoEngine << QSize(798, 596);
        QTest::newRow("story") << ScreenId::Engine << QSize(800, 598);
        QTest::newRow("game over") << ScreenId::GameOver << QSize(797, 591);
        QTest::newRow("console") << ScreenId::BLNC << QSize(797, 591);
    }
    void windowsHaveTheirFixedClientSizesAndTitle()
    {
        QFETCH(ScreenId, screen);
        QFETCH(QSize, size);
        TestGame game;
        QWidget &window = game.screens.get(screen);
        QCOMPARE(window.size(), size);
        QCOMPARE(window.minimumSize(), size);
        QCOMPARE(window.maximumSize(), size);
        QVERIFY(!(window.windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(window.windowTitle().startsWith(QStringLiteral("Миры \"Tessaranium\"")));
    }

    void clickAreasLieOverTheirButtons()
    {
        TestGame game;
        auto &menu = game.screen<tess::MenuScreen>(ScreenId::Game);
        QCOMPARE(menu.Label3.geometry(), QRect(536, 216, 241, 41));
        QCOMPARE(menu.Label2.geometry(), QRect(536, 296, 241, 49));
        QCOMPARE(menu.Label1.geometry(), QRect(536, 384, 241, 41));
        auto &about = game.screen<tess::AboutScreen>(ScreenId::About);
        QCOMPARE(about.Label2.geometry(), QRect(592, 16, 193, 49));
        QCOMPARE(about.Text1.geometry(), QRect(48, 264, 529, 297));
        auto &intro = game.screen<tess::IntroScreen>(ScreenId::IntoEngine);
        QCOMPARE(intro.Label2.geometry(), QRect(304, 504, 185, 41));
        QCOMPARE(intro.Label2.text(), QStringLiteral("Начать игру"));

        // A click beside the buttons does nothing.
        game.screens.Show(ScreenId::Game);
        game.log.entries.clear();
        QTest::mouseClick(&menu, Qt::LeftButton, {}, QPoint(520, 230));
        QTest::mouseClick(&menu, Qt::LeftButton, {}, QPoint(600, 270));
        QVERIFY(game.log.entries.isEmpty());
        QVERIFY(game.screens.isShown(ScreenId::Game));
    }

    void theAboutTextCannotBeEdited()
    {
        TestGame game;
        game.screens.Show(ScreenId::About);
        auto &text = game.screen<tess::AboutScreen>(ScreenId::About).Text1;
        QTest::keyClicks(&text, QStringLiteral("xyz"));
        QCOMPARE(text.toPlainText(), QStringLiteral("About line\n"));
        QVERIFY(text.isReadOnly());
    }
};

QTEST_MAIN(ShellScreensTest)
#include "shell_screens_test.moc"
