// The console's command language, byte for byte: which lines it understands,
// what each one appends to the log, puts into the comment pane and shows among
// the photos, and that every other line is only text that changes nothing.
//
// The expected answers below are written out by hand, on purpose not taken
// from the command table, so that a slip in either one shows up here.

#include "console/core/command_table.h"
#include "console/core/console_engine.h"
#include "console/core/console_view.h"
#include "console/core/memory_console_view.h"

#include "recorders.h"

#include <QList>
#include <QStringList>
#include <QTest>

#include <array>

using console::ConsoleEngine;
using console::Photo;

namespace {

// The comments whose long wording is the writer's: only their shape and their
// fixed openings are checked.
enum class Prose { None, Instruction, Garbage, GarbageWithAddress, Report, Diary, Diary2 };

} // namespace

Q_DECLARE_METATYPE(Photo)
Q_DECLARE_METATYPE(Prose)

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kCr = QStringLiteral("\r");
const QString kLf = QStringLiteral("\n");

QString prompt() { return console::kPrompt.toString(); }

// The answer block of every file that opens.
QString opened() { return kCrLf + QStringLiteral(">file open") + kCr; }

QString photoName(Photo photo)
{
    switch (photo) {
    case Photo::Image1: return QStringLiteral("Image1");
    case Photo::Image2: return QStringLiteral("Image2");
    case Photo::Image3: return QStringLiteral("Image3");
    case Photo::Image4: return QStringLiteral("Image4");
    case Photo::None: break;
    }
    return QStringLiteral("none");
}

QStringList onlyPhoto(Photo photo)
{
    return photo == Photo::None ? QStringList{} : QStringList{photoName(photo)};
}

// The photos the console shows, by name.
QStringList shownPhotos(const console::MemoryConsoleView &view)
{
    QStringList names;
    for (Photo photo : {Photo::Image1, Photo::Image2, Photo::Image3, Photo::Image4}) {
        if (view.state.photo(photo))
            names << photoName(photo);
    }
    return names;
}

// A console as it opens: log ">_", empty comment, every photo hidden.
struct Console {
    EventLog events;
    console::MemoryConsoleView view{&events.entries};
    RecordingProcess process{events};
    ConsoleEngine engine{view, process};

    void run(const QStringList &lines)
    {
        for (const QString &line : lines)
            engine.execute(line);
    }
};

struct Snapshot {
    QString log;
    QString comment;
    QStringList photos;
};

Snapshot snapshot(const console::MemoryConsoleView &view) { return {view.state.log, view.state.comment, shownPhotos(view)}; }

// One line the console understands and its whole answer.
struct Command {
    const char *name;
    QString line;
    QString block;
    QString comment;
    Prose prose = Prose::None;
    Photo photo = Photo::None;
    bool endsProgram = false;
};

QString listing(const QStringList &entries) { return kCrLf + entries.join(kCr); }

