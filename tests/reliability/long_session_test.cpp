// Long sessions: thousands of console commands keep the log whole and in
// order (and print how long a command takes as the log grows), and a long
// stretch of simulated play, and many whole games one after another, leave
// no window, screen or object behind (under LeakSanitizer, no memory either).
// Figures are printed, never asserted.
//
// Sizes: --commands N (3,000 by default; 10,100 for the published figures,
// which time the hundred commands from 0, 1,000 and 10,000 log entries on),
// --play-minutes N (10 by default; 60 for an hour), --games N (30).
#include "test_game.h"

#include "console/core/command_table.h"
#include "console/ui/console_screen.h"
#include "shell/screens/about_screen.h"
#include "shell/screens/intro_screen.h"
#include "shell/screens/menu_screen.h"
#include "story/ui/story_screen.h"

#include "quiet_platform.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QtTest>

#include <random>

using console::ConsoleScreen;
using story::StoryScreen;
using story::Slot;
using tess::ScreenId;

namespace {

long commandCount = 3000;
long playMinutes = 10;
long gameCount = 30;

// The resident memory of this process, in kilobytes.
long residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

int liveWidgets()
{
    return int(QApplication::allWidgets().size());
}

// Commands a player would type, in a loop: every command of the table but
// the one that ends the program.
QList<const console::ConsoleCommand *> playerCommands()
{
    QList<const console::ConsoleCommand *> commands;
    for (const console::ConsoleCommand &command : console::commandTable()) {
        if (!command.endsProgram)
            commands << &command;
    }
    return commands;
}

// Captions whose click would end the story; a long session steers round them.
bool endsTheStory(const QString &caption)
{
    return caption == u"Конец" || caption == u"11 часов" || caption == u"17 часов" || caption == u"Enter parol";
}

} // namespace

class LongSessionTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { quietPlatform(); }

    void thousandsOfConsoleCommandsKeepTheLogWholeAndInOrder()
    {
        TestGame game;
        game.screens.Show(ScreenId::BLNC);
        auto &blnc = game.screen<ConsoleScreen>(ScreenId::BLNC);
        QVERIFY(QTest::qWaitForWindowExposed(&blnc));
        const auto commands = playerCommands();
        QString expected = console::kPrompt.toString();
        // Timed: the hundred commands from each of these log sizes on.
        const long checkpoints[] = {0, 1000, 10000};
        QElapsedTimer clock;
        clock.start();
        qint64 started = 0;
        for (long i = 0; i < commandCount; ++i) {
            const console::ConsoleCommand &command = *commands[qsizetype(i) % commands.size()];
            blnc.Text.setText(command.line.toString());
            if (std::find(std::begin(checkpoints), std::end(checkpoints), i) != std::end(checkpoints))
                started = clock.nsecsElapsed();
            // The execute button, then the screen drawn as the player sees it.
            QTest::mouseClick(&blnc.Label3, Qt::LeftButton);
            blnc.repaint();
            expected += command.block.toString();
            if (std::find(std::begin(checkpoints), std::end(checkpoints), i - 99) != std::end(checkpoints)) {
                qInfo("from %5ld log entries on (%7lld characters): %.3f ms a command, drawing included", i - 99,
                      qsizetype(blnc.log().size()), double(clock.nsecsElapsed() - started) / 100 / 1e6);
            }
        }
        QCOMPARE(blnc.log().size(), expected.size());
        QCOMPARE(blnc.log(), expected);
        QVERIFY(game.alerts.messages.isEmpty());
        QVERIFY(game.process.statuses.isEmpty());
    }

    void aLongStretchOfPlayLeavesNoWidgetBehindAndPrintsItsMemory()
    {
        // One game, as a player keeps it open: a click a second on the story
        // screen with ten pointer moves between clicks, then the console.
        const long before = residentKb();
        const int widgetsBefore = liveWidgets();
        std::mt19937 random(5);
        long clicks = 0, moves = 0, commands = 0;
        QElapsedTimer clock;
        clock.start();
        {
            TestGame game;
            game.screens.Show(ScreenId::Engine);
            auto &story = game.screen<StoryScreen>(ScreenId::Engine);
            const long seconds = playMinutes * 60;
            for (long second = 0; second < seconds * 3 / 4; ++second) {
                for (int move = 0; move < 10; ++move) {
                    tess::Label *over = random() % 2 ? &story.Label2 : &story.Label3;
                    QTest::mouseMove(over, QPoint(int(random() % 20), 5));
                    ++moves;
                }
                QList<tess::Label *> choices;
                for (tess::Label *slot : {&story.Label2, &story.Label3, &story.Label4}) {
                    if (!slot->isHidden() && !endsTheStory(slot->text()))
                        choices << slot;
                }
                if (choices.isEmpty()) {
                    // Back to the first page's choices, as a fresh story would start.
                    story.setCaption(Slot::Label3, QStringLiteral("Назад"));
                    story.setShown(Slot::Label3, true);
                    continue;
                }
                QTest::mouseClick(choices[qsizetype(random() % std::uint32_t(choices.size()))], Qt::LeftButton);
                TestGame::settle();
                ++clicks;
                if (second % 600 == 0)
                    qInfo("after %3ld minutes of story: %ld kB resident", second / 60, residentKb());
            }
            QVERIFY(story.isVisible());
            QVERIFY(game.alerts.messages.isEmpty());

            game.screens.Hide(ScreenId::Engine);
            game.screens.Show(ScreenId::BLNC);
            auto &blnc = game.screen<ConsoleScreen>(ScreenId::BLNC);
            const auto table = playerCommands();
            for (long second = seconds * 3 / 4; second < seconds; ++second) {
                blnc.Text.setText(table[qsizetype(random() % std::uint32_t(table.size()))]->line.toString());
                QTest::mouseClick(&blnc.Label3, Qt::LeftButton);
                if (random() % 50 == 0)
                    QTest::mouseClick(&blnc.Label1, Qt::LeftButton);  // the red button
                TestGame::settle();
                ++commands;
            }
            QVERIFY(game.process.statuses.isEmpty());
        }
        TestGame::settle();
        const long after = residentKb();
        qInfo("%ld minutes of play (%ld clicks, %ld pointer moves, %ld console commands) in %lld ms; "
              "resident memory %ld kB at the start, %ld kB at the end",
              playMinutes, clicks, moves, commands, clock.elapsed(), before, after);
        QCOMPARE(liveWidgets(), widgetsBefore);
    }

    void wholeGamesOneAfterAnotherLeaveNoScreenBehind()
    {
        const int widgetsBefore = liveWidgets();
        const long before = residentKb();
        for (long round = 0; round < gameCount; ++round) {
            TestGame game;
            game.screens.Show(ScreenId::Game);
            QTest::mouseClick(&game.screen<tess::MenuScreen>(ScreenId::Game).Label2, Qt::LeftButton);
            TestGame::settle();
            QTest::mouseClick(&game.screen<tess::AboutScreen>(ScreenId::About).Label2, Qt::LeftButton);
            TestGame::settle();
            QTest::mouseClick(&game.screen<tess::MenuScreen>(ScreenId::Game).Label3, Qt::LeftButton);
            TestGame::settle();
            QTest::mouseClick(&game.screen<tess::IntroScreen>(ScreenId::IntoEngine).Label2, Qt::LeftButton);
            TestGame::settle();
            auto &story = game.screen<StoryScreen>(ScreenId::Engine);
            QTest::keyClick(&story, round % 2 ? Qt::Key_F8 : Qt::Key_A);
            if (round % 2) {
                QTest::mouseClick(&story.Label2, Qt::LeftButton);  // Конец
                TestGame::settle();
                QVERIFY(game.screens.isShown(ScreenId::GameOver));
                game.screens.requestClose(ScreenId::GameOver, tess::CloseReason::TaskManager);
            } else {
                QTest::keyClick(&story, Qt::Key_Comma, Qt::KeypadModifier);
                TestGame::settle();
                QVERIFY(game.screens.isShown(ScreenId::BLNC));
                game.screens.closeAll(tess::CloseReason::TaskManager);
            }
            TestGame::settle();
            QCOMPARE(game.process.statuses.value(0, -1), 0);
            for (story::Flag flag : story::kAllFlags)
                QCOMPARE(game.flag(flag), QByteArray("0\r\n"));
            if ((round + 1) % 25 == 0)
                qInfo("after %3ld games: %ld kB resident", round + 1, residentKb());
        }
        TestGame::settle();
        QCOMPARE(liveWidgets(), widgetsBefore);
        qInfo("%ld games: resident memory %ld kB before, %ld kB after", gameCount, before, residentKb());
    }
};

int main(int argc, char *argv[])
{
    std::vector<char *> kept;
    for (int i = 0; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (i + 1 < argc && arg == "--commands")
            commandCount = std::atol(argv[++i]);
        else if (i + 1 < argc && arg == "--play-minutes")
            playMinutes = std::atol(argv[++i]);
        else if (i + 1 < argc && arg == "--games")
            gameCount = std::atol(argv[++i]);
        else
            kept.push_back(argv[i]);
    }
    int count = int(kept.size());
    QApplication app(count, kept.data());
    LongSessionTest test;
    return QTest::qExec(&test, count, kept.data());
}

#include "long_session_test.moc"
