// The console's command language: each line of the product's table does what
// its row says (its block after what the log held, its comment, only its
// photo, the end of the program where it ends it), every line is reached as
// typed with the first row winning, every other line is only text that
// changes nothing, and the texts a player relies on read as written.
#include "console_commands.h"

namespace {

void addTableRows()
{
    QTest::addColumn<QString>("line");
    for (const Command &command : tableCommands())
        QTest::newRow(command.name.constData()) << command.line;
}

// Runs the row's command line and checks its whole answer against the table.
void runTheRowsCommand(Console &console)
{
    QFETCH(QString, line);
    const Command expected = tableCommand(line);
    const QString logBefore = console.view.state.log;

    const std::optional<console::ConsoleAnswer> answer = console.engine.execute(line);

    QVERIFY(answer);
    QCOMPARE(answer->block, expected.block);
    QCOMPARE(answer->comment, expected.comment);
    QCOMPARE(console.view.state.log, logBefore + expected.block);
    QCOMPARE(console.engine.log(), console.view.state.log);
    QCOMPARE(console.view.state.comment, expected.comment);
    QCOMPARE(shownPhotos(console.view), onlyPhoto(expected.photo));
    QCOMPARE(console.process.statuses, expected.endsProgram ? QList<int>{0} : QList<int>{});
}

// The one answer of a line, on a fresh console.
console::ConsoleAnswer answerTo(const QString &line)
{
    Console console;
    return console.engine.execute(line).value_or(console::ConsoleAnswer{});
}

} // namespace

class ConsoleCommandsTest : public QObject {
    Q_OBJECT
private slots:
    // --- the table ----------------------------------------------------------

    void everyCommandLineAppendsExactlyItsBlockSetsItsCommentAndShowsOnlyItsPhoto_data() { addTableRows(); }
    void everyCommandLineAppendsExactlyItsBlockSetsItsCommentAndShowsOnlyItsPhoto()
    {
        Console console;
        runTheRowsCommand(console);
    }

    void everyCommandLineReplacesAnEarlierCommentAndHidesEveryOtherPhoto_data() { addTableRows(); }
    void everyCommandLineReplacesAnEarlierCommentAndHidesEveryOtherPhoto()
    {
        Console console;
        console.engine.execute(console::commandTable().front().line.toString());  // an earlier answer in the log
        console.view.state.comment = QStringLiteral("an earlier comment");
        for (Photo each : {Photo::Image1, Photo::Image2, Photo::Image3, Photo::Image4})
            console.view.state.photo(each) = true;
        runTheRowsCommand(console);
    }

    void everyLineIsReachedExactlyAsTypedAndTheFirstRowWins()
    {
        const auto table = console::commandTable();
        QVERIFY(!table.empty());
        for (const console::ConsoleCommand &row : table) {
            const auto first = std::find_if(table.begin(), table.end(),
                                            [&row](const console::ConsoleCommand &other) { return other.line == row.line; });
            QCOMPARE(ConsoleEngine::find(row.line.toString()), &*first);
        }
        // Exactly one row ends the program.
        QCOMPARE(std::count_if(table.begin(), table.end(), [](const auto &row) { return row.endsProgram; }), 1);
    }

    void theExitLineEndsTheProgramWithStatusZeroOnlyAfterAnswering()
    {
        Console console;
        console.view.state.photo(Photo::Image4) = true;
        console.engine.execute(QStringLiteral("command^end<consol"));

        QCOMPARE(console.process.statuses, QList<int>{0});
        QCOMPARE(console.view.state.log, prompt() + opened());
        QCOMPARE(console.view.state.comment, QStringLiteral("Good By!"));
        QCOMPARE(shownPhotos(console.view), QStringList{});
        const QStringList &events = console.events.entries;
        QVERIFY(!events.isEmpty());
        QCOMPARE(events.last(), QStringLiteral("end 0"));
        QCOMPARE(events.count(QStringLiteral("end 0")), 1);
        QVERIFY(events.indexOf(QStringLiteral("log")) < events.indexOf(QStringLiteral("end 0")));
        QVERIFY(events.indexOf(QStringLiteral("comment")) < events.indexOf(QStringLiteral("end 0")));
        QVERIFY(events.contains(QStringLiteral("Image4 hidden")));
    }