QList<Command> documentedCommands()
{
    const QString none;
    return {
        {"empty line", QString(), kCrLf + QStringLiteral(">error: command is not incorporated"), none},
        {"help", QStringLiteral("help"),
         kCrLf + QStringLiteral(">command^help") + kCrLf
             + QStringLiteral("command^[command]<[parameter] - syntax to consoles") + kCr
             + QStringLiteral("vie<[cat] - list catalogue") + kCr
             + QStringLiteral("vie<[diec/name_catalogue] - list files") + kCr
             + QStringLiteral("diec<[name_file] - open file") + kCr + QStringLiteral("end<[consol] - close & exit"),
         none},
        {"catalogue list", QStringLiteral("command^vie<cat"),
         listing({QStringLiteral(">[Zuvodu_LNC]"), QStringLiteral(">[Kelmar_Box]"), QStringLiteral(">[System]"),
                  QStringLiteral(">[Tessaranium]"), QStringLiteral(">[Test_world]")}),
         none},
        {"list Kelmar_Box", QStringLiteral("command^vie<diec/Kelmar_Box"),
         listing({QStringLiteral(">-|my_foto.see]"), QStringLiteral(">-|site.world]"),
                  QStringLiteral(">-|diary_book.rea]"), QStringLiteral(">-|diary_book2.rea]")}),
         none},
        {"list Tessaranium", QStringLiteral("command^vie<diec/Tessaranium"),
         listing({QStringLiteral(">-|report_3.rea]"), QStringLiteral(">-|protocol_time.gfi]"),
                  QStringLiteral(">-|protocol_universe.gfi]"), QStringLiteral(">-|foto_stranger.see]")}),
         none},
        {"list Test_world", QStringLiteral("command^vie<diec/Test_world"),
         listing({QStringLiteral(">-|Tessaranium.world]"), QStringLiteral(">-|Tessaranium#tmp_old.world]"),
                  QStringLiteral(">-|temp.fil]")}),
         none},
        {"list System", QStringLiteral("command^vie<diec/System"), listing({QStringLiteral(">-|kill_system.dea]")}),
         none},
        {"list Zuvodu_LNC", QStringLiteral("command^vie<diec/Zuvodu_LNC"),
         listing({QStringLiteral(">-|money.vip]"), QStringLiteral(">-|corp.vip]"),
                  QStringLiteral(">-|foto_command.see]")}),
         none},
        {"open money.vip (locked)", QStringLiteral("command^diec<money.vip"),
         kCrLf + QStringLiteral(">error: file locked") + kCr, none},
        {"open corp.vip", QStringLiteral("command^diec<corp.vip"), opened(), none, Prose::Instruction},
        {"open foto_command.see", QStringLiteral("command^diec<foto_command.see"), opened(), none, Prose::Garbage},
        {"open my_foto.see", QStringLiteral("command^diec<my_foto.see"), opened(),
         QStringLiteral("Commentary to file: это типо я..."), Prose::None, Photo::Image3},
        {"open site.world", QStringLiteral("command^diec<site.world"), opened(), none, Prose::GarbageWithAddress},
        {"open kill_system.dea (refused)", QStringLiteral("command^diec<kill_system.dea"),
         kCrLf + QStringLiteral(">error: You want to destroy the system, You in its wit?") + kCr, none},
        {"open report_3.rea", QStringLiteral("command^diec<report_3.rea"), opened(), none, Prose::Report},
        {"open protocol_universe.gfi", QStringLiteral("command^diec<protocol_universe.gfi"), opened(),
         QStringLiteral("Протокол №23: телепатический контакт с «иными»") + kCrLf
             + QStringLiteral("Commentary to INFO: эволюционная структура Вселенной"),
         Prose::None, Photo::Image1},
        {"open protocol_time.gfi", QStringLiteral("command^diec<protocol_time.gfi"), opened(),
         QStringLiteral("Протокол №478: телепатический контакт с «иными»") + kCrLf
             + QStringLiteral("Commentary to INFO: уравнение временных преобразований"),
         Prose::None, Photo::Image2},
        {"open foto_stranger.see", QStringLiteral("command^diec<foto_stranger.see"), opened(),
         QStringLiteral("Commentary to file: представитель иных..."), Prose::None, Photo::Image4},
        {"open Tessaranium.world", QStringLiteral("command^diec<Tessaranium.world"), opened(),
         QStringLiteral("error: file already open. Presently you are found in world it initialized!")},
        {"open Tessaranium#tmp_old.world", QStringLiteral("command^diec<Tessaranium#tmp_old.world"), opened(),
         QStringLiteral("error: file can be not initialized!")},
        {"open diary_book.rea", QStringLiteral("command^diec<diary_book.rea"), opened(), none, Prose::Diary},
        {"open diary_book2.rea", QStringLiteral("command^diec<diary_book2.rea"), opened(), none, Prose::Diary2},
        {"exit", QStringLiteral("command^end<consol"), opened(), QStringLiteral("Good By!"), Prose::None, Photo::None,
         true},
    };
}

Command documented(const QString &line)
{
    for (const Command &command : documentedCommands()) {
        if (command.line == line)
            return command;
    }
    qFatal("not a documented command line");
}

// --- the prose comments: their shape and fixed openings ---------------------

QString describe(const QString &text)
{
    QString shown;
    for (QChar c : text) {
        if (c.unicode() < 0x20)
            shown += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            shown += c;
    }
    return shown;
}

