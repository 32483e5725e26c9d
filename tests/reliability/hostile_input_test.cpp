// Whatever the player types or clicks: any Unicode, control characters and
// lines of 100,000 characters into the console's command line and the story's
// code box; a long random run of command lines through the console; and a
// long random run of clicks, keys and hovers on the real story screen, each
// step checked against a model of the story built from its tables.
//
// Sizes: --console-lines N (100,000 by default), --story-steps N (20,000),
// --seed S. docs/RELIABILITY.md gives the full-size run.
#include "test_game.h"

#include "console/core/command_table.h"
#include "console/core/console_engine.h"
#include "console/core/memory_console_view.h"
#include "console/ui/console_screen.h"
#include "story/core/choice_tables.h"
#include "shell/ui/layout_units.h"
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

// ------------------------------------------------------------ console

// What the console must do with a line: the first command whose line is
// exactly equal answers; anything else changes nothing.
console::ConsoleScreenState expectedAfter(const console::ConsoleScreenState &before, const QString &line, bool *ends)
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

QString describe(const QString &line)
{
    QString shown;
    for (QChar ch : line.left(60))
        shown += ch.isPrint() ? QString(ch) : QStringLiteral("\\u%1").arg(ch.unicode(), 4, 16, QChar(u'0'));
    return shown + (line.size() > 60 ? QStringLiteral("… (%1 characters)").arg(line.size()) : QString());
}

// A line for the console: mostly random, some known, some nearly known,
// now and then 100,000 characters long.
QString consoleLine(Typist &typist)
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

// ------------------------------------------------------------ story model

struct StoryState {
    std::array<QString, 3> captions;
    std::array<bool, 3> shown{true, true, true};
    QString pane;
    std::array<QString, 3> mirrors;  // b, c, bc
    bool codeBox = false;
    // The slots' colours: kLaidOut until the first hover, kAllNormal, or the
    // index of the one slot in the highlight colour.
    int lit = kLaidOut;
    static constexpr int kLaidOut = -2;
    static constexpr int kAllNormal = -1;
    static constexpr int kMixed = -3;
    bool operator==(const StoryState &) const = default;
};

std::size_t indexOf(Slot slot) { return std::size_t(slot); }
std::size_t indexOf(Flag flag) { return std::size_t(flag); }

QString pageText(int page) { return QStringLiteral("page %1\r\n").arg(page); }

// A random walk seldom gets deep into the story on its own; some games start
// along this road to the code box, as far as a random point of it.
const char *const kRoadToTheCodeBox[] = {
    "Подводный мир", "Уйти", "Ответить", "Получить данные", "Закрыть", "Далее", "Виртуал Сити",
    "Войти в главное меню", "Виртуал банк", "104|8", ">Далее", ">>Далее", ">>>Далее", ">>>>Далее", "Планетарий",
    "Ввести код карты: 7183", "Вернуться домой", "Прочесть сообщения", "Закрыть меню контролера", "Остаться",
    "Ехать", "Оторваться", ">>>", "Войти в здание", "1 час", "[киберкресло]", "[HOST#46]", "14 слов",
    "Дом у дороги", "->", "Ехать на Ивин роуч 47", "Нет...",
};

// Where the player's story stands, and what a click on a slot does to it,
// read from the choice tables without the engine.
class StoryModel {
public:
    StoryState state;
    std::array<QByteArray, 3> files{"0\r\n", "0\r\n", "0\r\n"};
    QString password;
    QSet<int> unreadablePages;
    enum class Leaves { No, GameOver, Console } leaves = Leaves::No;
    bool alert = false;

    StoryModel()
    {
        state.captions = {story::kOpening.label2.toString(), story::kOpening.label3.toString(),
                          story::kOpening.label4.toString()};
        state.pane = pageText(story::kOpening.page);
    }

    static QString flagValue(const QByteArray &bytes)
    {
        QString value = QString::fromLatin1(bytes);
        value.remove(u'\r');
        value.remove(u'\n');
        return value;
    }