    // --- the texts a player relies on, written out on their own ------------

    void theHelpTheEmptyLineAndTheCatalogueListReadAsWritten()
    {
        QCOMPARE(answerTo(QStringLiteral("help")).block,
                 kCrLf + QStringLiteral(">command^help") + kCrLf
                     + QStringLiteral("command^[command]<[parameter] - syntax to consoles") + kCr
                     + QStringLiteral("vie<[cat] - list catalogue") + kCr
                     + QStringLiteral("vie<[diec/name_catalogue] - list files") + kCr
                     + QStringLiteral("diec<[name_file] - open file") + kCr + QStringLiteral("end<[consol] - close & exit"));
        QCOMPARE(answerTo(QString()).block, kCrLf + QStringLiteral(">error: command is not incorporated"));
        QCOMPARE(answerTo(QStringLiteral("command^vie<cat")).block,
                 kCrLf + QStringLiteral(">[Zuvodu_LNC]\r>[Kelmar_Box]\r>[System]\r>[Tessaranium]\r>[Test_world]"));
        QCOMPARE(answerTo(QStringLiteral("command^diec<corp.vip")).block, opened());
    }

    void theFilesLongCommentsHaveTheirShapeAndOpenings_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<Prose>("prose");
        QTest::newRow("corp.vip") << QStringLiteral("command^diec<corp.vip") << Prose::Instruction;
        QTest::newRow("foto_command.see") << QStringLiteral("command^diec<foto_command.see") << Prose::Garbage;
        QTest::newRow("site.world") << QStringLiteral("command^diec<site.world") << Prose::GarbageWithAddress;
        QTest::newRow("report_3.rea") << QStringLiteral("command^diec<report_3.rea") << Prose::Report;
        QTest::newRow("diary_book.rea") << QStringLiteral("command^diec<diary_book.rea") << Prose::Diary;
        QTest::newRow("diary_book2.rea") << QStringLiteral("command^diec<diary_book2.rea") << Prose::Diary2;
    }
    void theFilesLongCommentsHaveTheirShapeAndOpenings()
    {
        QFETCH(QString, line);
        QFETCH(Prose, prose);
        const QString error = checkProse(prose, answerTo(line).comment);
        QVERIFY2(error.isEmpty(), qPrintable(error));
    }

    // --- exactness ----------------------------------------------------------

    void aLineThatIsNotExactlyACommandChangesNothing_data()
    {
        QTest::addColumn<QString>("line");
        const QList<std::pair<const char *, QString>> rows{
            {"Help", QStringLiteral("Help")},
            {"HELP", QStringLiteral("HELP")},
            {"hElp", QStringLiteral("hElp")},
            {"space before help", QStringLiteral(" help")},
            {"space after help", QStringLiteral("help ")},
            {"tab after help", QStringLiteral("help\t")},
            {"command^help", QStringLiteral("command^help")},
            {">command^help (the echoed line)", QStringLiteral(">command^help")},
            {"a single space (not the empty line)", QStringLiteral(" ")},
            {"two spaces", QStringLiteral("  ")},
            {"catalogue list with a trailing space", QStringLiteral("command^vie<cat ")},
            {"catalogue list with a leading space", QStringLiteral(" command^vie<cat")},
            {"catalogue list with a capital first letter", QStringLiteral("Command^vie<cat")},
            {"catalogue list in capitals", QStringLiteral("COMMAND^VIE<CAT")},
            {"catalogue list with capital VIE", QStringLiteral("command^VIE<cat")},
            {"catalogue list without the prefix", QStringLiteral("vie<cat")},
            {"catalogue list with brackets as in the help", QStringLiteral("command^vie<[cat]")},
            {"catalogue list with spaces around the parts", QStringLiteral("command ^ vie < cat")},
            {"file listing with no catalogue", QStringLiteral("command^vie<diec/")},
            {"file listing of an unknown catalogue", QStringLiteral("command^vie<diec/Archive")},
            {"file listing of system in lower case", QStringLiteral("command^vie<diec/system")},
            {"file listing of SYSTEM in capitals", QStringLiteral("command^vie<diec/SYSTEM")},
            {"file listing of kelmar_box in lower case", QStringLiteral("command^vie<diec/kelmar_box")},
            {"file listing with a trailing slash", QStringLiteral("command^vie<diec/Tessaranium/")},
            {"file listing with a trailing space", QStringLiteral("command^vie<diec/Test_world ")},
            {"file listing with brackets", QStringLiteral("command^vie<[diec/System]")},
            {"file listing without the prefix", QStringLiteral("vie<diec/Zuvodu_LNC")},
            {"catalogue before a file name", QStringLiteral("command^diec<Tessaranium/report_3.rea")},
            {"catalogue before my_foto.see", QStringLiteral("command^diec<Kelmar_Box/my_foto.see")},
            {"listed but unopenable temp.fil", QStringLiteral("command^diec<temp.fil")},
            {"open with no file name", QStringLiteral("command^diec<")},
            {"open an unknown file", QStringLiteral("command^diec<secret.vip")},
            {"open Money.vip in another case", QStringLiteral("command^diec<Money.vip")},
            {"open corp.vip with a trailing space", QStringLiteral("command^diec<corp.vip ")},
            {"open corp.vip without its extension", QStringLiteral("command^diec<corp")},
            {"open foto_stranger.see with a space after <", QStringLiteral("command^diec< foto_stranger.see")},
            {"open a catalogue by name", QStringLiteral("command^diec<Tessaranium")},
            {"open with the list verb", QStringLiteral("command^vie<my_foto.see")},
            {"open without the prefix", QStringLiteral("diec<protocol_time.gfi")},
            {"open the echoed answer", QStringLiteral(">file open")},
            {"listing line typed back", QStringLiteral(">-|my_foto.see]")},
            {"exit with a trailing space", QStringLiteral("command^end<consol ")},
            {"exit in another case", QStringLiteral("command^end<Consol")},
            {"exit without its parameter", QStringLiteral("command^end")},
            {"exit with brackets as in the help", QStringLiteral("command^end<[consol]")},
            {"exit without the prefix", QStringLiteral("end<consol")},
            {"exit by another word", QStringLiteral("exit")},
            {"two commands on one line", QStringLiteral("command^vie<cat command^vie<cat")},
            {"help twice on one line", QStringLiteral("helphelp")},
            {"the error text typed in", QStringLiteral(">error: command is not incorporated")},
            {"the prompt typed in", QStringLiteral(">_")},
        };
        for (const auto &[name, line] : rows)
            QTest::newRow(name) << line;
    }
    void aLineThatIsNotExactlyACommandChangesNothing()
    {
        QFETCH(QString, line);
        QVERIFY(ConsoleEngine::find(line) == nullptr);
        verifyChangesNothing(line, QStringLiteral("Commentary to file: это типо я..."), Photo::Image3);
    }

    void aLineThatIsNotExactlyACommandChangesNothingOnAFreshConsole_data()
    {
        aLineThatIsNotExactlyACommandChangesNothing_data();
    }
    void aLineThatIsNotExactlyACommandChangesNothingOnAFreshConsole()
    {
        QFETCH(QString, line);

        Console console;
        console.engine.execute(line);

        QCOMPARE(console.view.state.log, prompt());
        QCOMPARE(console.view.state.comment, QString());
        QCOMPARE(shownPhotos(console.view), QStringList{});
        QCOMPARE(console.process.statuses, QList<int>{});
    }
};

QTEST_GUILESS_MAIN(ConsoleCommandsTest)
#include "console_commands_test.moc"