QString checkInstruction(const QString &text)
{
    const QStringList lines = text.split(kCrLf);
    if (lines.size() != 6)
        return QStringLiteral("expected six lines joined by CR LF, got %1: %2").arg(lines.size()).arg(describe(text));
    const QStringList fixed{
        QStringLiteral("Инструкция№43: Исследовательский центр по связи с иными мирами «Tessaranium»:"),
        QStringLiteral("-провести исследование по связи с «иными»"),
        QStringLiteral("-установить телепатическую связь"),
        QStringLiteral("-за декларировать полученную информацию"),
        QStringLiteral("-доставить ее в центр Zuvodu NCL "),
    };
    for (int i = 0; i < fixed.size(); ++i) {
        if (lines[i] != fixed[i])
            return QStringLiteral("line %1 is \"%2\", expected \"%3\"").arg(i + 1).arg(describe(lines[i]), fixed[i]);
    }
    const QString last = lines[5];
    if (!last.startsWith(QStringLiteral("P.S.: назначить старшим научным сотрудником Кельмара")))
        return QStringLiteral("the last line does not begin with the appointment: ") + describe(last);
    if (last.contains(kCr) || last.contains(kLf))
        return QStringLiteral("the last line holds a stray line break: ") + describe(last);
    return {};
}

QString checkGarbage(const QString &text)
{
    if (text.contains(kCr))
        return QStringLiteral("the garbage holds a CR: ") + describe(text);
    const QStringList lines = text.split(kLf);
    if (lines.size() != 4)
        return QStringLiteral("expected four lines joined by LF, got %1").arg(lines.size());
    const std::array<qsizetype, 4> lengths{52, 36, 76, 46};
    for (int i = 0; i < 4; ++i) {
        if (lines[i].size() != lengths[static_cast<std::size_t>(i)])
            return QStringLiteral("line %1 has %2 characters, expected %3")
                .arg(i + 1)
                .arg(lines[i].size())
                .arg(lengths[static_cast<std::size_t>(i)]);
    }
    bool control = false;
    for (QChar c : text) {
        if (c.unicode() < 0x20 && c != QLatin1Char('\n'))
            control = true;
    }
    if (!control)
        return QStringLiteral("the garbage holds no control character");
    return {};
}

QString garbageOfFotoCommand()
{
    Console console;
    console.engine.execute(QStringLiteral("command^diec<foto_command.see"));
    return console.view.state.comment;
}

QString checkGarbageWithAddress(const QString &text)
{
    const QString garbage = garbageOfFotoCommand();
    const QString garbageError = checkGarbage(garbage);
    if (!garbageError.isEmpty())
        return QStringLiteral("the garbage of foto_command.see is wrong: ") + garbageError;
    if (!text.startsWith(garbage + QLatin1Char(' ')))
        return QStringLiteral("does not begin with the garbage of foto_command.see and a space: ") + describe(text);
    const QString address = text.mid(garbage.size() + 1);
    if (address.isEmpty())
        return QStringLiteral("the web address is missing");
    for (QChar c : address) {
        if (c.isSpace() || c.unicode() < 0x20)
            return QStringLiteral("the web address holds a space or a control character: ") + describe(address);
    }
    if (!address.contains(QLatin1Char('.')))
        return QStringLiteral("\"%1\" does not look like a web address").arg(address);
    return {};
}

QString checkReport(const QString &text)
{
    const qsizetype firstBreak = text.indexOf(kCrLf);
    if (firstBreak < 0)
        return QStringLiteral("no CR LF after the first line: ") + describe(text);
    const QString first = text.left(firstBreak);
    if (!first.startsWith(QStringLiteral("Отчет протокола эксперимента по вступлению в контакт с «иными»")))
        return QStringLiteral("the first line begins wrongly: ") + describe(first);
    if (!first.contains(QStringLiteral("<данные повреждены>")))
        return QStringLiteral("the first line shows no damaged middle: ") + describe(first);
    if (first.contains(kCr) || first.contains(kLf))
        return QStringLiteral("the first line holds a stray line break: ") + describe(first);

    const QString damaged = QStringLiteral("...<данные повреждены>...") + kCrLf;
    QString rest = text.mid(firstBreak + 2);
    if (!rest.startsWith(damaged))
        return QStringLiteral("the second line is not \"...<данные повреждены>...\" + CR LF: ") + describe(rest);
    rest = rest.mid(damaged.size());
    if (rest.contains(kCr))
        return QStringLiteral("the time-stamped part holds a CR: ") + describe(rest);

    const QStringList lines = rest.split(kLf);
    if (lines.size() != 8)
        return QStringLiteral("expected seven stamped lines and a last one joined by LF, got %1: %2")
            .arg(lines.size())
            .arg(describe(rest));
    const QStringList stamps{QStringLiteral("10^14"), QStringLiteral("10^26"), QStringLiteral("10^27"),
                             QStringLiteral("10^29"), QStringLiteral("10^31"), QStringLiteral("10^38"),
                             QStringLiteral("10^47")};
    for (int i = 0; i < stamps.size(); ++i) {
        if (!lines[i].startsWith(stamps[i]))
            return QStringLiteral("stamped line %1 does not begin with %2: %3").arg(i + 1).arg(stamps[i], lines[i]);
    }
    if (lines[7] != QStringLiteral("...<данные данные зашифрованы>... "))
        return QStringLiteral("the last line is \"%1\"").arg(lines[7]);
    return {};
}

