// Long and odd command lines, a log of thousands of answers, and what the
// comment pane shows of a comment too tall for it.
#include "console_screen.h"

class ConsoleLongLinesTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { useTheGamesFonts(); }

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
        QCOMPARE(blnc.Texcon.geometry(), pixelRect(kConsoleLayout.at("Texcon")));
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

QTEST_MAIN(ConsoleLongLinesTest)
#include "console_long_lines_test.moc"
