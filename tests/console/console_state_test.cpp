// What the console's log, comment pane and photos hold after one command line
// follows another: listings, clearing, repeats, locked files and hostile lines.
#include "console_commands.h"

class ConsoleStateTest : public QObject {
    Q_OBJECT
private slots:
    // --- state rules --------------------------------------------------------

    void aLineThatMatchesNothingKeepsTheCommentAndPhotoOfAnEarlierOpening_data()
    {
        QTest::addColumn<QString>("opening");
        QTest::addColumn<QString>("stray");
        const QStringList openings{
            QStringLiteral("command^diec<my_foto.see"),       QStringLiteral("command^diec<protocol_universe.gfi"),
            QStringLiteral("command^diec<protocol_time.gfi"), QStringLiteral("command^diec<foto_stranger.see"),
            QStringLiteral("command^diec<corp.vip"),          QStringLiteral("command^diec<Tessaranium.world"),
        };
        const QStringList strays{QStringLiteral("command^diec<temp.fil"), QStringLiteral("HELP"),
                                 QStringLiteral("command^help"), QStringLiteral("command^vie<cat ")};
        for (const QString &opening : openings) {
            for (const QString &stray : strays) {
                QTest::addRow("%s then \"%s\"", tableCommand(opening).name.constData(), qPrintable(stray)) << opening << stray;
            }
        }
    }
    void aLineThatMatchesNothingKeepsTheCommentAndPhotoOfAnEarlierOpening()
    {
        QFETCH(QString, opening);
        QFETCH(QString, stray);
        const Command expected = tableCommand(opening);

        Console console;
        console.engine.execute(opening);
        const Snapshot before = snapshot(console.view);
        QCOMPARE(before.log, prompt() + opened());
        QCOMPARE(before.comment, expected.comment);
        QCOMPARE(before.photos, onlyPhoto(expected.photo));

        console.engine.execute(stray);

        const Snapshot after = snapshot(console.view);
        QCOMPARE(after.log, before.log);
        QCOMPARE(after.comment, before.comment);
        QCOMPARE(after.photos, before.photos);
    }

    void aListingEmptiesTheCommentAndHidesEveryPhoto_data()
    {
        QTest::addColumn<QString>("opening");
        QTest::addColumn<QString>("listingLine");
        const QStringList openings{
            QStringLiteral("command^diec<my_foto.see"),       QStringLiteral("command^diec<protocol_universe.gfi"),
            QStringLiteral("command^diec<protocol_time.gfi"), QStringLiteral("command^diec<foto_stranger.see"),
            QStringLiteral("command^diec<corp.vip"),
        };
        const QStringList listings{
            QStringLiteral("command^vie<cat"),
            QStringLiteral("command^vie<diec/Kelmar_Box"),
            QStringLiteral("command^vie<diec/Tessaranium"),
            QStringLiteral("command^vie<diec/Test_world"),
            QStringLiteral("command^vie<diec/System"),
            QStringLiteral("command^vie<diec/Zuvodu_LNC"),
        };
        for (const QString &opening : openings) {
            for (const QString &listingLine : listings) {
                QTest::addRow("%s then %s", tableCommand(opening).name.constData(), tableCommand(listingLine).name.constData())
                    << opening << listingLine;
            }
        }
    }
    void aListingEmptiesTheCommentAndHidesEveryPhoto()
    {
        QFETCH(QString, opening);
        QFETCH(QString, listingLine);

        Console console;
        console.engine.execute(opening);
        QVERIFY(!console.view.state.comment.isEmpty());

        console.engine.execute(listingLine);

        QCOMPARE(console.view.state.log, prompt() + opened() + tableCommand(listingLine).block);
        QCOMPARE(console.view.state.comment, QString());
        QCOMPARE(shownPhotos(console.view), QStringList{});
    }

