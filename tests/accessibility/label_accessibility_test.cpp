// What a screen reader finds on each screen: the roles and names of the
// labels, the story pane's text, and press actions that do exactly what a
// click does, held back by a text load like a click. How the changes reach a
// screen reader over AT-SPI is played in atspi_story_test.sh.
#include "accessible_of.h"
#include "test_game.h"

#include "console/ui/console_screen.h"
#include "app/game.h"
#include "shell/core/text_lines.h"
#include "shell/screens/about_screen.h"
#include "shell/accessibility/accessibility.h"
#include "shell/screens/intro_screen.h"
#include "shell/screens/menu_screen.h"
#include "story/ui/story_screen.h"

#include <QAccessible>
#include <QApplication>
#include <QtTest>

using story::StoryScreen;
using tess::ScreenId;

namespace {

QString nameOf(QObject &object)
{
    return accessibleOf(object).text(QAccessible::Name);
}

QAccessible::Role roleOf(QObject &object)
{
    return accessibleOf(object).role();
}

QString textOf(QObject &object)
{
    QAccessibleTextInterface *text = accessibleOf(object).textInterface();
    if (!text)
        return QStringLiteral("<no text interface>");
    return text->text(0, text->characterCount());
}

bool canPress(QObject &object)
{
    QAccessibleActionInterface *actions = accessibleOf(object).actionInterface();
    return actions && actions->actionNames().contains(QAccessibleActionInterface::pressAction());
}

// What a screen reader does to a button, and the events the game then sees.
void press(QObject &object)
{
    accessibleOf(object).actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    TestGame::settle();
}

StoryScreen &openStory(TestGame &game)
{
    game.screens.Show(ScreenId::Engine);
    TestGame::settle();
    return game.screen<StoryScreen>(ScreenId::Engine);
}

} // namespace

class LabelAccessibilityTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        // The game's look is where the game installs what screen readers see.
        tess::applyGameLook(*qApp);
    }

    void theMenusClickAreasArePushButtonsNamedStartInfoAndExitThatCanBePressed()
    {
        TestGame game;
        game.screens.Show(ScreenId::Game);
        auto &menu = game.screen<tess::MenuScreen>(ScreenId::Game);
        QCOMPARE(nameOf(menu.Label3), QStringLiteral("Запуск"));
        QCOMPARE(nameOf(menu.Label2), QStringLiteral("Инфо"));
        QCOMPARE(nameOf(menu.Label1), QStringLiteral("Выход"));
        for (tess::Label *area : {&menu.Label3, &menu.Label2, &menu.Label1}) {
            QCOMPARE(roleOf(*area), QAccessible::Button);
            QVERIFY(canPress(*area));
            QVERIFY(!accessibleOf(*area).state().invisible);
        }
    }

    void pressingStartDoesWhatAClickOnItDoes()
    {
        TestGame clicked;
        clicked.screens.Show(ScreenId::Game);
        QTest::mouseClick(&clicked.screen<tess::MenuScreen>(ScreenId::Game).Label3, Qt::LeftButton);
        TestGame::settle();

        TestGame pressed;
        pressed.screens.Show(ScreenId::Game);
        press(pressed.screen<tess::MenuScreen>(ScreenId::Game).Label3);

        QVERIFY(pressed.screens.isShown(ScreenId::IntoEngine));
        QVERIFY(!pressed.screens.isLoaded(ScreenId::Game));
        QCOMPARE(pressed.log.entries, clicked.log.entries);
    }

    void pressingInfoOpensTheAboutScreenWhoseBackButtonIsNamedAndPressable()
    {
        TestGame game;
        game.screens.Show(ScreenId::Game);
        press(game.screen<tess::MenuScreen>(ScreenId::Game).Label2);
        QVERIFY(game.screens.isShown(ScreenId::About));

        auto &about = game.screen<tess::AboutScreen>(ScreenId::About);
        QCOMPARE(nameOf(about.Label2), QStringLiteral("Назад"));
        QCOMPARE(roleOf(about.Label2), QAccessible::Button);
        press(about.Label2);
        QVERIFY(game.screens.isShown(ScreenId::Game));
        QVERIFY(!game.screens.isLoaded(ScreenId::About));
    }

    void theBannerOverTheAboutScreenIsNoButton()
    {
        TestGame game;
        game.screens.Show(ScreenId::About);
        auto &banner = game.screen<tess::AboutScreen>(ScreenId::About).Label1;
        QCOMPARE(roleOf(banner), QAccessible::StaticText);
        QVERIFY(!canPress(banner));
        QCOMPARE(nameOf(banner), QString());
    }

    void theIntrosStartButtonIsNamedByItsCaptionAndItsTextIsStaticText()
    {
        TestGame game;
        game.screens.Show(ScreenId::IntoEngine);
        auto &intro = game.screen<tess::IntroScreen>(ScreenId::IntoEngine);
        QCOMPARE(roleOf(intro.Label2), QAccessible::Button);
        QCOMPARE(nameOf(intro.Label2), QStringLiteral("Начать игру"));
        QCOMPARE(roleOf(intro.Label1), QAccessible::StaticText);
        QCOMPARE(nameOf(intro.Label1), QStringLiteral("Intro line\n"));
        QCOMPARE(textOf(intro.Label1), QStringLiteral("Intro line\n"));
        QVERIFY(!canPress(intro.Label1));

        press(intro.Label2);
        QVERIFY(game.screens.isShown(ScreenId::Engine));
        QVERIFY(!game.screens.isShown(ScreenId::IntoEngine));
    }

    void theStoryPaneIsTextWithoutANameWhoseTextIsThePageWithEachLineEndOneBreak()
    {
        TestGame game;
        game.files.content[QStringLiteral("text\\gt1.tf")] = "First\r\nsecond\rthird\nstill third\r\n";
        StoryScreen &story = openStory(game);
        // Screen readers read a label's text whole as it takes the focus,
        // and its name instead of its text when it has one.
        QCOMPARE(roleOf(story.Label1), QAccessible::StaticText);
        QCOMPARE(nameOf(story.Label1), QString());
        QCOMPARE(textOf(story.Label1), QStringLiteral("First\nsecond\nthird\nstill third\n"));
        QVERIFY(accessibleOf(story.Label1).state().readOnly);
        QVERIFY(!canPress(story.Label1));
    }

    void theChoiceSlotsArePushButtonsNamedByTheirCurrentCaptions()
    {
        TestGame game;
        StoryScreen &story = openStory(game);
        QCOMPARE(nameOf(story.Label2), QStringLiteral("Виртуальный ресторан"));
        QCOMPARE(nameOf(story.Label3), QStringLiteral("Подводный мир"));
        QCOMPARE(nameOf(story.Label4), QStringLiteral("Остров Сокровищ"));
        for (tess::Label *slot : {&story.Label2, &story.Label3, &story.Label4}) {
            QCOMPARE(roleOf(*slot), QAccessible::Button);
            QVERIFY(canPress(*slot));
        }

        press(story.Label2);
        QCOMPARE(story.Label1.text(), QStringLiteral("page 2\r\n"));
        QCOMPARE(nameOf(story.Label3), QStringLiteral("Назад"));
        QVERIFY(!accessibleOf(story.Label3).state().invisible);
        QVERIFY(accessibleOf(story.Label2).state().invisible);
        QVERIFY(accessibleOf(story.Label4).state().invisible);
    }

    void pressingAChoiceTurnsThePageAsAClickOnItDoes()
    {
        TestGame clicked;
        StoryScreen &clickedStory = openStory(clicked);
        QTest::mouseClick(&clickedStory.Label3, Qt::LeftButton);
        TestGame::settle();

        TestGame pressed;
        StoryScreen &pressedStory = openStory(pressed);
        press(pressedStory.Label3);

        QCOMPARE(pressedStory.Label1.text(), QStringLiteral("page 6\r\n"));
        QCOMPARE(pressedStory.Label1.text(), clickedStory.Label1.text());
        for (story::Slot slot : {story::Slot::Label2, story::Slot::Label3, story::Slot::Label4}) {
            QCOMPARE(pressedStory.caption(slot), clickedStory.caption(slot));
            QCOMPARE(pressedStory.isShown(slot), clickedStory.isShown(slot));
        }
        QCOMPARE(pressed.log.entries, clicked.log.entries);
    }

    void aPressDuringATextLoadWaitsForTheLoadAsAClickDoes()
    {
        TestGame game;
        StoryScreen &story = openStory(game);
        game.gate.holdInput();  // as while a page is shown line by line
        press(story.Label2);
        QCOMPARE(story.Label1.text(), QStringLiteral("page 1\r\n"));

        game.gate.releaseInput();
        TestGame::settle();
        QCOMPARE(story.Label1.text(), QStringLiteral("page 2\r\n"));
    }

    void aHiddenChoiceSlotCannotBePressedAsTheMouseCannotClickIt()
    {
        TestGame game;
        StoryScreen &story = openStory(game);
        press(story.Label2);
        QCOMPARE(story.Label1.text(), QStringLiteral("page 2\r\n"));
        QVERIFY(story.Label4.isHidden());

        press(story.Label4);
        QCOMPARE(story.Label1.text(), QStringLiteral("page 2\r\n"));
    }

    void theFlagMirrorsAreHiddenTextNoButtonsEvenWhereReachedDirectly()
    {
        TestGame game;
        StoryScreen &story = openStory(game);
        for (tess::Label *mirror : {&story.Label11, &story.Label12, &story.Label13}) {
            QCOMPARE(roleOf(*mirror), QAccessible::StaticText);
            QVERIFY(accessibleOf(*mirror).state().invisible);
        }
    }

    void theConsolesButtonsAreNamedExecuteAndClearAndItsPanesAreStaticText()
    {
        TestGame game;
        game.screens.Show(ScreenId::BLNC);
        auto &blnc = game.screen<console::ConsoleScreen>(ScreenId::BLNC);
        QCOMPARE(nameOf(blnc.Label3), QStringLiteral("Выполнить"));
        QCOMPARE(nameOf(blnc.Label1), QStringLiteral("Очистить"));
        QCOMPARE(roleOf(blnc.Label3), QAccessible::Button);
        QCOMPARE(roleOf(blnc.Label1), QAccessible::Button);
        QCOMPARE(roleOf(blnc.Con), QAccessible::StaticText);
        QCOMPARE(roleOf(blnc.Texcon), QAccessible::StaticText);
        QCOMPARE(textOf(blnc.Con), tess::normalizeLineBreaks(blnc.Con.text()));
        QCOMPARE(nameOf(blnc.Con), tess::normalizeLineBreaks(blnc.Con.text()));
    }

    void pressingExecuteRunsTheCommandLineAndClearEmptiesTheLogAsClicksDo()
    {
        TestGame clicked;
        clicked.screens.Show(ScreenId::BLNC);
        auto &clickedConsole = clicked.screen<console::ConsoleScreen>(ScreenId::BLNC);
        clickedConsole.Text.setText(QStringLiteral("help"));
        QTest::mouseClick(&clickedConsole.Label3, Qt::LeftButton);
        TestGame::settle();

        TestGame pressed;
        pressed.screens.Show(ScreenId::BLNC);
        auto &pressedConsole = pressed.screen<console::ConsoleScreen>(ScreenId::BLNC);
        const QString logBefore = pressedConsole.Con.text();
        pressedConsole.Text.setText(QStringLiteral("help"));
        press(pressedConsole.Label3);

        QVERIFY(pressedConsole.Con.text() != logBefore);
        QCOMPARE(pressedConsole.Con.text(), clickedConsole.Con.text());
        QCOMPARE(pressedConsole.Texcon.text(), clickedConsole.Texcon.text());
        QCOMPARE(textOf(pressedConsole.Con), tess::normalizeLineBreaks(pressedConsole.Con.text()));

        QTest::mouseClick(&clickedConsole.Label1, Qt::LeftButton);
        TestGame::settle();
        press(pressedConsole.Label1);
        QCOMPARE(pressedConsole.Con.text(), clickedConsole.Con.text());
    }

    void aCaptionChangeIsReportedFromTheFirstCharacterThatDiffers()
    {
        const tess::TextChange turned = tess::captionChange(u"page one\r\nend\r\n", u"page two\r\n");
        QCOMPARE(turned.position, 5);
        QCOMPARE(turned.removed, QStringLiteral("one\nend\n"));
        QCOMPARE(turned.inserted, QStringLiteral("two\n"));

        const tess::TextChange grown = tess::captionChange(u"log\r", u"log\r\nmore");
        QCOMPARE(grown.position, 4);
        QCOMPARE(grown.removed, QString());
        QCOMPARE(grown.inserted, QStringLiteral("more"));

        const tess::TextChange emptied = tess::captionChange(u"all\r\n", u"");
        QCOMPARE(emptied.position, 0);
        QCOMPARE(emptied.removed, QStringLiteral("all\n"));
        QCOMPARE(emptied.inserted, QString());
    }

    void anLfAppendedAfterACrJoinsTheBreakAlreadyThere()
    {
        QCOMPARE(tess::appendedText(true, u"\nnext\r\n"), QStringLiteral("next\n"));
        QCOMPARE(tess::appendedText(false, u"\nnext\r\n"), QStringLiteral("\nnext\n"));
        QCOMPARE(tess::appendedText(true, u"\r\nnext"), QStringLiteral("\nnext"));
        QCOMPARE(tess::appendedText(true, u"\n"), QString());
    }

    void aLabelsTextForScreenReadersFollowsEveryAppend()
    {
        TestGame game;
        game.screens.Show(ScreenId::IntoEngine);
        tess::Label &text = game.screen<tess::IntroScreen>(ScreenId::IntoEngine).Label1;
        text.setText(QStringLiteral("one\r"));
        text.appendText(QStringLiteral("\ntwo\r\n"));
        text.appendText(QStringLiteral("three"));
        QCOMPARE(textOf(text), QStringLiteral("one\ntwo\nthree"));
        QCOMPARE(nameOf(text), QStringLiteral("one\ntwo\nthree"));
        QAccessibleTextInterface *iface = accessibleOf(text).textInterface();
        QCOMPARE(iface->characterCount(), 13);
        QCOMPARE(iface->text(4, 7), QStringLiteral("two"));
        int start = -1;
        int end = -1;
        QCOMPARE(iface->textAtOffset(5, QAccessible::LineBoundary, &start, &end), QStringLiteral("two\n"));
        QCOMPARE(start, 4);
        QCOMPARE(end, 8);
    }
};

QTEST_MAIN(LabelAccessibilityTest)
#include "label_accessibility_test.moc"