    void click(Slot slot)
    {
        alert = false;
        const story::ChoiceTable &table = story::gameTables().of(slot);
        for (Flag flag : table.refreshedFlags)
            state.mirrors[indexOf(flag)] = flagValue(files[indexOf(flag)]);
        for (const story::ChoiceRule &rule : table.rules) {
            if (state.captions[indexOf(slot)] != rule.caption)
                continue;
            bool holds = true;
            if (rule.condition.kind == story::Condition::Kind::Flag)
                holds = state.mirrors[indexOf(rule.condition.flag)] == rule.condition.value;
            else if (rule.condition.kind == story::Condition::Kind::Password)
                holds = password == rule.condition.value;
            if (!holds)
                continue;
            if (rule.page != 0 && unreadablePages.contains(rule.page)) {
                alert = true;  // nothing of the rule applies
                return;
            }
            if (rule.page != 0)
                state.pane = pageText(rule.page);
            if (rule.flagWrite.present)
                files[indexOf(rule.flagWrite.flag)] = QByteArray::number(rule.flagWrite.value) + "\r\n";
            const story::SlotChange *changes[] = {&rule.label2, &rule.label3, &rule.label4};
            for (std::size_t i = 0; i < 3; ++i) {
                if (!changes[i]->caption.isNull())
                    state.captions[i] = changes[i]->caption.toString();
                if (changes[i]->visibility != story::Visibility::Unchanged)
                    state.shown[i] = changes[i]->visibility == story::Visibility::Shown;
            }
            if (rule.other == story::Other::ShowPasswordBox)
                state.codeBox = true;
            else if (rule.other == story::Other::GameOver)
                leaves = Leaves::GameOver;
            else if (rule.other == story::Other::OpenConsole)
                leaves = Leaves::Console;
            return;
        }
    }

    void pressF8()
    {
        alert = false;
        if (unreadablePages.contains(story::kFinalPage)) {
            alert = true;
            return;
        }
        state.pane = pageText(story::kFinalPage);
        state.shown = {true, false, false};
        state.captions[0] = story::kFinalCaption.toString();
    }
};

StoryState observe(StoryScreen &screen)
{
    StoryState seen;
    for (Slot slot : {Slot::Label2, Slot::Label3, Slot::Label4}) {
        seen.captions[indexOf(slot)] = screen.caption(slot);
        seen.shown[indexOf(slot)] = screen.isShown(slot);
    }
    seen.pane = screen.Label1.text();
    for (Flag flag : story::kAllFlags)
        seen.mirrors[indexOf(flag)] = screen.mirror(flag);
    seen.codeBox = screen.isPasswordBoxShown();
    const tess::Label *labels[] = {&screen.Label2, &screen.Label3, &screen.Label4};
    int normal = 0, laidOut = 0, highlit = -1, highlights = 0;
    for (int i = 0; i < 3; ++i) {
        const QColor colour = labels[i]->foreground();
        normal += colour == StoryScreen::kNormalColour ? 1 : 0;
        laidOut += colour == tess::layoutColor(0x80000012) ? 1 : 0;
        if (colour == StoryScreen::kHighlightColour) {
            highlit = i;
            ++highlights;
        }
    }
    if (laidOut == 3)
        seen.lit = StoryState::kLaidOut;
    else if (normal == 3)
        seen.lit = StoryState::kAllNormal;
    else if (highlights == 1 && normal == 2)
        seen.lit = highlit;
    else
        seen.lit = StoryState::kMixed;
    return seen;
}

QString describe(const StoryState &state)
{
    QStringList parts;
    for (std::size_t i = 0; i < 3; ++i)
        parts << (state.shown[i] ? state.captions[i] : QStringLiteral("(%1)").arg(state.captions[i]));
    return QStringLiteral("slots %1; pane %2; mirrors b=%3 c=%4 bc=%5; code box %6; lit %7")
        .arg(parts.join(QStringLiteral(" / ")), describe(state.pane), describe(state.mirrors[0]),
             describe(state.mirrors[1]), describe(state.mirrors[2]), state.codeBox ? "shown" : "hidden",
             state.lit == StoryState::kLaidOut     ? QStringLiteral("none yet")
             : state.lit == StoryState::kAllNormal ? QStringLiteral("none")
             : state.lit == StoryState::kMixed     ? QStringLiteral("mixed colours")
                                                   : QString::number(state.lit + 2));
}

// Sends a mouse event to whatever lies at the point of the window, as the
// window system would: the topmost visible control there, or the window.
void mouseAt(QWidget &window, QEvent::Type type, QPoint point)
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

