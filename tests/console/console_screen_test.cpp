// The console screen in the whole game: its layout, the command line and the
// two buttons, how its panes break lines, its photos, the two ways out, and
// the two ways in from the story screen. The command table itself is checked
// byte for byte elsewhere; here every command is typed and clicked.
#include "test_game.h"

#include "console/core/command_table.h"
#include "console/ui/console_screen.h"
#include "shell/core/text_lines.h"
#include "shell/ui/caption_layout.h"
#include "story/ui/story_screen.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QTextLayout>
#include <QtTest>
#include <QtTest/qtestspontaneevent.h>

using console::ConsoleScreen;
using tess::CloseReason;
using tess::ScreenId;

namespace {

const QString kCatalogues = QStringLiteral("\r\n>[Zuvodu_LNC]\r>[Kelmar_Box]\r>[System]\r>[Tessaranium]\r>[Test_world]");
const QString kOpened = QStringLiteral("\r\n>file open\r");

ConsoleScreen &openConsole(TestGame &game)
{
    game.screens.Show(ScreenId::BLNC);
    auto &blnc = game.screen<ConsoleScreen>(ScreenId::BLNC);
    if (!QTest::qWaitForWindowExposed(&blnc))
        qWarning("the console window was not exposed");
    return blnc;
}

// Types as a player does: one key per character. QTest::keyClicks knows only
// Latin-1, so other characters go in as key events that carry their text.
void typeInto(QWidget &box, const QString &text)
{
    for (char32_t codePoint : text.toUcs4()) {
        if (codePoint < 0x80)
            QTest::keyClick(&box, char(codePoint));
        else
            QTest::sendKeyEvent(QTest::Click, &box, Qt::Key_unknown, QString::fromUcs4(&codePoint, 1),
                                Qt::NoModifier);
    }
}

// Replaces what the command line holds, the way a player would.
void retype(ConsoleScreen &blnc, const QString &line)
{
    QTest::keyClick(&blnc.Text, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&blnc.Text, Qt::Key_Backspace);
    typeInto(blnc.Text, line);
}

void clickExecute(ConsoleScreen &blnc)
{
    QTest::mouseClick(&blnc.Label3, Qt::LeftButton);
}

void run(ConsoleScreen &blnc, const QString &line)
{
    retype(blnc, line);
    QCOMPARE(blnc.Text.text(), line);
    clickExecute(blnc);
}

// A click at a point of the window, found by the window system as a real
// click is: through the window to the topmost control that takes the mouse.
void clickWindowAt(QWidget &window, QPoint point)
{
    QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, point);
}

QList<const tess::Picture *> photos(const ConsoleScreen &blnc)
{
    return {&blnc.Image1, &blnc.Image2, &blnc.Image3, &blnc.Image4};
}

int visiblePhotos(const ConsoleScreen &blnc)
{
    int shown = 0;
    for (const tess::Picture *photo : photos(blnc))
        shown += photo->isVisible() ? 1 : 0;
    return shown;
}

const tess::Picture *photoOf(const ConsoleScreen &blnc, console::Photo photo)
{
    switch (photo) {
    case console::Photo::None:
        return nullptr;
    case console::Photo::Image1:
        return &blnc.Image1;
    case console::Photo::Image2:
        return &blnc.Image2;
    case console::Photo::Image3:
        return &blnc.Image3;
    case console::Photo::Image4:
        return &blnc.Image4;
    }
    return nullptr;
}

tess::CaptionLayout layoutOf(const tess::Label &pane)
{
    return tess::CaptionLayout(pane.font(), pane.width(), Qt::AlignLeft);
}

int lineHeightOf(const tess::Label &pane)
{
    return QFontMetrics(pane.font()).lineSpacing();
}

// Pixel rows of the label that carry ink when it paints its caption alone.
QList<int> inkedRows(tess::Label &pane)
{
    QImage image(pane.size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    pane.render(&image, {}, {}, QWidget::DrawChildren);
    QList<int> rows;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) > 0) {
                rows << y;
                break;
            }
        }
    }
    return rows;
}