    void clearPutsBackOnlyThePromptAndLeavesCommentAndPhotos_data()
    {
        QTest::addColumn<QStringList>("earlier");
        QTest::newRow("fresh console") << QStringList{};
        QTest::newRow("after help") << QStringList{QStringLiteral("help")};
        QTest::newRow("after the empty line") << QStringList{QString()};
        QTest::newRow("after my_foto.see") << QStringList{QStringLiteral("command^diec<my_foto.see")};
        QTest::newRow("after protocol_universe.gfi")
            << QStringList{QStringLiteral("command^diec<protocol_universe.gfi")};
        QTest::newRow("after corp.vip") << QStringList{QStringLiteral("command^diec<corp.vip")};
        QTest::newRow("after a listing following a photo")
            << QStringList{QStringLiteral("command^diec<foto_stranger.see"), QStringLiteral("command^vie<cat")};
        QTest::newRow("after many commands")
            << QStringList{QStringLiteral("command^vie<cat"), QStringLiteral("command^vie<diec/Tessaranium"),
                           QStringLiteral("command^diec<report_3.rea"), QStringLiteral("command^diec<money.vip"),
                           QStringLiteral("command^diec<protocol_time.gfi")};
    }
    void clearPutsBackOnlyThePromptAndLeavesCommentAndPhotos()
    {
        QFETCH(QStringList, earlier);

        Console console;
        console.run(earlier);
        const Snapshot before = snapshot(console.view);

        console.engine.clear();
        QCOMPARE(console.view.state.log, QStringLiteral(">_"));
        QCOMPARE(console.view.state.comment, before.comment);
        QCOMPARE(shownPhotos(console.view), before.photos);

        console.engine.clear();
        QCOMPARE(console.view.state.log, QStringLiteral(">_"));
        QCOMPARE(console.view.state.comment, before.comment);
        QCOMPARE(shownPhotos(console.view), before.photos);
        QCOMPARE(console.process.statuses, QList<int>{});

        // The log grows again from the prompt.
        console.engine.execute(QStringLiteral("command^vie<diec/System"));
        QCOMPARE(console.view.state.log, QStringLiteral(">_\r\n>-|kill_system.dea]"));
    }

