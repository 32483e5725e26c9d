#pragma once
// The console's commands as the product's table states them, what the engine
// must do with each, and the few texts a player relies on checked on their own:
// the shapes and fixed openings of the files' long comments.
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

inline QString prompt() { return console::kPrompt.toString(); }

// The answer block of every file that opens.
inline QString opened() { return kCrLf + QStringLiteral(">file open") + kCr; }

inline QString photoName(Photo photo)
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

inline QStringList onlyPhoto(Photo photo)
{
    return photo == Photo::None ? QStringList{} : QStringList{photoName(photo)};
}

// The photos the console shows, by name.
inline QStringList shownPhotos(const console::MemoryConsoleView &view)
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

inline Snapshot snapshot(const console::MemoryConsoleView &view) { return {view.state.log, view.state.comment, shownPhotos(view)}; }

// One command of the product's table as the console finds it: the first row
// with its line.
struct Command {
    QByteArray name;  // for test rows
    QString line;
    QString block;
    QString comment;
    Photo photo = Photo::None;
    bool endsProgram = false;
};

inline QList<Command> tableCommands()
{
    QList<Command> commands;
    for (const console::ConsoleCommand &row : console::commandTable()) {
        const console::ConsoleCommand &first = *ConsoleEngine::find(row.line.toString());
        commands.append({row.line.isEmpty() ? QByteArray("empty line") : row.line.toUtf8(), row.line.toString(),
                         first.block.toString(), first.comment.toString(), first.photo, first.endsProgram});
    }
    return commands;
}

inline Command tableCommand(const QString &line)
{
    for (const Command &command : tableCommands()) {
        if (command.line == line)
            return command;
    }
    qFatal("not a command line of the table");
}

// --- the prose comments: their shape and fixed openings ---------------------

inline QString describe(const QString &text)
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

inline QString checkInstruction(const QString &text)
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

inline QString checkGarbage(const QString &text)
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

inline QString garbageOfFotoCommand()
{
    Console console;
    console.engine.execute(QStringLiteral("command^diec<foto_command.see"));
    return console.view.state.comment;
}

inline QString checkGarbageWithAddress(const QString &text)
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

inline QString checkReport(const QString &text)
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

inline QString checkEntries(const QString &text, const QStringList &openings, bool allEncrypted)
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

inline QString checkProse(Prose prose, const QString &text)
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

// Runs a line on a console that shows an opened file, a comment and a
// photo: the line must change nothing and end nothing.
inline void verifyChangesNothing(const QString &line, const QString &comment, Photo photo)
{
    Console console;
    console.view.state.log = prompt() + opened();
    console.view.state.comment = comment;
    console.view.state.photo(photo) = true;
    const Snapshot before = snapshot(console.view);

    QVERIFY(!console.engine.execute(line));

    const Snapshot after = snapshot(console.view);
    QCOMPARE(after.log, before.log);
    QCOMPARE(after.comment, before.comment);
    QCOMPARE(after.photos, before.photos);
    QCOMPARE(console.process.statuses, QList<int>{});
}

} // namespace
