// Keyboard play for screen-reader users, in memory and headless: with a
// screen reader the menu entries, the page, its choices and the console's
// controls take focus in order and Enter or Space presses them, and what the
// screen does not show (a password that opens nothing, an unknown command, a
// cleared log, the console's last words) is spoken; without one, every key
// does what it always did and nothing is spoken. Also what each screen tells
// a screen reader of itself.
#include "accessible_of.h"
#include "test_game.h"

#include "console/ui/console_screen.h"
#include "app/game.h"
#include "shell/screens/about_screen.h"
#include "shell/accessibility/accessibility.h"
#include "shell/screens/game_over_screen.h"
#include "shell/screens/menu_screen.h"
#include "shell/accessibility/spoken_cue.h"
#include "story/ui/story_screen.h"

#include <QAccessible>
#include <QApplication>
#include <QSet>
#include <QtTest>

using story::StoryScreen;
using tess::ScreenId;

namespace {

void key(QWidget &window, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWidget *target = window.focusWidget() ? window.focusWidget() : &window;
    QTest::keyClick(target, Qt::Key(key), modifiers);
    TestGame::settle();
}

// What the window last told screen readers alone, or "<nothing>".
QString spokenCue(QWidget &window)
{
    auto *cue = window.findChild<tess::SpokenCue *>();
    if (!cue || !cue->isVisible())
        return QStringLiteral("<nothing>");
    if (accessibleOf(*cue).role() != QAccessible::Notification)
        return QStringLiteral("<no notification>");
    return accessibleOf(*cue).text(QAccessible::Name);
}

tess::Screen &show(TestGame &game, ScreenId id)
{
    game.screens.Show(id);
    TestGame::settle();
    return game.screens.get<tess::Screen>(id);
}

} // namespace

class KeyboardPlayTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { tess::applyGameLook(*qApp); }
    void cleanup() { QAccessible::setActive(false); }

    void withoutAScreenReaderTabEnterAndSpaceDoNothingAndF8StillWorks()
    {
        QAccessible::setActive(false);
        TestGame game;
        tess::Screen &menu = show(game, ScreenId::Game);
        for (int k : {Qt::Key_Tab, Qt::Key_Return, Qt::Key_Space, Qt::Key_Backtab})
            key(menu, k);
        QVERIFY(game.screens.isShown(ScreenId::Game));
        QVERIFY(!game.screens.isShown(ScreenId::IntoEngine));
        auto &labels = game.screen<tess::MenuScreen>(ScreenId::Game);
        for (tess::Label *entry : {&labels.Label1, &labels.Label2, &labels.Label3})
            QCOMPARE(entry->focusPolicy(), Qt::NoFocus);

        auto &story = static_cast<StoryScreen &>(show(game, ScreenId::Engine));
        for (int k : {Qt::Key_Tab, Qt::Key_Return, Qt::Key_Space, Qt::Key_Enter})
            key(story, k);
        QCOMPARE(story.Label1.text(), QStringLiteral("page 1\r\n"));
        QCOMPARE(story.caption(story::Slot::Label2), QStringLiteral("Виртуальный ресторан"));
        QCOMPARE(story.Label1.focusPolicy(), Qt::NoFocus);
        key(story, Qt::Key_F8);
        QCOMPARE(story.Label1.text(), QStringLiteral("page 57\r\n"));
    }

    void withoutAScreenReaderNothingIsSpokenFocusedOrHeldAndTheExitCommandEndsAtOnce()
    {
        QAccessible::setActive(false);
        TestGame game;
        show(game, ScreenId::About);
        auto &about = game.screen<tess::AboutScreen>(ScreenId::About);
        QCOMPARE(about.Text1.textInteractionFlags(), Qt::TextSelectableByMouse);

        auto &story = static_cast<StoryScreen &>(show(game, ScreenId::Engine));
        story.setCaption(story::Slot::Label2, QStringLiteral("Нет..."));
        QTest::mouseClick(&story.Label2, Qt::LeftButton);
        TestGame::settle();
        QVERIFY(story.isPasswordBoxShown());
        QVERIFY(story.focusWidget() != &story.Label1 && story.focusWidget() != &story.Text1);
        for (int k : {Qt::Key_Down, Qt::Key_End, Qt::Key_Tab})
            key(story, k);
        QCOMPARE(story.Label1.readingCaret(), 0);
        story.Text1.setText(QStringLiteral("abc"));
        QTest::mouseClick(&story.Label3, Qt::LeftButton);
        TestGame::settle();
        QCOMPARE(story.Label1.text(), QStringLiteral("page 56\r\n"));
        QCOMPARE(spokenCue(story), QStringLiteral("<nothing>"));

        show(game, ScreenId::BLNC);
        auto &blnc = game.screen<console::ConsoleScreen>(ScreenId::BLNC);
        for (tess::Label *pane : {&blnc.Con, &blnc.Texcon})
            QCOMPARE(pane->focusPolicy(), Qt::NoFocus);
        for (const char *line : {"dir", "help"}) {
            blnc.Text.setText(QString::fromUtf8(line));
            QTest::mouseClick(&blnc.Label3, Qt::LeftButton);
            TestGame::settle();
        }
        QTest::mouseClick(&blnc.Label1, Qt::LeftButton);
        TestGame::settle();
        QCOMPARE(spokenCue(blnc), QStringLiteral("<nothing>"));
        QCOMPARE(accessibleOf(blnc.Text).text(QAccessible::Description), QString());
        blnc.Text.setText(QStringLiteral("command^end<consol"));
        QTest::mouseClick(&blnc.Label3, Qt::LeftButton);
        QCOMPARE(game.process.statuses, QList<int>{0});
    }

    void withAScreenReaderTheMenuIsPlayedByTabAndEnter()
    {
        QAccessible::setActive(true);
        TestGame game;
        tess::Screen &window = show(game, ScreenId::Game);
        auto &menu = game.screen<tess::MenuScreen>(ScreenId::Game);
        QCOMPARE(window.focusWidget(), &menu.Label3);
        key(window, Qt::Key_Tab);
        QCOMPARE(window.focusWidget(), &menu.Label2);
        key(window, Qt::Key_Tab);
        QCOMPARE(window.focusWidget(), &menu.Label1);
        key(window, Qt::Key_Tab);
        QCOMPARE(window.focusWidget(), &menu.Label3);
        key(window, Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(window.focusWidget(), &menu.Label1);
        key(window, Qt::Key_Tab);
        key(window, Qt::Key_Space);
        QVERIFY(game.screens.isShown(ScreenId::IntoEngine));
        QVERIFY(!game.screens.isShown(ScreenId::Game));
    }

    void withAScreenReaderEachPageTakesTheFocusAndTabLeadsToItsChoices()
    {
        QAccessible::setActive(true);
        TestGame game;
        auto &story = static_cast<StoryScreen &>(show(game, ScreenId::Engine));
        QCOMPARE(story.focusWidget(), &story.Label1);
        key(story, Qt::Key_Tab);
        QCOMPARE(story.focusWidget(), &story.Label2);
        key(story, Qt::Key_Tab);
        QCOMPARE(story.focusWidget(), &story.Label3);
        key(story, Qt::Key_Tab);
        QCOMPARE(story.focusWidget(), &story.Label4);
        key(story, Qt::Key_Tab);  // the code box is hidden: round to the page
        QCOMPARE(story.focusWidget(), &story.Label1);

        key(story, Qt::Key_Tab);
        key(story, Qt::Key_Return);  // «Виртуальный ресторан»
        QCOMPARE(story.Label1.text(), QStringLiteral("page 2\r\n"));
        QCOMPARE(story.focusWidget(), &story.Label1);
        key(story, Qt::Key_Tab);  // only «Назад» is shown
        QCOMPARE(story.focusWidget(), &story.Label3);

        // F8 and the console key reach the story from a focused choice.
        key(story, Qt::Key_F8);
        QCOMPARE(story.Label1.text(), QStringLiteral("page 57\r\n"));
        QCOMPARE(story.focusWidget(), &story.Label1);
        key(story, Qt::Key_Tab);
        QCOMPARE(story.focusWidget(), &story.Label2);
        QTest::keyClick(&story.Label2, Qt::Key_Comma, Qt::KeypadModifier);
        TestGame::settle();
        QVERIFY(game.screens.isShown(ScreenId::BLNC));
    }

    void withAScreenReaderThePageBeforeTheCodeBoxIsReadAndAWrongPasswordIsSpoken()
    {
        QAccessible::setActive(true);
        TestGame game;
        auto &story = static_cast<StoryScreen &>(show(game, ScreenId::Engine));
        story.setCaption(story::Slot::Label2, QStringLiteral("Нет..."));
        story.Label2.setFocus();
        key(story, Qt::Key_Return);
        QVERIFY(story.isPasswordBoxShown());
        QCOMPARE(story.Label1.text(), QStringLiteral("page 56\r\n"));
        QCOMPARE(story.focusWidget(), &story.Label1);  // read first, like every page
        key(story, Qt::Key_Tab);
        QCOMPARE(story.focusWidget(), &story.Text1);
        QCOMPARE(accessibleOf(story.Text1).text(QAccessible::Name), QStringLiteral("Пароль"));
        QVERIFY(accessibleOf(story.Text1).text(QAccessible::Description).contains(QStringLiteral("Enter parol")));

        key(story, Qt::Key_F8);  // typed into the box: no shortcut
        QCOMPARE(story.Label1.text(), QStringLiteral("page 56\r\n"));
        QTest::keyClicks(&story.Text1, QStringLiteral("abc"));
        key(story, Qt::Key_Tab);
        QCOMPARE(story.focusWidget(), &story.Label3);
        QCOMPARE(accessibleOf(story.Label3).text(QAccessible::Description), QStringLiteral("1 из 1"));
        key(story, Qt::Key_Return);  // «Enter parol» with a password that opens nothing
        QCOMPARE(story.Label1.text(), QStringLiteral("page 56\r\n"));
        QCOMPARE(story.focusWidget(), &story.Label3);
        QCOMPARE(spokenCue(story), QStringLiteral("Пароль не подошёл"));

        key(story, Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(story.focusWidget(), &story.Text1);
        QTest::keyClicks(&story.Text1, QStringLiteral("ol"));  // over the selected «abc»
        QCOMPARE(story.Text1.text(), QStringLiteral("ol"));
        key(story, Qt::Key_Tab);
        key(story, Qt::Key_Return);  // the ending password
        QCOMPARE(story.Label1.text(), QStringLiteral("page 57\r\n"));
        QCOMPARE(story.focusWidget(), &story.Label1);
    }

    void withAScreenReaderTheConsoleSpeaksEachAnswerOnceAndWhatItCannotDo()
    {
        QAccessible::setActive(true);
        TestGame game;
        tess::Screen &window = show(game, ScreenId::BLNC);
        auto &blnc = game.screen<console::ConsoleScreen>(ScreenId::BLNC);
        QCOMPARE(window.focusWidget(), &blnc.Text);
        const auto run = [&](const QString &line) {
            blnc.Text.selectAll();
            QTest::keyClicks(&blnc.Text, line);
            key(window, Qt::Key_Tab);
            QCOMPARE(window.focusWidget(), &blnc.Label3);
            key(window, Qt::Key_Return);
        };
        run(QStringLiteral("help"));
        QCOMPARE(window.focusWidget(), &blnc.Text);
        QCOMPARE(blnc.Text.text(), QStringLiteral("help"));
        const QString help = accessibleOf(blnc.Text).text(QAccessible::Description);
        QVERIFY2(help.startsWith(QStringLiteral(">command^help\ncommand^[command]")), qPrintable(help));

        run(QStringLiteral("command^diec<my_foto.see"));
        QCOMPARE(accessibleOf(blnc.Text).text(QAccessible::Description),
                 QStringLiteral(">file open\nCommentary to file: это типо я..."));
        // Unknown: the screen keeps the photo's comment, the answer says so.
        run(QStringLiteral("dir"));
        QCOMPARE(accessibleOf(blnc.Text).text(QAccessible::Description), QStringLiteral("Неизвестная команда"));
        QCOMPARE(blnc.Texcon.text(), QStringLiteral("Commentary to file: это типо я..."));

        // On round: the buttons, then the log and the comment to read again.
        for (QWidget *next : std::initializer_list<QWidget *>{&blnc.Label3, &blnc.Label1, &blnc.Con, &blnc.Texcon, &blnc.Text}) {
            key(window, Qt::Key_Tab);
            QCOMPARE(window.focusWidget(), next);
        }
        key(window, Qt::Key_Tab);
        key(window, Qt::Key_Tab);
        key(window, Qt::Key_Return);  // Очистить
        QCOMPARE(blnc.Con.text(), QStringLiteral(">_"));
        QCOMPARE(spokenCue(window), QStringLiteral("Журнал очищен"));

        // The exit command's answer is spoken before the game ends; meanwhile
        // nothing is taken from the player.
        key(window, Qt::Key_Backtab, Qt::ShiftModifier);
        key(window, Qt::Key_Backtab, Qt::ShiftModifier);
        run(QStringLiteral("command^end<consol"));
        QVERIFY(game.process.statuses.isEmpty());
        QCOMPARE(spokenCue(window), QStringLiteral(">file open\nGood By!"));
        QTest::mouseClick(&blnc.Label1, Qt::LeftButton);
        TestGame::settle();
        QVERIFY(blnc.Con.text() != QStringLiteral(">_"));
        QTRY_COMPARE_WITH_TIMEOUT(game.process.statuses, QList<int>{0}, 10000);
    }

    void everyScreenTellsAScreenReaderWhatItIs()
    {
        TestGame game;
        QSet<QString> names;
        for (ScreenId id : {ScreenId::Main, ScreenId::Game, ScreenId::About, ScreenId::IntoEngine, ScreenId::Engine,
                            ScreenId::GameOver, ScreenId::BLNC}) {
            tess::Screen &screen = game.screens.get<tess::Screen>(id);
            QAccessibleInterface &window = accessibleOf(screen);
            QCOMPARE(window.role(), QAccessible::Window);
            names.insert(window.text(QAccessible::Name));
            QVERIFY2(!window.text(QAccessible::Description).isEmpty(), qPrintable(window.text(QAccessible::Name)));
        }
        QCOMPARE(names.size(), 7);
        QAccessibleInterface &over = accessibleOf(game.screens.get<tess::Screen>(ScreenId::GameOver));
        QVERIFY(over.text(QAccessible::Name).contains(QStringLiteral("игра окончена")));
        QVERIFY(over.text(QAccessible::Description).contains(QStringLiteral("История закончилась")));
        QVERIFY(over.text(QAccessible::Description).contains(QStringLiteral("завершает игру")));

        auto &blnc = game.screen<console::ConsoleScreen>(ScreenId::BLNC);
        for (QWidget *photo : {&blnc.Image1, &blnc.Image2, &blnc.Image3, &blnc.Image4})
            QVERIFY(!accessibleOf(*photo).text(QAccessible::Name).isEmpty());
    }

    void theFlagMirrorsAreNotExposed()
    {
        TestGame game;
        auto &story = game.screen<StoryScreen>(ScreenId::Engine);
        QAccessibleInterface &window = accessibleOf(story);
        QList<QObject *> exposed;
        for (int i = 0; i < window.childCount(); ++i)
            exposed << window.child(i)->object();
        for (QObject *mirror : {&story.Label11, &story.Label12, &story.Label13})
            QVERIFY(!exposed.contains(mirror));
        for (QObject *shown : std::initializer_list<QObject *>{&story.Label1, &story.Label2, &story.Label3, &story.Label4, &story.Text1})
            QVERIFY(exposed.contains(shown));
        QCOMPARE(window.indexOfChild(&accessibleOf(story.Label1)), exposed.indexOf(&story.Label1));
    }
};

QTEST_MAIN(KeyboardPlayTest)
#include "keyboard_play_test.moc"