    void twoAnswersInARowLeaveAnEmptyLineBetweenThem_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QString>("expectedLog");
        const QString twoOpenings = QStringLiteral(">_\r\n>file open\r\r\n>file open\r");
        QTest::newRow("corp.vip twice") << QStringLiteral("command^diec<corp.vip")
                                        << QStringLiteral("command^diec<corp.vip") << twoOpenings;
        QTest::newRow("my_foto.see then protocol_time.gfi")
            << QStringLiteral("command^diec<my_foto.see") << QStringLiteral("command^diec<protocol_time.gfi")
            << twoOpenings;
        QTest::newRow("the two Test_world files")
            << QStringLiteral("command^diec<Tessaranium.world")
            << QStringLiteral("command^diec<Tessaranium#tmp_old.world") << twoOpenings;
        QTest::newRow("the two diaries") << QStringLiteral("command^diec<diary_book.rea")
                                         << QStringLiteral("command^diec<diary_book2.rea") << twoOpenings;
        QTest::newRow("site.world then foto_command.see")
            << QStringLiteral("command^diec<site.world") << QStringLiteral("command^diec<foto_command.see")
            << twoOpenings;
        QTest::newRow("locked money.vip then report_3.rea")
            << QStringLiteral("command^diec<money.vip") << QStringLiteral("command^diec<report_3.rea")
            << QStringLiteral(">_\r\n>error: file locked\r\r\n>file open\r");
        QTest::newRow("report_3.rea then refused kill_system.dea")
            << QStringLiteral("command^diec<report_3.rea") << QStringLiteral("command^diec<kill_system.dea")
            << QStringLiteral(">_\r\n>file open\r\r\n>error: You want to destroy the system, You in its wit?\r");
        QTest::newRow("an opening then a listing")
            << QStringLiteral("command^diec<foto_stranger.see") << QStringLiteral("command^vie<diec/System")
            << QStringLiteral(">_\r\n>file open\r\r\n>-|kill_system.dea]");
        QTest::newRow("a listing then an opening (no empty line)")
            << QStringLiteral("command^vie<diec/System") << QStringLiteral("command^diec<foto_stranger.see")
            << QStringLiteral(">_\r\n>-|kill_system.dea]\r\n>file open\r");
        QTest::newRow("the empty line then an opening (no empty line)")
            << QString() << QStringLiteral("command^diec<corp.vip")
            << QStringLiteral(">_\r\n>error: command is not incorporated\r\n>file open\r");
    }
    void twoAnswersInARowLeaveAnEmptyLineBetweenThem()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(QString, expectedLog);

        Console console;
        console.run({first, second});

        QCOMPARE(console.view.state.log, expectedLog);
    }

    void aCommandRunTwiceAppendsItsBlockTwice_data()
    {
        QTest::addColumn<QString>("line");
        for (const Command &command : tableCommands()) {
            if (!command.endsProgram)
                QTest::newRow(command.name.constData()) << command.line;
        }
    }
    void aCommandRunTwiceAppendsItsBlockTwice()
    {
        QFETCH(QString, line);
        const Command expected = tableCommand(line);

        Console console;
        console.engine.execute(line);
        const Snapshot once = snapshot(console.view);
        console.engine.execute(line);

        QCOMPARE(console.view.state.log, prompt() + expected.block + expected.block);
        QCOMPARE(console.view.state.comment, once.comment);
        QCOMPARE(console.view.state.comment, expected.comment);
        QCOMPARE(shownPhotos(console.view), onlyPhoto(expected.photo));
    }

    void openingOneProtocolAfterTheOtherSwapsTheCommentAndThePhoto_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::newRow("protocol_time.gfi after protocol_universe.gfi")
            << QStringLiteral("command^diec<protocol_universe.gfi") << QStringLiteral("command^diec<protocol_time.gfi");
        QTest::newRow("protocol_universe.gfi after protocol_time.gfi")
            << QStringLiteral("command^diec<protocol_time.gfi") << QStringLiteral("command^diec<protocol_universe.gfi");
        QTest::newRow("foto_stranger.see after my_foto.see")
            << QStringLiteral("command^diec<my_foto.see") << QStringLiteral("command^diec<foto_stranger.see");
        QTest::newRow("my_foto.see after protocol_time.gfi")
            << QStringLiteral("command^diec<protocol_time.gfi") << QStringLiteral("command^diec<my_foto.see");
    }
    void openingOneProtocolAfterTheOtherSwapsTheCommentAndThePhoto()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        const Command one = tableCommand(first);
        const Command two = tableCommand(second);

        Console console;
        console.engine.execute(first);
        QCOMPARE(shownPhotos(console.view), onlyPhoto(one.photo));
        QCOMPARE(console.view.state.comment, one.comment);

        console.engine.execute(second);
        QCOMPARE(shownPhotos(console.view), onlyPhoto(two.photo));
        QCOMPARE(console.view.state.comment, two.comment);
        QCOMPARE(console.view.state.log, prompt() + opened() + opened());
    }

    void aLockedFileStaysLockedWhateverWasOpenedBefore()
    {
        Console console;
        QString expectedLog = prompt();
        for (const Command &command : tableCommands()) {
            if (command.endsProgram)
                continue;
            console.engine.execute(command.line);
            expectedLog += command.block;
        }
        console.engine.execute(QStringLiteral("command^diec<money.vip"));
        expectedLog += QStringLiteral("\r\n>error: file locked\r");

        QCOMPARE(console.view.state.log, expectedLog);
        QCOMPARE(console.view.state.comment, QString());
        QCOMPARE(shownPhotos(console.view), QStringList{});
        QCOMPARE(console.process.statuses, QList<int>{});
    }

    // --- hostile input ------------------------------------------------------

    void hostileInputIsOnlyTextAndChangesNothing_data()
    {
        QTest::addColumn<QString>("line");
        auto repeated = [](const QString &piece, qsizetype length) {
            QString text;
            while (text.size() < length)
                text += piece;
            return text.left(length);
        };
        const qsizetype huge = 100000;
        QTest::newRow("100000 letters") << QString(huge, QLatin1Char('x'));
        QTest::newRow("100000 Cyrillic letters") << QString(huge, QChar(0x0416));
        QTest::newRow("help padded to 100000") << QStringLiteral("help") + QString(huge - 4, QLatin1Char(' '));
        QTest::newRow("catalogue list repeated to 100000") << repeated(QStringLiteral("command^vie<cat"), huge);
        QTest::newRow("open command with a 100000-character name")
            << QStringLiteral("command^diec<") + QString(huge - 13, QLatin1Char('a'));
        QTest::newRow("100000 NUL characters") << QString(huge, QChar(0));

        QTest::newRow("NUL alone") << QString(1, QChar(0));
        QTest::newRow("help followed by NUL") << QStringLiteral("help") + QChar(0);
        QTest::newRow("exit followed by NUL") << QStringLiteral("command^end<consol") + QChar(0);
        QTest::newRow("exit after a NUL") << QChar(0) + QStringLiteral("command^end<consol");
        QTest::newRow("NUL inside an open command")
            << QStringLiteral("command^diec<my_foto") + QChar(0) + QStringLiteral(".see");
        QString allControls;
        for (char16_t code = 1; code < 0x20; ++code)
            allControls += QChar(code);
        QTest::newRow("every control character") << allControls;
        QTest::newRow("CR alone") << QStringLiteral("\r");
        QTest::newRow("LF alone") << QStringLiteral("\n");
        QTest::newRow("CR LF alone") << QStringLiteral("\r\n");
        QTest::newRow("help followed by CR LF") << QStringLiteral("help\r\n");
        QTest::newRow("help followed by LF") << QStringLiteral("help\n");
        QTest::newRow("exit followed by CR") << QStringLiteral("command^end<consol\r");
        QTest::newRow("exit after CR LF") << QStringLiteral("\r\ncommand^end<consol");
        QTest::newRow("tab before help") << QStringLiteral("\thelp");
        QTest::newRow("terminal escape") << QChar(0x1b) + QStringLiteral("[2J");
        QTest::newRow("DEL") << QString(1, QChar(0x7f));
        QTest::newRow("backspace after help") << QStringLiteral("help") + QChar(0x08);

        QTest::newRow("emoji") << QString::fromUtf8("\xF0\x9F\x98\x80");
        QTest::newRow("help followed by an emoji") << QStringLiteral("help") + QString::fromUtf8("\xF0\x9F\x98\x80");
        QTest::newRow("right-to-left override before help") << QChar(0x202E) + QStringLiteral("help");
        QTest::newRow("right-to-left mark after exit") << QStringLiteral("command^end<consol") + QChar(0x200F);
        QTest::newRow("Hebrew text") << QString::fromUtf8("\xD7\xA2\xD7\x96\xD7\xA8\xD7\x94");
        QTest::newRow("Arabic text") << QString::fromUtf8("\xD9\x85\xD8\xB3\xD8\xA7\xD8\xB9\xD8\xAF\xD8\xA9");
        QTest::newRow("replacement character") << QString(1, QChar(0xFFFD));
        QTest::newRow("help followed by a replacement character") << QStringLiteral("help") + QChar(0xFFFD);
        QTest::newRow("lone high surrogate") << QString(1, QChar(0xD800));
        QTest::newRow("lone low surrogate after help") << QStringLiteral("help") + QChar(0xDC00);
        QTest::newRow("byte order mark before help") << QChar(0xFEFF) + QStringLiteral("help");
        QTest::newRow("zero-width space after the catalogue list")
            << QStringLiteral("command^vie<cat") + QChar(0x200B);
        QTest::newRow("no-break space after help") << QStringLiteral("help") + QChar(0x00A0);
        QTest::newRow("fullwidth help")
            << QString::fromUtf8("\xEF\xBD\x88\xEF\xBD\x85\xEF\xBD\x8C\xEF\xBD\x90");
        QTest::newRow("help with a Cyrillic e") << QStringLiteral("h") + QChar(0x0435) + QStringLiteral("lp");
        QTest::newRow("catalogue list with a Cyrillic c")
            << QStringLiteral("command^vie<") + QChar(0x0441) + QStringLiteral("at");
        QTest::newRow("help with a combining accent") << QStringLiteral("help") + QChar(0x0301);
        QTest::newRow("noncharacter U+FFFF") << QString(1, QChar(0xFFFF));
    }
    void hostileInputIsOnlyTextAndChangesNothing()
    {
        QFETCH(QString, line);
        verifyChangesNothing(line, QStringLiteral("Commentary to file: представитель иных..."), Photo::Image4);
    }
};

QTEST_GUILESS_MAIN(ConsoleStateTest)
#include "console_state_test.moc"
