#pragma once
// Whatever the player types or clicks: a typist of any Unicode, control
// characters and very long lines, the console's answer to a line, and the
// input a window system delivers.
// 
// Sizes: --console-lines N (100,000 by default), --story-steps N (20,000),
// --seed S. docs/RELIABILITY.md gives the full-size run.
#include "test_game.h"

#include "console/core/command_table.h"
#include "console/core/console_engine.h"
#include "console/core/memory_console_view.h"
#include "console/ui/console_screen.h"
#include "story/core/choice_tables.h"
#include "shell/layout/layout_units.h"
#include "story/core/passwords.h"
#include "story/ui/story_screen.h"

#include "quiet_platform.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QtTest>

#include <array>
#include <memory>
#include <optional>
#include <random>

using console::ConsoleScreen;
using story::StoryScreen;
using story::Flag;
using story::Slot;
using tess::ScreenId;

namespace {

long consoleLines = 100000;
long storySteps = 20000;
std::uint64_t seed = 77;

// ------------------------------------------------------------ random text

class Typist {
public:
    explicit Typist(std::uint64_t seed) : random_(seed) {}

    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
    bool chance(int percent) { return below(100) < percent; }

    // One code unit or pair of any kind a keyboard, a paste or a broken
    // program can bring: ASCII, control characters, Cyrillic, CJK, emoji,
    // marks that turn text around, lone surrogates, NUL and U+FFFD.
    QString character()
    {
        switch (below(10)) {
        case 0: return QString(QChar(char16_t(below(32))));
        case 1: return QString(QChar(char16_t(0x7f + below(0x21))));
        case 2: return QString(QChar(char16_t(0x0400 + below(0x100))));
        case 3: return QString(QChar(char16_t(0x4e00 + below(0x5000))));
        case 4: {
            const char32_t emoji = char32_t(0x1F300 + below(0x300));
            return QString::fromUcs4(&emoji, 1);
        }
        case 5: return QString(QChar(char16_t(0xD800 + below(0x800))));  // a lone surrogate
        case 6: {
            static const char16_t odd[] = {0x200E, 0x200F, 0x202E, 0xFEFF, 0xFFFD, 0xFFFF, 0x0000, 0x0301, 0x00A0, 0x2028};
            return QString(QChar(odd[below(10)]));
        }
        default: return QString(QChar(char16_t(0x20 + below(0x5f))));
        }
    }

    QString line(int maxLength)
    {
        QString text;
        const int length = below(maxLength + 1);
        while (text.size() < length)
            text += character();
        return text;
    }

    // A command line near one the console knows: cut, doubled, changed,
    // in another case or with a line end.
    QString nearMiss(QStringView known)
    {
        QString text = known.toString();
        switch (below(6)) {
        case 0: text.chop(qMin<qsizetype>(text.size(), 1 + below(3))); break;
        case 1: text.insert(below(int(text.size()) + 1), character()); break;
        case 2: if (!text.isEmpty()) text[below(int(text.size()))] = character().at(0); break;
        case 3: text = text.toUpper(); break;
        case 4: text += QStringLiteral("\r\n"); break;
        default: text = QStringLiteral(" ") + text; break;
        }
        return text;
    }

private:
    std::mt19937_64 random_;
};

// The text TestGame puts on each page.
inline QString pageText(int page) { return QStringLiteral("page %1\r\n").arg(page); }

// ------------------------------------------------------------ console

// What the console must do with a line: the first command whose line is
// exactly equal answers; anything else changes nothing.
inline console::ConsoleScreenState expectedAfter(const console::ConsoleScreenState &before, const QString &line, bool *ends)
{
    *ends = false;
    for (const console::ConsoleCommand &command : console::commandTable()) {
        if (line != command.line)
            continue;
        console::ConsoleScreenState after = before;
        after.log += command.block.toString();
        after.comment = command.comment.toString();
        for (std::size_t photo = 1; photo < 5; ++photo)
            after.photos[photo] = photo == std::size_t(command.photo);
        *ends = command.endsProgram;
        return after;
    }
    return before;
}

inline QString describe(const QString &line)
{
    QString shown;
    for (QChar ch : line.left(60))
        shown += ch.isPrint() ? QString(ch) : QStringLiteral("\\u%1").arg(ch.unicode(), 4, 16, QChar(u'0'));
    return shown + (line.size() > 60 ? QStringLiteral("… (%1 characters)").arg(line.size()) : QString());
}

// A line for the console: mostly random, some known, some nearly known,
// now and then 100,000 characters long.
inline QString consoleLine(Typist &typist)
{
    const auto table = console::commandTable();
    const int pick = typist.below(100);
    if (pick < 5)
        return table[std::size_t(typist.below(int(table.size())))].line.toString();
    if (pick < 25)
        return typist.nearMiss(table[std::size_t(typist.below(int(table.size())))].line);
    if (pick == 25 && typist.chance(10))
        return typist.line(100000) + QString(100000, QChar(u'x'));
    return typist.line(80);
}

// Sends a mouse event to whatever lies at the point of the window, as the
// window system would: the topmost visible control there, or the window.
inline void mouseAt(QWidget &window, QEvent::Type type, QPoint point)
{
    QWidget *target = window.childAt(point);
    if (!target)
        target = &window;
    const QPoint local = target->mapFrom(&window, point);
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons buttons = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
    QMouseEvent event(type, local, window.mapToGlobal(point), button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &event);
}

inline void keyTo(QWidget &target, int key, Qt::KeyboardModifiers modifiers, const QString &text, quint32 nativeKey = 0)
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers, 0, nativeKey, 0, text);
    QCoreApplication::sendEvent(&target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, 0, nativeKey, 0, text);
    QCoreApplication::sendEvent(&target, &release);
}

// Types text key by key: letters as their keys, anything else as a key
// event that carries the character, the way an input method delivers it.
inline void typeInto(QWidget &box, const QString &text)
{
    for (char32_t codePoint : text.toUcs4()) {
        if ((codePoint >= u'a' && codePoint <= u'z') || (codePoint >= u'0' && codePoint <= u'9'))
            QTest::keyClick(&box, char(codePoint));
        else
            QTest::sendKeyEvent(QTest::Click, &box, Qt::Key_unknown, QString::fromUcs4(&codePoint, 1), Qt::NoModifier);
    }
}

// Pastes text into a box as a player does: the clipboard, then Ctrl+V.
inline void paste(QWidget &box, const QString &text)
{
    QGuiApplication::clipboard()->setText(text);
    QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
}

inline void clearBox(QWidget &box)
{
    QTest::keyClick(&box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&box, Qt::Key_Delete);
}

// Reads the sizes and the seed, and hands Qt the other arguments.
template <typename Test>
int runHostileInputTest(int argc, char *argv[])
{
    QStringList rest;
    for (int i = 0; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (i + 1 < argc && arg == QStringLiteral("--console-lines"))
            consoleLines = std::atol(argv[++i]);
        else if (i + 1 < argc && arg == QStringLiteral("--story-steps"))
            storySteps = std::atol(argv[++i]);
        else if (i + 1 < argc && arg == QStringLiteral("--seed"))
            seed = std::strtoull(argv[++i], nullptr, 10);
        else
            rest << arg;
    }
    std::vector<QByteArray> kept;
    for (const QString &arg : rest)
        kept.push_back(arg.toLocal8Bit());
    std::vector<char *> args;
    for (QByteArray &arg : kept)
        args.push_back(arg.data());
    int count = int(args.size());
    QApplication app(count, args.data());
    Test test;
    return QTest::qExec(&test, count, args.data());
}

} // namespace