QString checkEntries(const QString &text, const QStringList &openings, bool allEncrypted)
{
    if (text.contains(kLf))
        return QStringLiteral("the entries hold an LF: ") + describe(text);
    const QStringList entries = text.split(kCr);
    if (entries.size() != openings.size())
        return QStringLiteral("expected %1 entries joined by a lone CR, got %2: %3")
            .arg(openings.size())
            .arg(entries.size())
            .arg(describe(text));
    for (int i = 0; i < openings.size(); ++i) {
        if (!entries[i].startsWith(openings[i]))
            return QStringLiteral("entry %1 begins wrongly: %2").arg(i + 1).arg(entries[i]);
        if (allEncrypted && !entries[i].endsWith(QStringLiteral("[данные зашифрованы]")))
            return QStringLiteral("entry %1 does not end with [данные зашифрованы]: %2").arg(i + 1).arg(entries[i]);
    }
    return {};
}

QString checkProse(Prose prose, const QString &text)
{
    switch (prose) {
    case Prose::Instruction: return checkInstruction(text);
    case Prose::Garbage: return checkGarbage(text);
    case Prose::GarbageWithAddress: return checkGarbageWithAddress(text);
    case Prose::Report: return checkReport(text);
    case Prose::Diary:
        return checkEntries(text,
                            {QStringLiteral("Запись№32654jfs6: Сегодня провели опыты по контакту с «иными»."),
                             QStringLiteral("Запись№32655jfs6: Во время сегодняшнего контакта с «иными» исчезло 2 "
                                            "сотрудника лаборатории... "),
                             QStringLiteral("Запись№32656jfs6: Начальство Zuvodu NCL устроило полную ревизию...")},
                            false);
    case Prose::Diary2:
        return checkEntries(
            text,
            {QStringLiteral("Запись№32657jfs6: Давно я не делал записей.."),
             QStringLiteral("Запись№326207jfs6: Сегодня были получены первые образцы защитного слоя «Olade».")},
            true);
    case Prose::None: break;
    }
    return QStringLiteral("no prose to check");
}

void addCommandColumns()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("block");
    QTest::addColumn<QString>("comment");
    QTest::addColumn<Prose>("prose");
    QTest::addColumn<Photo>("photo");
    QTest::addColumn<bool>("endsProgram");
    for (const Command &command : documentedCommands()) {
        QTest::newRow(command.name) << command.line << command.block << command.comment << command.prose
                                    << command.photo << command.endsProgram;
    }
}

void verifyComment(const QString &actual, Prose prose, const QString &expected)
{
    if (prose == Prose::None) {
        QCOMPARE(actual, expected);
    } else {
        const QString error = checkProse(prose, actual);
        QVERIFY2(error.isEmpty(), qPrintable(error));
    }
}

} // namespace

class ConsoleCommandsTest : public QObject {
    Q_OBJECT

private slots:
    // --- fidelity -----------------------------------------------------------

    void everyCommandLineAppendsExactlyItsBlockSetsItsCommentAndShowsOnlyItsPhoto_data() { addCommandColumns(); }
    void everyCommandLineAppendsExactlyItsBlockSetsItsCommentAndShowsOnlyItsPhoto()
    {
        QFETCH(QString, line);
        QFETCH(QString, block);
        QFETCH(QString, comment);
        QFETCH(Prose, prose);
        QFETCH(Photo, photo);
        QFETCH(bool, endsProgram);

        Console console;
        console.engine.execute(line);

        QCOMPARE(console.view.state.log, prompt() + block);
        verifyComment(console.view.state.comment, prose, comment);
        QCOMPARE(shownPhotos(console.view), onlyPhoto(photo));
        QCOMPARE(console.process.statuses, endsProgram ? QList<int>{0} : QList<int>{});
    }

