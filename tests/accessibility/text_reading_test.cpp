// Reading text with a screen reader, in memory and headless: the page, the
// about text and the text boxes give their whole text, line by line where it
// is drawn, and the arrow keys move a caret through the page and the about
// text from their start.
#include "accessible_of.h"
#include "test_game.h"

#include "console/ui/console_screen.h"
#include "app/game.h"
#include "shell/screens/about_screen.h"
#include "story/ui/story_screen.h"

#include <QAccessible>
#include <QApplication>
#include <QtTest>

using story::StoryScreen;
using tess::ScreenId;

namespace {

StoryScreen &openStory(TestGame &game)
{
    game.screens.Show(ScreenId::Engine);
    TestGame::settle();
    return game.screen<StoryScreen>(ScreenId::Engine);
}

void key(QWidget &target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(&target, Qt::Key(key), modifiers);
    TestGame::settle();
}

QString lineAt(QAccessibleTextInterface &text, int offset)
{
    int start = -1;
    int end = -1;
    return text.textAtOffset(offset, QAccessible::LineBoundary, &start, &end);
}

} // namespace

class TextReadingTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { tess::applyGameLook(*qApp); }
    void cleanup() { QAccessible::setActive(false); }

    void aPagesLinesAndCharactersLieWhereThePaneDrawsThem()
    {
        TestGame game;
        game.files.content[QStringLiteral("text\\gt1.tf")] =
            "Short line\r\n" + QByteArray("word ").repeated(40) + "\r\nlast\r\n";
        StoryScreen &story = openStory(game);
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

    void aPageIsReadByTheArrowKeysFromItsStartAndEachNewPageStartsAgain()
    {
        QAccessible::setActive(true);
        TestGame game;
        game.files.content[QStringLiteral("text\\gt1.tf")] = "First line\r\nSecond one\r\nend\r\n";
        StoryScreen &story = openStory(game);
        QCOMPARE(story.focusWidget(), &story.Label1);
        QAccessibleTextInterface &text = *accessibleOf(story.Label1).textInterface();
        QCOMPARE(text.cursorPosition(), 0);

        // What a screen reader hears of each move is played with Orca.
        key(story.Label1, Qt::Key_Down);
        QCOMPARE(text.cursorPosition(), 11);
        QCOMPARE(lineAt(text, text.cursorPosition()), QStringLiteral("Second one\n"));
        key(story.Label1, Qt::Key_End);
        QCOMPARE(text.cursorPosition(), 21);
        key(story.Label1, Qt::Key_Up);  // the same column, or the end of a shorter line
        QCOMPARE(text.cursorPosition(), 10);
        key(story.Label1, Qt::Key_Home, Qt::ControlModifier);
        key(story.Label1, Qt::Key_Right, Qt::ControlModifier);  // to the end of the word
        QCOMPARE(text.cursorPosition(), 5);
        key(story.Label1, Qt::Key_Right);
        key(story.Label1, Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(text.cursorPosition(), text.characterCount());
        key(story.Label1, Qt::Key_Left, Qt::ControlModifier);  // back to the start of a word
        QCOMPARE(text.cursorPosition(), 22);

        key(story.Label1, Qt::Key_Tab);
        key(*story.focusWidget(), Qt::Key_Return);  // «Виртуальный ресторан»
        QCOMPARE(story.Label1.text(), QStringLiteral("page 2\r\n"));
        QCOMPARE(accessibleOf(story.Label1).textInterface()->cursorPosition(), 0);
    }

    void theChoicesSayWhereTheyStand()
    {
        TestGame game;
        StoryScreen &story = openStory(game);
        QCOMPARE(accessibleOf(story.Label2).text(QAccessible::Description), QStringLiteral("1 из 3"));
        QCOMPARE(accessibleOf(story.Label3).text(QAccessible::Description), QStringLiteral("2 из 3"));
        QCOMPARE(accessibleOf(story.Label4).text(QAccessible::Description), QStringLiteral("3 из 3"));
        QTest::mouseClick(&story.Label2, Qt::LeftButton);
        TestGame::settle();
        QCOMPARE(accessibleOf(story.Label3).text(QAccessible::Description), QStringLiteral("1 из 1"));
    }

    void theAboutTextIsReadFromItsStartLineByLineWhereItIsDrawn()
    {
        QAccessible::setActive(true);
        TestGame game;
        QByteArray about;
        for (int i = 1; i <= 60; ++i)
            about += "About line " + QByteArray::number(i) + "\r\n";
        game.files.content[QStringLiteral("text\\read.tf")] = about;
        game.screens.Show(ScreenId::About);
        TestGame::settle();
        auto &box = game.screen<tess::AboutScreen>(ScreenId::About).Text1;
        QCOMPARE(box.window()->focusWidget(), &box);
        QAccessibleTextInterface &text = *accessibleOf(box).textInterface();
        QCOMPARE(text.cursorPosition(), 0);
        QCOMPARE(lineAt(text, 0), QStringLiteral("About line 1\n"));
        int start = -1;
        int end = -1;
        int attributesEnd = -1;
        text.attributes(3, &start, &attributesEnd);
        QCOMPARE(attributesEnd, text.characterCount());

        // Every line stands under the one before, those scrolled out of
        // view too: a review finds each where it is.
        const int second = int(QStringLiteral("About line 1\n").size());
        QVERIFY(text.characterRect(second).top() > text.characterRect(0).top());
        QVERIFY(text.characterRect(text.characterCount() - 2).top() > box.mapToGlobal(box.rect().bottomLeft()).y());
        QCOMPARE(text.offsetAtPoint(text.characterRect(second + 2).center()), second + 2);

        key(box, Qt::Key_Down);
        QCOMPARE(text.cursorPosition(), second);
        QCOMPARE(text.textAfterOffset(0, QAccessible::LineBoundary, &start, &end), QStringLiteral("About line 2\n"));
        key(box, Qt::Key_End, Qt::ControlModifier);
        key(box, Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(text.cursorPosition(), 0);
        QVERIFY(box.toPlainText().startsWith(QStringLiteral("About line 1\n")));  // still locked
    }

    void theCommandLineGivesItsWholeTextWithItsCharactersWhereTheyAreDrawn()
    {
        TestGame game;
        game.screens.Show(ScreenId::BLNC);
        TestGame::settle();
        auto &line = game.screen<console::ConsoleScreen>(ScreenId::BLNC).Text;
        line.setText(QStringLiteral("help"));
        QAccessibleInterface &box = accessibleOf(line);
        QCOMPARE(box.role(), QAccessible::EditableText);
        QCOMPARE(box.text(QAccessible::Name), QStringLiteral("Команда"));
        QAccessibleTextInterface &text = *box.textInterface();
        QCOMPARE(text.text(0, text.characterCount()), QStringLiteral("help"));
        for (int offset = 0; offset < 4; ++offset) {
            int start = -1;
            int end = -1;
            text.attributes(offset, &start, &end);
            QCOMPARE(start, 0);
            QCOMPARE(end, 4);  // a run that covers nothing has the last letter dropped
        }
        QCOMPARE(lineAt(text, 1), QStringLiteral("help"));
        QVERIFY(text.characterRect(1).left() > text.characterRect(0).left());
        QCOMPARE(text.offsetAtPoint(text.characterRect(2).center()), 2);
        text.setCursorPosition(1);
        QCOMPARE(line.cursorPosition(), 1);
        box.editableTextInterface()->insertText(4, QStringLiteral("!"));
        QCOMPARE(line.text(), QStringLiteral("help!"));
    }
};

QTEST_MAIN(TextReadingTest)
#include "text_reading_test.moc"
