// The console screen in the whole game: its layout, the command line and the
// two buttons, and how its panes break lines. The command table itself is
// checked byte for byte elsewhere; here every command is typed and clicked.
#include "console_screen.h"

class ConsoleScreenTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { useTheGamesFonts(); }

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
};

QTEST_MAIN(ConsoleScreenTest)
#include "console_screen_test.moc"
