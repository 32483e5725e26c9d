// The console screen in the whole game: its layout, the command line and the
// two buttons, and how its panes break lines. The command table itself is
// checked byte for byte elsewhere; here every command is typed and clicked.
#include "console_screen.h"

class ConsoleScreenTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { useTheGamesFonts(); }

    // --- The console opens as laid out ---------------------------------

    void theConsoleWindowHasItsOwnCaptionAndAFixedClient()
    {
        TestGame game;
        ConsoleScreen &blnc = openConsole(game);
        QCOMPARE(blnc.windowTitle(), QStringLiteral("Миры \"Tessaranium\": консоль управления AI Zuvodu LNC"));
        const QSize size(tess::pixels(kConsoleLayout.client.width), tess::pixels(kConsoleLayout.client.height));
        QCOMPARE(blnc.size(), size);
        QCOMPARE(blnc.minimumSize(), size);
        QCOMPARE(blnc.maximumSize(), size);
        QVERIFY(!(blnc.windowFlags() & Qt::WindowMaximizeButtonHint));
    }

    void theControlsStandAtTheirRectangles()
    {
        TestGame game;
        ConsoleScreen &blnc = openConsole(game);
        QCOMPARE(blnc.Text.geometry(), pixelRect(kConsoleLayout.at("Text")));
        QCOMPARE(blnc.Label1.geometry(), pixelRect(kConsoleLayout.at("Label1")));
        QCOMPARE(blnc.Label3.geometry(), pixelRect(kConsoleLayout.at("Label3")));
        QCOMPARE(blnc.Texcon.geometry(), pixelRect(kConsoleLayout.at("Texcon")));
        QCOMPARE(blnc.Con.geometry(), pixelRect(kConsoleLayout.at("Con")));
        // The buttons are bare click areas over the picture.
        QVERIFY(blnc.Label1.text().isEmpty());
        QVERIFY(blnc.Label3.text().isEmpty());
    }

    void thePhotosSitAtTheirCornersAtTheirNaturalSizes()
    {
        TestGame game;
        ConsoleScreen &blnc = openConsole(game);
        QCOMPARE(blnc.Image1.geometry(), pixelRect(kConsoleLayout.at("Image1")));
        QCOMPARE(blnc.Image2.geometry(), pixelRect(kConsoleLayout.at("Image2")));
        QCOMPARE(blnc.Image3.geometry(), pixelRect(kConsoleLayout.at("Image3")));
        QCOMPARE(blnc.Image4.geometry(), pixelRect(kConsoleLayout.at("Image4")));
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
        const QPoint button = pixelRect(kConsoleLayout.at("Label3")).center();
        QCOMPARE(blnc.childAt(button), &blnc.Label3);
        clickWindowAt(blnc, button);
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

    // Every line of the table, typed and clicked on the screen, shows what the
    // engine answers on a console without a window, which is the table's
    // first row with that line.
    void everyCommandTypedAndClickedShowsWhatTheEngineAnswers()
    {
        TestGame game;
        ConsoleScreen &blnc = openConsole(game);
        console::MemoryConsoleView memory;
        EventLog events;
        RecordingProcess ended(events);
        console::ConsoleEngine engine(memory, ended);
        QString expectedLog = QStringLiteral(">_");
        for (const console::ConsoleCommand &row : console::commandTable()) {
            const QString line = row.line.toString();
            const console::ConsoleCommand &first = *console::ConsoleEngine::find(line);
            run(blnc, line);
            engine.execute(line);
            expectedLog += first.block.toString();
            QCOMPARE(blnc.Con.text(), expectedLog);
            QCOMPARE(blnc.Con.text(), memory.state.log);
            QCOMPARE(blnc.Texcon.text(), memory.state.comment);
            QCOMPARE(blnc.Texcon.text(), first.comment.toString());
            QVERIFY2(visiblePhotos(blnc) <= 1, qPrintable(line));
            for (console::Photo photo : {console::Photo::Image1, console::Photo::Image2, console::Photo::Image3,
                                         console::Photo::Image4}) {
                QCOMPARE(photoOf(blnc, photo)->isVisible(), memory.state.photo(photo));
                QCOMPARE(photoOf(blnc, photo)->isVisible(), photo == first.photo);
            }
            QCOMPARE(blnc.Text.text(), line);
            QCOMPARE(game.process.statuses, ended.statuses);
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
        // The output pane's right edge covers the button's left part.
        const QRect button = blnc.Label1.geometry();
        QVERIFY(blnc.Con.geometry().contains(button.center()));
        QCOMPARE(blnc.childAt(button.center()), &blnc.Label1);
        // Its middle, under the pane at the bottom left, beside it at the top right.
        const QPoint underPane = button.topLeft() + QPoint(4, 20);
        const QPoint besidePane = button.topLeft() + QPoint(20, 4);
        QVERIFY(blnc.Con.geometry().contains(underPane) && !blnc.Con.geometry().contains(besidePane));
        for (QPoint point : {button.center(), underPane, besidePane}) {
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
        // In both panes, and just left of and below the button on the log.
        const QRect button = blnc.Label1.geometry();
        for (QPoint point : {blnc.Con.geometry().center(), button.center() - QPoint(button.width() / 2 + 6, 0),
                             button.center() + QPoint(0, button.height() / 2 + 7), blnc.Texcon.geometry().center()}) {
            QVERIFY(!button.contains(point));
            clickWindowAt(blnc, point);
        }
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