    void everyCommandLineReplacesAnEarlierCommentAndHidesEveryOtherPhoto_data() { addCommandColumns(); }
    void everyCommandLineReplacesAnEarlierCommentAndHidesEveryOtherPhoto()
    {
        QFETCH(QString, line);
        QFETCH(QString, block);
        QFETCH(QString, comment);
        QFETCH(Prose, prose);
        QFETCH(Photo, photo);
        QFETCH(bool, endsProgram);

        Console console;
        const QString earlierLog = prompt() + QStringLiteral("\r\n>earlier answer\r");
        console.view.state.log = earlierLog;
        console.view.state.comment = QStringLiteral("an earlier comment");
        for (Photo each : {Photo::Image1, Photo::Image2, Photo::Image3, Photo::Image4})
            console.view.state.photo(each) = true;

        console.engine.execute(line);

        QCOMPARE(console.view.state.log, earlierLog + block);
        verifyComment(console.view.state.comment, prose, comment);
        QCOMPARE(shownPhotos(console.view), onlyPhoto(photo));
        QCOMPARE(console.process.statuses, endsProgram ? QList<int>{0} : QList<int>{});
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

    void theConsoleUnderstandsExactlyTheTwentyThreeDocumentedLinesInTheirOrder()
    {
        QStringList expected;
        for (const Command &command : documentedCommands())
            expected << command.line;
        QStringList actual;
        for (const console::ConsoleCommand &command : console::commandTable())
            actual << command.line.toString();
        QCOMPARE(actual.size(), 23);
        QCOMPARE(actual, expected);
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

        Console console;
        console.view.state.log = prompt() + opened();
        console.view.state.comment = QStringLiteral("Commentary to file: это типо я...");
        console.view.state.photo(Photo::Image3) = true;
        const Snapshot before = snapshot(console.view);

        console.engine.execute(line);

        const Snapshot after = snapshot(console.view);
        QCOMPARE(after.log, before.log);
        QCOMPARE(after.comment, before.comment);
        QCOMPARE(after.photos, before.photos);
        QCOMPARE(console.process.statuses, QList<int>{});
        QVERIFY(ConsoleEngine::find(line) == nullptr);
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
                QTest::addRow("%s then \"%s\"", documented(opening).name, qPrintable(stray)) << opening << stray;
            }
        }
    }
    void aLineThatMatchesNothingKeepsTheCommentAndPhotoOfAnEarlierOpening()
    {
        QFETCH(QString, opening);
        QFETCH(QString, stray);
        const Command expected = documented(opening);

        Console console;
        console.engine.execute(opening);
        const Snapshot before = snapshot(console.view);
        QCOMPARE(before.log, prompt() + opened());
        verifyComment(before.comment, expected.prose, expected.comment);
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
                QTest::addRow("%s then %s", documented(opening).name, documented(listingLine).name)
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

        QCOMPARE(console.view.state.log, prompt() + opened() + documented(listingLine).block);
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
        for (const Command &command : documentedCommands()) {
            if (!command.endsProgram)
                QTest::newRow(command.name) << command.line;
        }
    }
    void aCommandRunTwiceAppendsItsBlockTwice()
    {
        QFETCH(QString, line);
        const Command expected = documented(line);

        Console console;
        console.engine.execute(line);
        const Snapshot once = snapshot(console.view);
        console.engine.execute(line);

        QCOMPARE(console.view.state.log, prompt() + expected.block + expected.block);
        QCOMPARE(console.view.state.comment, once.comment);
        verifyComment(console.view.state.comment, expected.prose, expected.comment);
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
        const Command one = documented(first);
        const Command two = documented(second);

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
        for (const Command &command : documentedCommands()) {
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

        Console console;
        console.view.state.log = prompt() + opened();
        console.view.state.comment = QStringLiteral("Commentary to file: представитель иных...");
        console.view.state.photo(Photo::Image4) = true;
        const Snapshot before = snapshot(console.view);

        console.engine.execute(line);

        const Snapshot after = snapshot(console.view);
        QCOMPARE(after.log, before.log);
        QCOMPARE(after.comment, before.comment);
        QCOMPARE(after.photos, before.photos);
        QCOMPARE(console.process.statuses, QList<int>{});
    }
};

QTEST_GUILESS_MAIN(ConsoleCommandsTest)
#include "console_commands_test.moc"