// How many text lines hold ink, counting runs of inked rows one line apart.
int paintedLines(tess::Label &pane)
{
    const int line = lineHeightOf(pane);
    QSet<int> lines;
    for (int row : inkedRows(pane))
        lines << row / line;
    return int(lines.size());
}

// The lines a pane shows of a caption, as it wraps them.
QStringList wrappedLines(const tess::Label &pane, const QString &caption)
{
    QStringList lines;
    QTextOption option(Qt::AlignLeft);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    for (const QString &paragraph : tess::normalizeLineBreaks(caption).split(u'\n')) {
        QTextLayout layout(paragraph, pane.font());
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(pane.width());
            lines << paragraph.mid(line.textStart(), line.textLength());
        }
        layout.endLayout();
    }
    return lines;
}

void setAllFlags(TestGame &game, const QByteArray &value)
{
    for (story::Flag flag : story::kAllFlags)
        game.files.content[story::StoryFlags::fileOf(flag)] = value;
}

} // namespace

class ConsoleScreenTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        // Measure with the fonts the game itself ships and registers.
        tess::loadBundledFonts();
    }

    // --- The console opens as laid out ---------------------------------

    void theConsoleWindowHasItsOwnCaptionAndAFixedClientOf797By591()
    {
        TestGame game;
        ConsoleScreen &blnc = openConsole(game);
        QCOMPARE(blnc.windowTitle(), QStringLiteral("Миры \"Tessaranium\": консоль управления AI Zuvodu LNC"));
        QCOMPARE(blnc.size(), QSize(797, 591));
        QCOMPARE(blnc.minimumSize(), QSize(797, 591));
        QCOMPARE(blnc.maximumSize(), QSize(797, 591));
        QVERIFY(!(blnc.windowFlags() & Qt::WindowMaximizeButtonHint));
    }

    void theControlsStandAtTheirRectangles()
    {
        TestGame game;
        ConsoleScreen &blnc = openConsole(game);
        QCOMPARE(blnc.Text.geometry(), QRect(32, 448, 305, 23));
        QCOMPARE(blnc.Label1.geometry(), QRect(392, 64, 25, 25));
        QCOMPARE(blnc.Label3.geometry(), QRect(344, 440, 73, 41));
        QCOMPARE(blnc.Texcon.geometry(), QRect(440, 72, 337, 345));
        QCOMPARE(blnc.Con.geometry(), QRect(32, 72, 377, 345));
        // The buttons are bare click areas over the picture.
        QVERIFY(blnc.Label1.text().isEmpty());
        QVERIFY(blnc.Label3.text().isEmpty());
    }

    void thePhotosSitAtTheirCornersAtTheirNaturalSizes()
    {
        TestGame game;
        ConsoleScreen &blnc = openConsole(game);
        QCOMPARE(blnc.Image1.geometry(), QRect(456, 456, 300, 107));
        QCOMPARE(blnc.Image2.geometry(), QRect(456, 464, 300, 91));
        QCOMPARE(blnc.Image3.geometry(), QRect(552, 480, 100, 75));
        QCOMPARE(blnc.Image4.geometry(), QRect(528, 456, 150, 113));
        for (const tess::Picture *photo : photos(blnc)) {
            QVERIFY(!photo->pixmap().isNull());
            QCOMPARE(photo->pixmap().size(), photo->size());
            // Below the comment pane and inside the window.
            QVERIFY(photo->geometry().top() >= blnc.Texcon.geometry().bottom());
            QVERIFY(blnc.rect().contains(photo->geometry()));
        }
    }

    void theConsoleOpensWithThePromptAnEmptyCommentAnEmptyLineAndNoPhoto()
    {
        TestGame game;
        ConsoleScreen &blnc = openConsole(game);
        QCOMPARE(blnc.Con.text(), QStringLiteral(">_"));
        QCOMPARE(blnc.Texcon.text(), QString());
        QCOMPARE(blnc.Text.text(), QString());
        QCOMPARE(visiblePhotos(blnc), 0);
        for (const tess::Picture *photo : photos(blnc))
            QVERIFY(photo->isHidden());
        // Opening the console by itself touches no flag and plays nothing.
        QCOMPARE(game.files.writes, 0);
        QVERIFY(game.log.entries.isEmpty());
    }

    void theCommandLineHasItsFontAndColoursAndTheFocusWhenTheConsoleOpens()
    {
        TestGame game;
        ConsoleScreen &blnc = openConsole(game);
        QCOMPARE(blnc.Text.font().pixelSize(), 16);  // 12 pt at 96 dots per inch
        QCOMPARE(blnc.Text.palette().color(QPalette::Base), QColor(0x40, 0x40, 0x40));
        QCOMPARE(blnc.Text.palette().color(QPalette::Text), QColor(0x00, 0x80, 0x80));
        QCOMPARE(blnc.Con.foreground(), QColor(0x80, 0x80, 0x80));
        QCOMPARE(blnc.Texcon.foreground(), tess::layoutColor(0x8000000D));
        QVERIFY(!(blnc.Text.focusPolicy() & Qt::TabFocus));
        QTRY_COMPARE(QApplication::focusWidget(), &blnc.Text);
    }

    // --- Typing and the execute button ---------------------------------

    void aTypedCommandRunsWhenTheExecuteButtonIsClicked()
    {
        TestGame game;
        ConsoleScreen &blnc = openConsole(game);
        QTest::keyClicks(&blnc.Text, QStringLiteral("command^vie<cat"));
        QCOMPARE(blnc.Con.text(), QStringLiteral(">_"));  // typing alone runs nothing
        QTest::mouseClick(&blnc.Label3, Qt::LeftButton);
        QCOMPARE(blnc.Con.text(), ">_" + kCatalogues);
        QCOMPARE(blnc.Texcon.text(), QString());
    }

    void aClickOnTheDrawnExecuteButtonInTheWindowRunsTheCommand()
    {
        TestGame game;
        ConsoleScreen &blnc = openConsole(game);
        QTest::keyClicks(&blnc.Text, QStringLiteral("command^diec<corp.vip"));
        QCOMPARE(blnc.childAt(380, 460), &blnc.Label3);
        clickWindowAt(blnc, QPoint(380, 460));
        QCOMPARE(blnc.Con.text(), ">_" + kOpened);
        QVERIFY(blnc.Texcon.text().startsWith(QStringLiteral("Инструкция№43:")));
    }

    void enterInTheCommandLineRunsNothing()
    {
        TestGame game;
        ConsoleScreen &blnc = openConsole(game);
        QTest::keyClicks(&blnc.Text, QStringLiteral("help"));
        QTest::keyClick(&blnc.Text, Qt::Key_Return);
        QTest::keyClick(&blnc.Text, Qt::Key_Enter, Qt::KeypadModifier);
        QTest::keyClick(&blnc, Qt::Key_Return);
        QCOMPARE(blnc.Con.text(), QStringLiteral(">_"));
        QCOMPARE(blnc.Text.text(), QStringLiteral("help"));
        QVERIFY(game.log.entries.isEmpty());
    }

    void theTypedLineStaysAfterItRunsSoASecondClickRunsItAgain()
    {
        TestGame game;
        ConsoleScreen &blnc = openConsole(game);
        QTest::keyClicks(&blnc.Text, QStringLiteral("command^diec<my_foto.see"));
        clickExecute(blnc);
        QCOMPARE(blnc.Text.text(), QStringLiteral("command^diec<my_foto.see"));
        clickExecute(blnc);
        QCOMPARE(blnc.Text.text(), QStringLiteral("command^diec<my_foto.see"));
        QCOMPARE(blnc.Con.text(), ">_" + kOpened + kOpened);
        QVERIFY(blnc.Image3.isVisible());
    }

    void anEmptyCommandLineAnswersWithTheErrorLine()
    {
        TestGame game;
        ConsoleScreen &blnc = openConsole(game);
        run(blnc, QStringLiteral("command^diec<foto_stranger.see"));
        QVERIFY(blnc.Image4.isVisible());
        run(blnc, QString());
        QVERIFY(blnc.Con.text().endsWith(QStringLiteral("\r\n>error: command is not incorporated")));
        QCOMPARE(blnc.Texcon.text(), QString());
        QCOMPARE(visiblePhotos(blnc), 0);
    }

    void everyCommandTypedAndClickedAppendsItsBlockSetsItsCommentAndShowsAtMostItsOwnPhoto()
    {
        TestGame game;
        ConsoleScreen &blnc = openConsole(game);
        QString expectedLog = QStringLiteral(">_");
        for (const console::ConsoleCommand &command : console::commandTable()) {
            const QString line = command.line.toString();
            run(blnc, line);
            expectedLog += command.block.toString();
            QCOMPARE(blnc.Con.text(), expectedLog);
            QCOMPARE(blnc.Texcon.text(), command.comment.toString());
            QVERIFY2(visiblePhotos(blnc) <= 1, qPrintable(line));
            const tess::Picture *own = photoOf(blnc, command.photo);
            for (const tess::Picture *photo : photos(blnc))
                QCOMPARE(photo->isVisible(), photo == own);
            QCOMPARE(blnc.Text.text(), line);
        }
        QCOMPARE(game.process.statuses, QList<int>{0});  // the last one is the exit
    }

    void atMostOnePhotoIsVisibleAfterAnyCommandInAnyOrder()
    {
        TestGame game;
        ConsoleScreen &blnc = openConsole(game);
        const auto table = console::commandTable();
        QStringList lines;
        for (const console::ConsoleCommand &command : table) {
            if (!command.endsProgram)
                lines << command.line.toString();
        }
        lines << QStringLiteral("nothing at all") << QStringLiteral("command^diec<temp.fil");
        // Every ordered pair, so each photo is followed by every answer.
        for (const QString &first : std::as_const(lines)) {
            for (const QString &second : std::as_const(lines)) {
                run(blnc, first);
                QVERIFY2(visiblePhotos(blnc) <= 1, qPrintable(first));
                run(blnc, second);
                QVERIFY2(visiblePhotos(blnc) <= 1, qPrintable(first + " then " + second));
            }
        }
        QVERIFY(game.process.statuses.isEmpty());
    }

    void openingOneProtocolAfterTheOtherSwapsTheirPhotos()
    {
        TestGame game;
        ConsoleScreen &blnc = openConsole(game);
        run(blnc, QStringLiteral("command^diec<protocol_universe.gfi"));
        QVERIFY(blnc.Image1.isVisible());
        run(blnc, QStringLiteral("command^diec<protocol_time.gfi"));
        QVERIFY(!blnc.Image1.isVisible());
        QVERIFY(blnc.Image2.isVisible());
        QVERIFY(blnc.Texcon.text().startsWith(QStringLiteral("Протокол №478")));
        QCOMPARE(visiblePhotos(blnc), 1);
    }

    // --- The red button ------------------------------------------------

    void theRedButtonClearsTheLogToThePromptAndNothingElse()
    {
        TestGame game;
        ConsoleScreen &blnc = openConsole(game);
        run(blnc, QStringLiteral("command^vie<cat"));
        run(blnc, QStringLiteral("command^diec<my_foto.see"));
        QTest::mouseClick(&blnc.Label1, Qt::LeftButton);
        QCOMPARE(blnc.Con.text(), QStringLiteral(">_"));
        QCOMPARE(blnc.Texcon.text(), QStringLiteral("Commentary to file: это типо я..."));
        QVERIFY(blnc.Image3.isVisible());
        QCOMPARE(blnc.Text.text(), QStringLiteral("command^diec<my_foto.see"));
        QVERIFY(game.log.entries.isEmpty());
        QCOMPARE(game.files.writes, 0);
    }

    void theRedButtonAnswersAlsoWhereItLiesUnderTheOutputPanesEdge()
    {
        TestGame game;
        ConsoleScreen &blnc = openConsole(game);
        // The output pane's right edge (x 408) covers the button's left part.
        QVERIFY(blnc.Con.geometry().contains(404, 76));
        QVERIFY(blnc.Label1.geometry().contains(404, 76));
        QCOMPARE(blnc.childAt(404, 76), &blnc.Label1);
        for (QPoint point : {QPoint(404, 76), QPoint(396, 84), QPoint(412, 68)}) {
            run(blnc, QStringLiteral("help"));
            QVERIFY(blnc.Con.text() != QStringLiteral(">_"));
            clickWindowAt(blnc, point);
            QCOMPARE(blnc.Con.text(), QStringLiteral(">_"));
        }
    }

    void aClickOnTheOutputPaneBesideTheRedButtonClearsNothing()
    {
        TestGame game;
        ConsoleScreen &blnc = openConsole(game);
        run(blnc, QStringLiteral("help"));
        const QString log = blnc.Con.text();
        for (QPoint point : {QPoint(200, 200), QPoint(386, 76), QPoint(404, 95), QPoint(600, 200)})
            clickWindowAt(blnc, point);
        QCOMPARE(blnc.Con.text(), log);
    }

    void theClearedLogGrowsAgainFromThePrompt()
    {
        TestGame game;
        ConsoleScreen &blnc = openConsole(game);
        run(blnc, QStringLiteral("help"));
        QTest::mouseClick(&blnc.Label1, Qt::LeftButton);
        run(blnc, QStringLiteral("command^vie<cat"));
        QCOMPARE(blnc.Con.text(), ">_" + kCatalogues);
    }

    // --- Line breaks in the panes --------------------------------------

    void bothPanesBreakTheLineOnceAtCrLfAtALoneCrAndAtALoneLf_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("lines");
        QTest::newRow("lone CR") << QStringLiteral("a\rb") << 2;
        QTest::newRow("lone LF") << QStringLiteral("a\nb") << 2;
        QTest::newRow("CR LF") << QStringLiteral("a\r\nb") << 2;
        QTest::newRow("LF CR: two breaks") << QStringLiteral("a\n\rb") << 3;
        QTest::newRow("CR LF twice") << QStringLiteral("a\r\n\r\nb") << 3;
        QTest::newRow("CR then CR LF") << QStringLiteral("a\r\r\nb") << 3;
        QTest::newRow("all three") << QStringLiteral("a\r\nb\rc\nd") << 4;
    }
    void bothPanesBreakTheLineOnceAtCrLfAtALoneCrAndAtALoneLf()
    {
        QFETCH(QString, caption);
        QFETCH(int, lines);
        TestGame game;
        ConsoleScreen &blnc = openConsole(game);
        for (tess::Label *pane : {&blnc.Con, &blnc.Texcon}) {
            QCOMPARE(layoutOf(*pane).heightOf(caption), lines * lineHeightOf(*pane));
            pane->setText(caption);
            QCOMPARE(paintedLines(*pane), caption.count(u'a') + caption.count(u'b') + caption.count(u'c')
                                              + caption.count(u'd'));
            const QList<int> rows = inkedRows(*pane);
            QVERIFY(!rows.isEmpty());
            // The last letter stands on the last line, not further down.
            QVERIFY(rows.last() < lines * lineHeightOf(*pane));
            QVERIFY(rows.last() >= (lines - 1) * lineHeightOf(*pane));
        }
    }

    void aListingShowsOneLinePerEntryUnderThePrompt()
    {
        TestGame game;
        ConsoleScreen &blnc = openConsole(game);
        run(blnc, QStringLiteral("command^vie<cat"));
        QCOMPARE(layoutOf(blnc.Con).heightOf(blnc.Con.text()), 6 * lineHeightOf(blnc.Con));
        QCOMPARE(paintedLines(blnc.Con), 6);
    }

    void twoOpenedFilesLeaveAnEmptyLineBetweenTheirLines()
    {
        TestGame game;
        ConsoleScreen &blnc = openConsole(game);
        run(blnc, QStringLiteral("command^diec<corp.vip"));
        run(blnc, QStringLiteral("command^diec<report_3.rea"));
        // ">_", ">file open", "", ">file open", "" : the trailing CR ends a line.
        QCOMPARE(wrappedLines(blnc.Con, blnc.Con.text()),
                 (QStringList{">_", ">file open", "", ">file open", ""}));
        QCOMPARE(paintedLines(blnc.Con), 3);
    }

    void theHelpTextShowsOneLinePerCommandWithoutWrapping()
    {
        TestGame game;
        ConsoleScreen &blnc = openConsole(game);
        run(blnc, QStringLiteral("help"));
        QCOMPARE(wrappedLines(blnc.Con, blnc.Con.text()),
                 (QStringList{">_", ">command^help", "command^[command]<[parameter] - syntax to consoles",
                              "vie<[cat] - list catalogue", "vie<[diec/name_catalogue] - list files",
                              "diec<[name_file] - open file", "end<[consol] - close & exit"}));
    }

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
        game.screens.Show(ScreenId::Engine);
        auto &story = game.screen<story::StoryScreen>(ScreenId::Engine);
        // "Нет..." leads to page 56, which asks for the code.
        story.Label2.setText(QStringLiteral("Нет..."));
        QTest::mouseClick(&story.Label2, Qt::LeftButton);
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
        story.Label3.setText(QStringLiteral("Enter parol"));
        story.Text1.show();
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
            story.Label3.setText(QStringLiteral("Enter parol"));
            story.Text1.show();
            QTest::keyClicks(&story.Text1, QString::fromLatin1(code));
            QTest::mouseClick(&story.Label3, Qt::LeftButton);
            QVERIFY2(!game.screens.isLoaded(ScreenId::BLNC), code);
            QVERIFY(game.screens.isShown(ScreenId::Engine));
        }
    }

    void theKeypadSeparatorOnTheStoryScreenOpensTheConsole()
    {
        TestGame game;
        game.screens.Show(ScreenId::Engine);
        auto &story = game.screen<story::StoryScreen>(ScreenId::Engine);
        story.Label2.setText(QStringLiteral("Нет..."));
        QTest::mouseClick(&story.Label2, Qt::LeftButton);
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

    // --- Long and odd command lines ------------------------------------

    void aHundredThousandCharacterLineMatchesNothingAndTheConsoleStaysResponsive()
    {
        TestGame game;
        ConsoleScreen &blnc = openConsole(game);
        run(blnc, QStringLiteral("command^diec<foto_stranger.see"));
        const QString before = blnc.Con.text();
        const QString comment = blnc.Texcon.text();

        QString longLine = QStringLiteral("command^vie<cat");
        while (longLine.size() < 100000)
            longLine += QStringLiteral(" command^vie<cat");
        longLine.truncate(100000);
        // Pasted, as nobody types that much by hand.
        QGuiApplication::clipboard()->setText(longLine);
        QElapsedTimer pasting;
        pasting.start();
        QTest::keyClick(&blnc.Text, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(&blnc.Text, Qt::Key_V, Qt::ControlModifier);
        qInfo("pasting 100000 characters took %lld ms; the line holds %lld of them",
              qint64(pasting.elapsed()), qint64(blnc.Text.text().size()));
        QVERIFY(pasting.elapsed() < 5000);
        QVERIFY(blnc.Text.text().size() > 15);
        QVERIFY(longLine.startsWith(blnc.Text.text()));
        QElapsedTimer click;
        click.start();
        clickExecute(blnc);
        QVERIFY(click.elapsed() < 1000);
        QCOMPARE(blnc.Con.text(), before);
        QCOMPARE(blnc.Texcon.text(), comment);
        QVERIFY(blnc.Image4.isVisible());

        // Typed key by key, a long line keeps up and matches nothing either.
        retype(blnc, QString());
        QElapsedTimer typing;
        typing.start();
        QTest::keyClicks(&blnc.Text, longLine.left(2000));
        qInfo("typing 2000 characters key by key took %lld ms", qint64(typing.elapsed()));
        QVERIFY(typing.elapsed() < 5000);
        QCOMPARE(blnc.Text.text(), longLine.left(2000));
        clickExecute(blnc);
        QCOMPARE(blnc.Con.text(), before);
        QCOMPARE(blnc.Texcon.text(), comment);

        // Still answering.
        run(blnc, QStringLiteral("command^vie<cat"));
        QCOMPARE(blnc.Con.text(), before + kCatalogues);
    }

    void anOddCommandLineMatchesNothing_data()
    {
        QTest::addColumn<QString>("line");
        QTest::newRow("help, capital") << QStringLiteral("Help");
        QTest::newRow("help, upper") << QStringLiteral("HELP");
        QTest::newRow("help, space before") << QStringLiteral(" help");
        QTest::newRow("help, space after") << QStringLiteral("help ");
        QTest::newRow("the echoed help") << QStringLiteral("command^help");
        QTest::newRow("cat, space after") << QStringLiteral("command^vie<cat ");
        QTest::newRow("cat, capital") << QStringLiteral("Command^vie<cat");
        QTest::newRow("catalogue in lower case") << QStringLiteral("command^vie<diec/system");
        QTest::newRow("no catalogue") << QStringLiteral("command^vie<diec/");
        QTest::newRow("unknown catalogue") << QStringLiteral("command^vie<diec/Nowhere");
        QTest::newRow("temp.fil") << QStringLiteral("command^diec<temp.fil");
        QTest::newRow("file with its catalogue") << QStringLiteral("command^diec<Kelmar_Box/my_foto.see");
        QTest::newRow("file with a slash") << QStringLiteral("command^diec</my_foto.see");
        QTest::newRow("two commands") << QStringLiteral("command^vie<cat command^vie<cat");
        QTest::newRow("only markup") << QStringLiteral("^<^</<>[]|#");
        QTest::newRow("space") << QStringLiteral(" ");
        QTest::newRow("format specifiers") << QStringLiteral("%s%n%1%%");
        QTest::newRow("backslashes") << QStringLiteral("command^diec<..\\..\\text\\gt1.tf");
        QTest::newRow("cyrillic") << QStringLiteral("команда^вие<кат");
        QTest::newRow("cyrillic look-alike c") << QStringLiteral("\u0441ommand^vie<cat");
        QTest::newRow("zero width space") << QStringLiteral("help\u200B");
        QTest::newRow("no-break space") << QStringLiteral("command^vie<cat\u00A0");
        QTest::newRow("right-to-left mark") << QStringLiteral("\u200Fhelp");
        QTest::newRow("emoji") << QStringLiteral("command^diec<\U0001F4C1.see");
        QTest::newRow("accented") << QStringLiteral("hélp");
    }
    void anOddCommandLineMatchesNothing()
    {
        QFETCH(QString, line);
        TestGame game;
        ConsoleScreen &blnc = openConsole(game);
        run(blnc, QStringLiteral("command^diec<my_foto.see"));
        const QString log = blnc.Con.text();
        retype(blnc, line);
        QCOMPARE(blnc.Text.text(), line);
        clickExecute(blnc);
        QCOMPARE(blnc.Con.text(), log);
        QCOMPARE(blnc.Texcon.text(), QStringLiteral("Commentary to file: это типо я..."));
        QVERIFY(blnc.Image3.isVisible());
        QCOMPARE(visiblePhotos(blnc), 1);
        QCOMPARE(blnc.Text.text(), line);
        QVERIFY(game.process.statuses.isEmpty());
        QVERIFY(game.log.entries.isEmpty());
    }

    void aLogOfThousandsOfAnswersStillAnswersAndPaintsAtOnce()
    {
        // The log is never cut down; only the red button shortens it.
        TestGame game;
        ConsoleScreen &blnc = openConsole(game);
        QTest::keyClicks(&blnc.Text, QStringLiteral("help"));
        for (int i = 0; i < 3000; ++i)
            clickExecute(blnc);
        QVERIFY(blnc.Con.text().size() > 500000);
        QElapsedTimer answer;
        answer.start();
        clickExecute(blnc);
        blnc.Con.repaint();
        qInfo("one more answer on a log of %lld characters took %lld ms", qint64(blnc.Con.text().size()),
              qint64(answer.elapsed()));
        QVERIFY(answer.elapsed() < 1000);
        QCOMPARE(paintedLines(blnc.Con), (blnc.Con.height() + lineHeightOf(blnc.Con) - 1) / lineHeightOf(blnc.Con));
        QTest::mouseClick(&blnc.Label1, Qt::LeftButton);
        QCOMPARE(blnc.Con.text(), QStringLiteral(">_"));
    }

    // --- What the comment pane shows -----------------------------------

    void everyCommentFitsTheCommentPaneOrIsCutWhereALineEnds_data()
    {
        QTest::addColumn<QString>("comment");
        for (const console::ConsoleCommand &command : console::commandTable()) {
            if (!command.comment.isEmpty())
                QTest::addRow("%s", qPrintable(command.line.toString())) << command.comment.toString();
        }
    }
    void everyCommentFitsTheCommentPaneOrIsCutWhereALineEnds()
    {
        QFETCH(QString, comment);
        TestGame game;
        ConsoleScreen &blnc = openConsole(game);
        tess::Label &pane = blnc.Texcon;
        const int line = lineHeightOf(pane);
        const int height = layoutOf(pane).heightOf(comment);
        const QStringList lines = wrappedLines(pane, comment);
        QCOMPARE(height, int(lines.size()) * line);
        const int whole = pane.height() / line;
        qInfo("%d px in %lld lines of %d px; the pane holds %d px, %d whole lines",
              height, qint64(lines.size()), line, pane.height(), whole);
        if (height <= pane.height())
            return;
        // Cut: the last line shown whole ends a sentence or a paragraph, so
        // the player does not read half a thought as the end of the file.
        const QString last = lines.at(whole - 1).trimmed();
        qInfo("cut after line %d: \"%s\"", whole, qPrintable(last));
        QVERIFY2(last.endsWith(u'.') || last.endsWith(u':') || last.endsWith(u'!') || last.endsWith(u'?')
                     || last.endsWith(u'>') || last.endsWith(u']'),
                 qPrintable(last));
    }

    void aTooTallCommentIsCutAtThePanesBottomEdgeAboveThePhotos()
    {
        // The pane does not grow: what passes its bottom edge is not drawn,
        // so a long text never runs into the photos below.
        TestGame game;
        ConsoleScreen &blnc = openConsole(game);
        QString tall;
        for (int i = 0; i < 60; ++i)
            tall += QStringLiteral("строка %1\r\n").arg(i);
        blnc.Texcon.setText(tall);
        QCOMPARE(blnc.Texcon.geometry(), QRect(440, 72, 337, 345));
        const int line = lineHeightOf(blnc.Texcon);
        // Every line down to the one the edge runs through, and no further.
        QCOMPARE(paintedLines(blnc.Texcon), (blnc.Texcon.height() + line - 1) / line);
        for (const tess::Picture *photo : photos(blnc))
            QVERIFY(blnc.Texcon.geometry().bottom() < photo->geometry().top());
    }

    void theLogNeverScrollsItsFirstLinesStayAsItGrows()
    {
        TestGame game;
        ConsoleScreen &blnc = openConsole(game);
        for (int i = 0; i < 40; ++i)
            run(blnc, QStringLiteral("command^vie<cat"));
        const int height = layoutOf(blnc.Con).heightOf(blnc.Con.text());
        QCOMPARE(height, (1 + 40 * 5) * lineHeightOf(blnc.Con));
        QVERIFY(height > blnc.Con.height());
        QCOMPARE(wrappedLines(blnc.Con, blnc.Con.text()).first(), QStringLiteral(">_"));
        QVERIFY(!inkedRows(blnc.Con).isEmpty());
        QVERIFY(inkedRows(blnc.Con).first() < lineHeightOf(blnc.Con));
    }
};

QTEST_MAIN(ConsoleScreenTest)
#include "console_screen_test.moc"
