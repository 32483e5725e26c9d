// Keyboard play for screen-reader users, in memory and headless: with a
// screen reader the menu entries, the page, its choices and the console's
// controls take focus in order and Enter or Space presses them; without one,
// every key does what it always did. Also what each screen tells a screen
// reader of itself, and where a label's lines and characters lie.
#include "accessible_of.h"
#include "test_game.h"

#include "console/ui/console_screen.h"
#include "shell/app/game.h"
#include "shell/ui/accessibility.h"
#include "shell/ui/game_over_screen.h"
#include "shell/ui/menu_screen.h"
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

    void withAScreenReaderTheCodeBoxTakesTheFocusAndKeepsItsKeys()
    {
        QAccessible::setActive(true);
        TestGame game;
        auto &story = static_cast<StoryScreen &>(show(game, ScreenId::Engine));
        story.setCaption(story::Slot::Label2, QStringLiteral("Нет..."));
        story.Label2.setFocus();
        key(story, Qt::Key_Return);
        QVERIFY(story.isPasswordBoxShown());
        QCOMPARE(story.focusWidget(), &story.Text1);
        QCOMPARE(accessibleOf(story.Text1).text(QAccessible::Name), QStringLiteral("Пароль"));
        QVERIFY(accessibleOf(story.Text1).text(QAccessible::Description).contains(QStringLiteral("пароль")));

        key(story, Qt::Key_F8);  // typed into the box: no shortcut
        QCOMPARE(story.Label1.text(), QStringLiteral("page 56\r\n"));
        QTest::keyClicks(&story.Text1, QStringLiteral("ol"));
        key(story, Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(story.focusWidget(), &story.Label3);
        key(story, Qt::Key_Return);  // «Enter parol» with the ending password
        QCOMPARE(story.Label1.text(), QStringLiteral("page 57\r\n"));
    }

    void withAScreenReaderTheConsoleAnswersWithTheCommandLineInFocus()
    {
        QAccessible::setActive(true);
        TestGame game;
        tess::Screen &window = show(game, ScreenId::BLNC);
        auto &blnc = game.screen<console::ConsoleScreen>(ScreenId::BLNC);
        QCOMPARE(window.focusWidget(), &blnc.Text);
        QTest::keyClicks(&blnc.Text, QStringLiteral("help"));
        key(window, Qt::Key_Tab);
        QCOMPARE(window.focusWidget(), &blnc.Label3);
        key(window, Qt::Key_Return);
        QVERIFY(blnc.Con.text().contains(QStringLiteral(">command^help")));
        QCOMPARE(window.focusWidget(), &blnc.Text);
        QCOMPARE(blnc.Text.text(), QStringLiteral("help"));
        const QString answer = accessibleOf(blnc.Text).text(QAccessible::Description);
        QVERIFY2(answer.startsWith(QStringLiteral(">command^help\ncommand^[command]")), qPrintable(answer));
        key(window, Qt::Key_Tab);
        key(window, Qt::Key_Tab);
        key(window, Qt::Key_Tab);  // Очистить, then round to the command line
        QCOMPARE(window.focusWidget(), &blnc.Text);
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

    void aPagesLinesAndCharactersLieWhereThePaneDrawsThem()
    {
        TestGame game;
        game.files.content[QStringLiteral("text\\gt1.tf")] =
            "Short line\r\n" + QByteArray("word ").repeated(40) + "\r\nlast\r\n";
        auto &story = static_cast<StoryScreen &>(show(game, ScreenId::Engine));
        QAccessibleTextInterface *text = accessibleOf(story.Label1).textInterface();
        const QRect pane(story.Label1.mapToGlobal(QPoint(0, 0)), story.Label1.size());

        int start = -1;
        int end = -1;
        QCOMPARE(text->textAtOffset(0, QAccessible::LineBoundary, &start, &end), QStringLiteral("Short line\n"));
        QCOMPARE(start, 0);
        // The long line wraps: its first shown line ends before its break.
        const QString wrapped = text->textAtOffset(12, QAccessible::LineBoundary, &start, &end);
        QCOMPARE(start, 11);
        QVERIFY2(wrapped.size() < 200 && wrapped.startsWith(QStringLiteral("word ")), qPrintable(wrapped));
        const QString next = text->textAfterOffset(12, QAccessible::LineBoundary, &start, &end);
        QVERIFY(next.startsWith(QStringLiteral("word")));
        QCOMPARE(start, 11 + wrapped.size());

        const QRect first = text->characterRect(0);
        const QRect second = text->characterRect(1);
        const QRect below = text->characterRect(12);
        QVERIFY(pane.contains(first) && first.width() > 0 && first.height() > 0);
        QVERIFY(second.left() > first.left());
        QVERIFY(below.top() > first.top());
        QCOMPARE(text->offsetAtPoint(below.center()), 12);
    }
};

QTEST_MAIN(KeyboardPlayTest)
#include "keyboard_play_test.moc"