void keyTo(QWidget &target, int key, Qt::KeyboardModifiers modifiers, const QString &text, quint32 nativeKey = 0)
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers, 0, nativeKey, 0, text);
    QCoreApplication::sendEvent(&target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, 0, nativeKey, 0, text);
    QCoreApplication::sendEvent(&target, &release);
}

// A point inside the slot's rectangle, or anywhere in the window.
// `slot` is 0, 1 or 2 for Label2, Label3 or Label4; -1 for anywhere.
QPoint somewhere(Typist &typist, StoryScreen &screen, int slot)
{
    const QRect area = slot == 0   ? screen.Label2.geometry()
                       : slot == 1 ? screen.Label3.geometry()
                       : slot == 2 ? screen.Label4.geometry()
                                   : screen.rect();
    return {area.left() + typist.below(area.width()), area.top() + typist.below(area.height())};
}

// The slot a click at the point lands on, if any.
std::optional<Slot> slotAt(StoryScreen &screen, QPoint point)
{
    const QWidget *target = screen.childAt(point);
    if (target == &screen.Label2)
        return Slot::Label2;
    if (target == &screen.Label3)
        return Slot::Label3;
    if (target == &screen.Label4)
        return Slot::Label4;
    return std::nullopt;
}

// Types text key by key: letters as their keys, anything else as a key
// event that carries the character, the way an input method delivers it.
void typeInto(QWidget &box, const QString &text)
{
    for (char32_t codePoint : text.toUcs4()) {
        if ((codePoint >= u'a' && codePoint <= u'z') || (codePoint >= u'0' && codePoint <= u'9'))
            QTest::keyClick(&box, char(codePoint));
        else
            QTest::sendKeyEvent(QTest::Click, &box, Qt::Key_unknown, QString::fromUcs4(&codePoint, 1), Qt::NoModifier);
    }
}

// Pastes text into a box as a player does: the clipboard, then Ctrl+V.
void paste(QWidget &box, const QString &text)
{
    QGuiApplication::clipboard()->setText(text);
    QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
}

void clearBox(QWidget &box)
{
    QTest::keyClick(&box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&box, Qt::Key_Delete);
}

} // namespace

class HostileInputTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { quietPlatform(); }

    void randomCommandLinesChangeTheConsoleOnlyAsItsTableSays()
    {
        Typist typist(seed);
        console::MemoryConsoleView view;
        EventLog log;
        RecordingProcess process(log);
        console::ConsoleEngine engine(view, process);
        long answered = 0;
        long longest = 0;
        QElapsedTimer clock;
        clock.start();
        for (long i = 0; i < consoleLines; ++i) {
            if (typist.chance(1)) {
                engine.clear();
                QCOMPARE(view.state.log, console::kPrompt.toString());
                continue;
            }
            const QString line = consoleLine(typist);
            longest = qMax<long>(longest, long(line.size()));
            bool ends = false;
            const console::ConsoleScreenState expected = expectedAfter(view.state, line, &ends);
            const qsizetype endsBefore = process.statuses.size();
            engine.execute(line);
            if (!(view.state == expected))
                QFAIL(qPrintable(QStringLiteral("line %1 \"%2\" changed the console as no command says").arg(i).arg(describe(line))));
            QCOMPARE(process.statuses.size(), endsBefore + (ends ? 1 : 0));
            if (console::ConsoleEngine::find(line))
                ++answered;
        }
        QVERIFY(process.statuses.count(0) == process.statuses.size());
        qInfo("%ld command lines (%ld answered, the longest %ld characters) in %lld ms", consoleLines, answered, longest,
              clock.elapsed());
    }

    void theConsolesCommandLineTakesAnyTextAndStillRunsOnlyItsCommands()
    {
        TestGame game;
        game.screens.Show(ScreenId::BLNC);
        auto &blnc = game.screen<ConsoleScreen>(ScreenId::BLNC);
        Typist typist(seed + 1);
        const int lines = 80;
        QElapsedTimer clock;
        clock.start();
        qint64 longestMs = 0;
        for (int i = 0; i < lines; ++i) {
            const qint64 lineStarted = clock.elapsed();
            clearBox(blnc.Text);
            QString line;
            switch (i % 4) {
            case 0: line = typist.line(40); break;
            case 1: line = typist.line(100000) + QString(100000, QChar(u'я')); break;
            case 2: line = console::commandTable()[std::size_t(typist.below(21))].line.toString(); break;
            default: line = typist.nearMiss(console::commandTable()[std::size_t(typist.below(21))].line); break;
            }
            if (typist.chance(50) && line.size() < 200)
                typeInto(blnc.Text, line);
            else
                paste(blnc.Text, line);
            // Whatever the box made of it is the command line the console runs.
            const QString typed = blnc.Text.text();
            QVERIFY(typed.size() <= blnc.Text.maxLength());
            console::ConsoleScreenState before{blnc.log(), blnc.Texcon.text(), {}};
            for (int photo = 1; photo < 5; ++photo)
                before.photos[std::size_t(photo)] = (photo == 1 ? blnc.Image1 : photo == 2 ? blnc.Image2 : photo == 3 ? blnc.Image3 : blnc.Image4).isVisible();
            bool ends = false;
            const console::ConsoleScreenState expected = expectedAfter(before, typed, &ends);
            QTest::mouseClick(&blnc.Label3, Qt::LeftButton);
            TestGame::settle();
            QCOMPARE(blnc.log(), expected.log);
            QCOMPARE(blnc.Texcon.text(), expected.comment);
            for (int photo = 1; photo < 5; ++photo)
                QCOMPARE((photo == 1 ? blnc.Image1 : photo == 2 ? blnc.Image2 : photo == 3 ? blnc.Image3 : blnc.Image4).isVisible(),
                         expected.photos[std::size_t(photo)]);
            if (ends)
                QCOMPARE(game.process.statuses.last(), 0);
            QVERIFY(!blnc.grab().isNull());
            longestMs = qMax(longestMs, clock.elapsed() - lineStarted);
        }
        QVERIFY(game.alerts.messages.isEmpty());
        qInfo("%d typed or pasted command lines in %lld ms, the slowest (a paste of 200,000 characters) %lld ms",
              lines, clock.elapsed(), longestMs);
    }

    void theCodeBoxTakesAnyTextAndOnlyItsTwoPasswordsOpenAnything()
    {
        Typist typist(seed + 2);
        int tried = 0;
        int opened = 0;
        for (int i = 0; i < 40; ++i) {
            TestGame game;
            game.screens.Show(ScreenId::Engine);
            auto &story = game.screen<StoryScreen>(ScreenId::Engine);
            story.setCaption(Slot::Label3, QStringLiteral("Enter parol"));
            story.showPasswordBox();
            const QString pageBefore = story.Label1.text();
            QString line = i % 3 == 0 ? typist.line(100000) + QString(100000, QChar(u'z')) : typist.line(30);
            if (i % 5 == 1)
                line = story::kConsolePassword.toString() + line;  // the password and more
            if (i % 5 == 2)
                line = story::kEndingPassword.toString().toUpper();
            if (typist.chance(50) && line.size() < 200)
                typeInto(story.Text1, line);
            else
                paste(story.Text1, line);
            const QString typed = story.Text1.text();
            QVERIFY(typed.size() <= story.Text1.maxLength());
            QTest::mouseClick(&story.Label3, Qt::LeftButton);
            TestGame::settle();
            ++tried;
            if (typed == story::kConsolePassword) {
                QVERIFY(game.screens.isShown(ScreenId::BLNC));
                ++opened;
            } else if (typed == story::kEndingPassword) {
                QCOMPARE(story.Label1.text(), pageText(story::kFinalPage));
                ++opened;
            } else {
                QCOMPARE(story.Label1.text(), pageBefore);
                QCOMPARE(story.caption(Slot::Label3), QStringLiteral("Enter parol"));
                QVERIFY(!game.screens.isShown(ScreenId::BLNC) && !game.screens.isShown(ScreenId::GameOver));
                QVERIFY(!story.grab().isNull());
            }
        }
        QCOMPARE(tried, 40);
        qInfo("40 code box entries, %d of them a password", opened);
    }

    void aLongRandomRunOfClicksKeysAndHoversFollowsTheStoryTablesAtEveryStep()
    {
        Typist typist(seed + 3);
        std::unique_ptr<TestGame> game;
        StoryScreen *screen = nullptr;
        StoryModel model;
        long clicks = 0, hovers = 0, keys = 0, typed = 0, edits = 0, games = 0, applied = 0;
        QSet<QString> pagesSeen;
        QElapsedTimer clock;
        clock.start();

        QStringList guide;  // captions still to follow before the walk goes its own way
        long guided = 0;
        const auto newGame = [&] {
            screen = nullptr;
            game.reset();
            game = std::make_unique<TestGame>();
            game->screens.Show(ScreenId::Engine);
            screen = &game->screen<StoryScreen>(ScreenId::Engine);
            model = StoryModel();
            ++games;
            guide.clear();
            if (typist.chance(40)) {
                const int whole = int(std::size(kRoadToTheCodeBox));
                const int length = typist.chance(50) ? whole : 1 + typist.below(whole);
                for (int i = 0; i < length; ++i)
                    guide << QString::fromUtf8(kRoadToTheCodeBox[i]);
            }
        };
        newGame();

        for (long step = 0; step < storySteps; ++step) {
            int pick = typist.below(100);
            if (pick >= 88 && pick < 94 && !model.state.codeBox)
                pick = 70;  // no box to type into: the pointer moves instead
            QString did;
            model.alert = false;
            std::optional<Slot> guideSlot;
            if (!guide.isEmpty()) {
                for (Slot slot : {Slot::Label2, Slot::Label3, Slot::Label4}) {
                    if (model.state.shown[indexOf(slot)] && model.state.captions[indexOf(slot)] == guide.first())
                        guideSlot = slot;
                }
                guide.removeFirst();
                if (!guideSlot)
                    guide.clear();  // an edited flag took the road away
            }
            if (guideSlot) {
                const QWidget &label = *std::array<QWidget *, 3>{&screen->Label2, &screen->Label3, &screen->Label4}[indexOf(*guideSlot)];
                const QPoint point = label.geometry().center();
                model.click(*guideSlot);
                mouseAt(*screen, QEvent::MouseButtonPress, point);
                mouseAt(*screen, QEvent::MouseButtonRelease, point);
                TestGame::settle();
                ++guided;
                did = QStringLiteral("guided click on slot %1").arg(int(*guideSlot) + 2);
            } else if (pick < 62) {
                // A click on a slot's place, shown or not, or anywhere.
                const QPoint point = somewhere(typist, *screen, pick < 55 ? typist.below(3) : -1);
                const StoryState before = model.state;
                if (const auto slot = slotAt(*screen, point))
                    model.click(*slot);
                applied += before == model.state && model.leaves == StoryModel::Leaves::No ? 0 : 1;
                mouseAt(*screen, QEvent::MouseButtonPress, point);
                mouseAt(*screen, QEvent::MouseButtonRelease, point);
                TestGame::settle();
                ++clicks;
                did = QStringLiteral("click at %1,%2").arg(point.x()).arg(point.y());
            } else if (pick < 80) {
                const QPoint point = somewhere(typist, *screen, typist.chance(60) ? typist.below(3) : -1);
                QWidget *target = screen->childAt(point);
                mouseAt(*screen, QEvent::MouseMove, point);
                if (!target)
                    model.state.lit = StoryState::kAllNormal;
                else if (target == &screen->Label2)
                    model.state.lit = 0;
                else if (target == &screen->Label3)
                    model.state.lit = 1;
                else if (target == &screen->Label4)
                    model.state.lit = 2;
                ++hovers;
                did = QStringLiteral("move to %1,%2").arg(point.x()).arg(point.y());
            } else if (pick < 82) {
                keyTo(*screen, Qt::Key_F8, Qt::NoModifier, QString(), 0xffc5);
                TestGame::settle();
                model.pressF8();
                ++keys;
                did = QStringLiteral("F8");
            } else if (pick == 82 && typist.chance(25)) {
                keyTo(*screen, Qt::Key_Comma, Qt::KeypadModifier, QStringLiteral(","), 0xffac);
                TestGame::settle();
                model.leaves = StoryModel::Leaves::Console;
                ++keys;
                did = QStringLiteral("the console key");
            } else if (pick < 88) {
                // A key the story does not answer, at the window or the pane.
                keyTo(*screen, Qt::Key_A + typist.below(26), Qt::NoModifier, typist.character());
                keyTo(*screen, Qt::Key_Comma, Qt::NoModifier, QStringLiteral(","));
                TestGame::settle();
                ++keys;
                did = QStringLiteral("a key");
            } else if (pick < 94) {
                // Typing into the code box: a password, something near it, or anything.
                clearBox(screen->Text1);
                const int kind = typist.below(4);
                const QString text = kind == 0   ? story::kConsolePassword.toString()
                                     : kind == 1 ? story::kEndingPassword.toString()
                                     : kind == 2 ? typist.nearMiss(story::kConsolePassword)
                                                 : typist.line(20);
                paste(screen->Text1, text);
                model.password = screen->Text1.text();
                ++typed;
                did = QStringLiteral("typed \"%1\"").arg(describe(text));
            } else if (pick < 98) {
                // Someone edits a flag file between two clicks.
                const Flag flag = Flag(typist.below(3));
                static const QByteArray values[] = {"0\r\n", "1\r\n", "", "2\r\n", "1", "0\r\n0\r\n"};
                const QByteArray value = values[typist.below(6)];
                game->files.content[story::StoryFlags::fileOf(flag)] = value;
                model.files[indexOf(flag)] = value;
                ++edits;
                did = QStringLiteral("flag file %1 edited").arg(story::StoryFlags::fileOf(flag));
            } else {
                // A page goes missing for a while, or comes back.
                const int page = 1 + typist.below(57);
                const QString file = story::StoryEngine::pageFile(page);
                if (model.unreadablePages.contains(page)) {
                    model.unreadablePages.remove(page);
                    game->files.unreadable.remove(file);
                } else {
                    model.unreadablePages.insert(page);
                    game->files.unreadable.insert(file);
                }
                did = QStringLiteral("page %1 %2").arg(page).arg(model.unreadablePages.contains(page) ? "gone" : "back");
            }

            const QString where = QStringLiteral("step %1 (%2)").arg(step).arg(did);
            if (model.leaves != StoryModel::Leaves::No) {
                const ScreenId next = model.leaves == StoryModel::Leaves::Console ? ScreenId::BLNC : ScreenId::GameOver;
                if (!game->screens.isShown(next) || screen->isVisible())
                    QFAIL(qPrintable(where + QStringLiteral(": the story should have given way to the %1").arg(next == ScreenId::BLNC ? "console" : "game over")));
                newGame();
                continue;
            }
            if (game->screens.isShown(ScreenId::BLNC) || game->screens.isShown(ScreenId::GameOver) || !screen->isVisible())
                QFAIL(qPrintable(where + QStringLiteral(": the story left its screen")));
            const StoryState seen = observe(*screen);
            if (!(seen == model.state))
                QFAIL(qPrintable(where + QStringLiteral(":\n  seen     %1\n  expected %2").arg(describe(seen), describe(model.state))));
            for (Flag flag : story::kAllFlags) {
                if (game->flag(flag) != model.files[indexOf(flag)])
                    QFAIL(qPrintable(where + QStringLiteral(": flag file %1 holds \"%2\"").arg(story::StoryFlags::fileOf(flag), describe(QString::fromLatin1(game->flag(flag))))));
            }
            QCOMPARE(game->alerts.messages.isEmpty(), !model.alert);
            game->alerts.messages.clear();
            QVERIFY(game->process.statuses.isEmpty());
            pagesSeen << model.state.pane;
        }
        qInfo("%ld steps in %lld ms: %ld random clicks (%ld changed the story), %ld clicks along the road, %ld hovers, "
              "%ld keys, %ld typed codes, %ld flag edits; %ld games, %lld different pages seen",
              storySteps, clock.elapsed(), clicks, applied, guided, hovers, keys, typed, edits, games,
              qsizetype(pagesSeen.size()));
        // A run this long must get well into the story, not stay on page 1.
        QVERIFY(pagesSeen.size() >= qMin<qsizetype>(20, storySteps / 500));
    }
};

int main(int argc, char *argv[])
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
    HostileInputTest test;
    return QTest::qExec(&test, count, args.data());
}

#include "hostile_input_test.moc"
