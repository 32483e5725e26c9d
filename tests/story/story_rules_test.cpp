// The three choice tables, row by row, written out again from the script of
// the story so that a slip in the game's own tables shows up here.

#include "memory_files.h"
#include "recorders.h"

#include "shell/core/music.h"
#include "shell/core/quiet_services.h"
#include "shell/core/text_loader.h"
#include "story/core/choice_tables.h"
#include "story/core/memory_story_view.h"
#include "story/core/passwords.h"
#include "story/core/story_engine.h"
#include "story/core/story_flags.h"

#include <QtTest>

#include <array>
#include <span>

using story::Flag;
using story::Slot;

namespace {

// ---- The script, in its own words -------------------------------------------

// What a rule does to one slot.
struct After {
    enum Kind { Unchanged, Hidden, Text, Shown } kind = Unchanged;
    QStringView caption;
};
constexpr After unchanged{};
constexpr After hidden{After::Hidden, {}};
constexpr After text(QStringView caption) { return {After::Text, caption}; }
constexpr After shown(QStringView caption) { return {After::Shown, caption}; }

// What must hold besides the caption.
struct Need {
    enum Kind { Nothing, FlagReads, Typed } kind = Nothing;
    Flag flag = Flag::b;
    QStringView value;
};
constexpr Need always{};
constexpr Need flagIs(Flag flag, QStringView value) { return {Need::FlagReads, flag, value}; }
constexpr Need typed(QStringView password) { return {Need::Typed, Flag::b, password}; }
constexpr Need typedEndingPassword = typed(story::kEndingPassword);

struct FlagWrite {
    bool present = false;
    Flag flag = Flag::b;
    const char *bytes = nullptr;
};
constexpr FlagWrite noFlag{};
constexpr FlagWrite sets(Flag flag, const char *bytes) { return {true, flag, bytes}; }

enum Then { nothingElse, passwordBoxShown, gameOverSequence, consoleOpened };

constexpr int noPage = 0;

struct Rule {
    QStringView caption;
    Need need;
    int page = noPage;
    FlagWrite write;
    After label2;
    After label3;
    After label4;
    Then then = nothingElse;
};

constexpr Rule kLabel2Script[] = {
    {u"Виртуальный ресторан", always, 2, noFlag, hidden, text(u"Назад"), hidden, nothingElse},
    {u"Назад", always, 3, noFlag, shown(u"Виртуальный ресторан"), shown(u"Подводный мир"), shown(u"Остров Сокровищ"), nothingElse},
    {u"Подойти к ней", always, 7, noFlag, hidden, shown(u"Покинуть мир"), hidden, nothingElse},
    {u"Посмотреть остальные сообщения", always, 10, noFlag, hidden, shown(u"Получить данные"), shown(u"Закрыть"), nothingElse},
    {u"Виртуал Сити", always, 14, noFlag, hidden, shown(u"Войти в главное меню"), hidden, nothingElse},
    {u"Виртуал банк", flagIs(Flag::b, u"0"), 16, sets(Flag::b, "1\r\n"), shown(u"104|8"), shown(u"100|48"), shown(u"100|4|8"), nothingElse},
    {u"104|8", always, 17, sets(Flag::bc, "1\r\n"), hidden, shown(u"Центр Zuvodu LNC Control"), shown(u">Далее"), nothingElse},
    {u"Ресторан Vibi", always, 19, noFlag, hidden, shown(u"Клуб Elen"), shown(u">>Далее"), nothingElse},
    {u"Музей", always, 21, noFlag, hidden, shown(u"Поднять бумажку"), shown(u">>>Далее"), nothingElse},
    {u"Клиника EnemaLife", always, 19, noFlag, hidden, shown(u"Офис Melisa"), shown(u">>>>Далее"), nothingElse},
    {u"Планетарий", flagIs(Flag::bc, u"1"), 23, noFlag, shown(u"Ввести код карты: 7183"), shown(u"<<<<Назад"), hidden, nothingElse},
    {u"Планетарий", flagIs(Flag::bc, u"0"), 23, noFlag, hidden, shown(u"<<<<Назад"), hidden, nothingElse},
    {u"Ввести код карты: 7183", always, 24, sets(Flag::c, "1\r\n"), hidden, shown(u"Вернуться домой"), shown(u">>>>Далее"), nothingElse},
    {u"дальше>>", always, 27, noFlag, shown(u"Просмотреть сообщения"), hidden, hidden, nothingElse},
    {u"Прочесть сообщения", always, 28, noFlag, shown(u"Закрыть меню контролера"), hidden, hidden, nothingElse},
    {u"Просмотреть сообщения", always, 29, noFlag, shown(u"Закрыть контролер"), hidden, hidden, nothingElse},
    {u"Закрыть меню контролера", always, 30, noFlag, shown(u"Ехать"), shown(u"Остаться"), hidden, nothingElse},
    {u"Закрыть контролер", always, 32, noFlag, shown(u"Ехать"), shown(u"Остаться отдохнуть"), hidden, nothingElse},
    {u"Конец", always, noPage, noFlag, unchanged, unchanged, unchanged, gameOverSequence},
    {u"Ехать", always, 34, noFlag, shown(u"Отстановиться"), shown(u"Оторваться"), hidden, nothingElse},
    {u"Отстановиться", always, 35, noFlag, shown(u"Конец"), hidden, hidden, nothingElse},
    {u">>>", always, 37, noFlag, shown(u"Войти в здание"), hidden, hidden, nothingElse},
    {u"Войти в здание", always, 38, noFlag, shown(u"1 час"), shown(u"11 часов"), shown(u"17 часов"), nothingElse},
    {u"1 час", always, 39, noFlag, shown(u"[киберкресло]"), shown(u"Уйти от сюда"), hidden, nothingElse},
    {u"[киберкресло]", always, 41, noFlag, shown(u"[HOST#46]"), shown(u"[HOST#35]"), shown(u"[HOST#478]"), nothingElse},
    {u">Назад<", always, 43, noFlag, shown(u"[HOST#46]"), shown(u"[HOST#35]"), shown(u"[HOST#478]"), nothingElse},
    {u"[HOST#46]", always, 46, noFlag, shown(u"14 слов"), shown(u"8 слов"), shown(u"10 слов"), nothingElse},
    {u"14 слов", always, 48, noFlag, shown(u"Дом у дороги"), shown(u"Замок"), shown(u"Домик-башня"), nothingElse},
    {u">>Назад<<", always, 49, noFlag, shown(u"Дом у дороги"), shown(u"Замок"), shown(u"Домик-башня"), nothingElse},
    {u"Дом у дороги", always, 51, noFlag, shown(u"->"), hidden, hidden, nothingElse},
    {u"->", always, 52, noFlag, shown(u"Ехать на Ивин роуч 47"), shown(u"Доложить о виртах"), hidden, nothingElse},
    {u"Ехать на Ивин роуч 47", always, 54, noFlag, shown(u"Нет..."), shown(u"Да..."), hidden, nothingElse},
    {u"Нет...", always, 56, noFlag, hidden, shown(u"Enter parol"), hidden, passwordBoxShown},
};

constexpr Rule kLabel3Script[] = {
    {u"Назад", always, 3, noFlag, shown(u"Виртуальный ресторан"), shown(u"Подводный мир"), shown(u"Остров Сокровищ"), nothingElse},
    {u"Остаться еще на полчаса", always, 5, noFlag, text(u"Назад"), hidden, hidden, nothingElse},
    {u"Подводный мир", always, 6, noFlag, text(u"Подойти к ней"), shown(u"Уйти"), hidden, nothingElse},
    {u"Покинуть мир", always, 8, noFlag, hidden, shown(u"Ответить"), hidden, nothingElse},
    {u"Уйти", always, 8, noFlag, hidden, shown(u"Ответить"), hidden, nothingElse},
    {u"Ответить", always, 9, noFlag, shown(u"Посмотреть остальные сообщения"), shown(u"Получить данные"), shown(u"Закрыть"), nothingElse},
    {u"Получить данные", always, 11, noFlag, hidden, hidden, shown(u"Закрыть"), nothingElse},
    {u"Далее", always, 13, noFlag, shown(u"Виртуал Сити"), hidden, hidden, nothingElse},
    {u"Войти в главное меню", always, 15, noFlag, shown(u"Виртуал банк"), shown(u"Центр Zuvodu LNC Control"), shown(u">Далее"), nothingElse},
    {u"<<<<Назад", always, 15, noFlag, shown(u"Виртуал банк"), shown(u"Центр Zuvodu LNC Control"), shown(u">Далее"), nothingElse},
    {u"100|48", always, 18, noFlag, hidden, shown(u"Центр Zuvodu LNC Control"), shown(u">>Далее"), nothingElse},
    {u"Центр Zuvodu LNC Control", always, 19, noFlag, hidden, shown(u"Центр Zuvodu LNC Control"), shown(u">>Далее"), nothingElse},
    {u"Клуб Elen", flagIs(Flag::c, u"0"), 20, noFlag, shown(u"Ресторан Vibi"), hidden, shown(u">>>Далее"), nothingElse},
    {u"Клуб Elen", flagIs(Flag::c, u"1"), 20, noFlag, shown(u"Ресторан Vibi"), shown(u"Ввести код доступа: 8859"), shown(u">>Далее"), nothingElse},
    {u"Поднять бумажку", always, 22, noFlag, shown(u"Музей"), hidden, shown(u">>>>Далее"), nothingElse},
    {u"Парк юрского периода", always, 19, noFlag, hidden, shown(u"Парк юрского периода"), shown(u">>>>Далее"), nothingElse},
    {u"Офис Melisa", always, 19, noFlag, shown(u"Клиника EnemaLife"), hidden, shown(u">>>>Далее"), nothingElse},
    {u"Ввести код доступа: 8859", always, 25, noFlag, shown(u"дальше>>"), hidden, hidden, nothingElse},
    {u"Вернуться домой", always, 26, noFlag, shown(u"Прочесть сообщения"), hidden, hidden, nothingElse},
    {u"Остаться", always, 31, noFlag, shown(u"Ехать"), hidden, hidden, nothingElse},
    {u"Остаться отдохнуть", always, 33, noFlag, shown(u"Конец"), hidden, hidden, nothingElse},
    {u"Оторваться", always, 36, noFlag, shown(u">>>"), hidden, hidden, nothingElse},
    {u"11 часов", always, noPage, noFlag, unchanged, unchanged, unchanged, gameOverSequence},
    {u"Уйти от сюда", always, 40, noFlag, shown(u"Конец"), hidden, hidden, nothingElse},
    {u"[HOST#35]", always, 42, noFlag, shown(u">Назад<"), hidden, hidden, nothingElse},
    {u"Поднять", always, 45, noFlag, shown(u"Конец"), hidden, hidden, nothingElse},
    {u"8 слов", always, 47, noFlag, shown(u"Конец"), hidden, hidden, nothingElse},
    {u"Замок", always, 42, noFlag, shown(u">>Назад<<"), hidden, hidden, nothingElse},
    {u"Доложить о виртах", always, 53, noFlag, shown(u"Конец"), hidden, hidden, nothingElse},
    {u"Да...", always, 55, noFlag, shown(u"Конец"), hidden, hidden, nothingElse},
    {u"Enter parol", typedEndingPassword, 57, noFlag, hidden, shown(u"Конец"), hidden, nothingElse},
    {u"Enter parol", typed(u"zolv"), noPage, noFlag, unchanged, unchanged, unchanged, consoleOpened},
    {u"Конец", always, noPage, noFlag, unchanged, unchanged, unchanged, gameOverSequence},
};

constexpr Rule kLabel4Script[] = {
    {u"Остров Сокровищ", always, 4, noFlag, text(u"Назад"), text(u"Остаться еще на полчаса"), hidden, nothingElse},
    {u"Закрыть", always, 12, noFlag, hidden, shown(u"Далее"), hidden, nothingElse},
    {u">Далее", always, 15, noFlag, shown(u"Ресторан Vibi"), shown(u"Клуб Elen"), shown(u">>Далее"), nothingElse},
    {u">>Далее", always, 15, noFlag, shown(u"Музей"), shown(u"Парк юрского периода"), shown(u">>>Далее"), nothingElse},
    {u">>>Далее", always, 15, noFlag, shown(u"Клиника EnemaLife"), shown(u"Офис Melisa"), shown(u">>>>Далее"), nothingElse},
    {u">>>>Далее", always, 15, noFlag, shown(u"Планетарий"), shown(u"<<<<Назад"), hidden, nothingElse},
    {u"100|4|8", always, 18, noFlag, hidden, shown(u"Центр Zuvodu LNC Control"), shown(u">Далее"), nothingElse},
    {u"17 часов", always, noPage, noFlag, unchanged, unchanged, unchanged, gameOverSequence},
    {u"[HOST#478]", always, 44, noFlag, shown(u">Назад<"), shown(u"Поднять"), hidden, nothingElse},
    {u"10 слов", always, 47, noFlag, shown(u"Конец"), hidden, hidden, nothingElse},
    {u"Домик-башня", always, 50, noFlag, shown(u"Конец"), hidden, hidden, nothingElse},
};

std::span<const Rule> scriptOf(Slot slot)
{
    switch (slot) {
    case Slot::Label2:
        return kLabel2Script;
    case Slot::Label3:
        return kLabel3Script;
    case Slot::Label4:
        return kLabel4Script;
    }
    Q_UNREACHABLE();
}

// The flags a click on the slot re-reads before it looks at the caption.
QList<Flag> refreshedBy(Slot slot)
{
    switch (slot) {
    case Slot::Label2:
        return {Flag::c, Flag::b, Flag::bc};
    case Slot::Label3:
        return {Flag::c};
    case Slot::Label4:
        return {};
    }
    Q_UNREACHABLE();
}

constexpr std::array kSlots{Slot::Label2, Slot::Label3, Slot::Label4};

// A flag file's bytes and the text its mirror reads from them.
struct FlagFile {
    QByteArray bytes;
    QString readsAs;
};
const FlagFile kZero{"0\r\n", QStringLiteral("0")};
const FlagFile kOne{"1\r\n", QStringLiteral("1")};
const FlagFile kEmpty{"", QString()};
const FlagFile kZeroThenOne{"0\r\n1\r\n", QStringLiteral("01")};
const FlagFile kSpaceOne{" 1\r\n", QStringLiteral(" 1")};

QString slotName(Slot slot)
{
    return QStringLiteral("Label%1").arg(int(slot) + 2);
}

QString flagName(Flag flag)
{
    switch (flag) {
    case Flag::b:
        return QStringLiteral("b");
    case Flag::c:
        return QStringLiteral("c");
    case Flag::bc:
        return QStringLiteral("bc");
    }
    Q_UNREACHABLE();
}

QString sentinelOf(Slot slot)
{
    return QStringLiteral("(%1 as before)").arg(slotName(slot));
}

const QString kPaneBefore = QStringLiteral("pane before\r\n");
const QString kStale = QStringLiteral("stale");
const QString kCloseStoryMusic = QStringLiteral("close sound\\trackgp.mp3");

QString pageText(int page)
{
    return QStringLiteral("page %1\r\n").arg(page);
}

QString visible(const QString &text)
{
    QString escaped = text;
    return escaped.replace(u'\r', QStringLiteral("\\r")).replace(u'\n', QStringLiteral("\\n"));
}

// ---- The story screen in memory -----------------------------------------------

// Music commands go into the same log as the screen switches, so their order
// against each other can be checked.
class MusicIntoScreenLog final : public tess::Music {
public:
    explicit MusicIntoScreenLog(story::MemoryStoryView &view) : view_(view) {}
    void send(const QString &command) override { view_.journal << command; }

private:
    story::MemoryStoryView &view_;
};

// Everything a click may change, as readable lines.
struct StoryState {
    QString pane;
    QMap<Slot, story::ChoiceSlotState> choices;
    QMap<Flag, QByteArray> flagFiles;
    QMap<Flag, QString> mirrors;
    int flagWrites = 0;
    bool passwordBox = false;
    QString typed;
    QStringList screensAndMusic;
    QStringList alerts;

    QStringList lines() const
    {
        QStringList out;
        out << QStringLiteral("pane: «%1»").arg(visible(pane));
        for (Slot slot : kSlots) {
            const auto &state = choices.value(slot);
            out << QStringLiteral("%1: «%2» %3").arg(slotName(slot), state.caption,
                                                    state.shown ? QStringLiteral("shown") : QStringLiteral("hidden"));
        }
        for (Flag flag : story::kAllFlags) {
            out << QStringLiteral("%1: «%2»").arg(story::StoryFlags::fileOf(flag),
                                                  visible(QString::fromLatin1(flagFiles.value(flag))));
            out << QStringLiteral("mirror of %1: «%2»").arg(flagName(flag), mirrors.value(flag));
        }
        out << QStringLiteral("flag files written: %1").arg(flagWrites);
        out << QStringLiteral("password box: %1, holding «%2»")
                   .arg(passwordBox ? QStringLiteral("shown") : QStringLiteral("hidden"), typed);
        out << QStringLiteral("screens and music: %1").arg(screensAndMusic.join(QStringLiteral(" → ")));
        out << QStringLiteral("alerts: %1").arg(alerts.join(QStringLiteral(" | ")));
        return out;
    }
};

// The lines where the two states differ, each with both values.
QString differences(const StoryState &actual, const StoryState &expected)
{
    const QStringList got = actual.lines();
    const QStringList want = expected.lines();
    QStringList out;
    for (qsizetype i = 0; i < want.size(); ++i) {
        if (got.value(i) != want.at(i))
            out << QStringLiteral("\n   got      %1\n   expected %2").arg(got.value(i), want.at(i));
    }
    return out.join(QString());
}

struct StoryScreen {
    MemoryFiles files;
    tess::QuietPump pump;
    tess::TextLoader loader{files, pump};
    story::StoryFlags flags{files};
    story::MemoryStoryView view;
    MusicIntoScreenLog music{view};
    RecordingAlerts alerts;
    story::StoryEngine engine{view, loader, flags, music, alerts, story::gameTables()};

    // Every page on file, every flag "0", stale mirrors, a page already shown;
    // the clicked slot carries `caption`, the others a caption of their own.
    StoryScreen(Slot clicked, const QString &caption, bool slotsShown)
    {
        for (int page = 1; page <= 57; ++page)
            files.content[story::StoryEngine::pageFile(page)] = pageText(page).toLatin1();
        for (Flag flag : story::kAllFlags) {
            setFlag(flag, kZero);
            view.state.mirror(flag) = kStale;
        }
        view.state.pane = kPaneBefore;
        for (Slot slot : kSlots)
            view.state.choice(slot) = {slot == clicked ? caption : sentinelOf(slot), slotsShown};
    }

    void setFlag(Flag flag, const FlagFile &file) { files.content[story::StoryFlags::fileOf(flag)] = file.bytes; }

    void typePassword(const QString &password)
    {
        view.state.codeBoxShown = true;
        view.state.codeBoxText = password;
    }

    // Makes the rule's own condition hold.
    void meet(const Need &need)
    {
        if (need.kind == Need::FlagReads)
            setFlag(need.flag, need.value == u"1" ? kOne : kZero);
        else if (need.kind == Need::Typed)
            typePassword(need.value.toString());
    }

    StoryState state() const
    {
        StoryState s;
        s.pane = view.state.pane;
        for (Slot slot : kSlots)
            s.choices[slot] = view.state.choice(slot);
        for (Flag flag : story::kAllFlags) {
            s.flagFiles[flag] = files.content.value(story::StoryFlags::fileOf(flag));
            s.mirrors[flag] = view.state.mirror(flag);
        }
        s.flagWrites = files.writes;
        s.passwordBox = view.state.codeBoxShown;
        s.typed = view.state.codeBoxText;
        s.screensAndMusic = view.journal;
        s.alerts = alerts.messages;
        return s;
    }

    // The state a click on `slot` leaves when no rule holds: only the mirrors
    // the slot re-reads are new.
    StoryState refreshedOnly(Slot slot, const QMap<Flag, FlagFile> &onFile) const
    {
        StoryState s = state();
        for (Flag flag : refreshedBy(slot))
            s.mirrors[flag] = onFile.value(flag).readsAs;
        return s;
    }
};

void change(story::ChoiceSlotState &slot, const After &after)
{
    switch (after.kind) {
    case After::Unchanged:
        break;
    case After::Hidden:
        slot.shown = false;
        break;
    case After::Text:
        slot.caption = after.caption.toString();
        break;
    case After::Shown:
        slot.caption = after.caption.toString();
        slot.shown = true;
        break;
    }
}

QString needText(const Need &need)
{
    switch (need.kind) {
    case Need::Nothing:
        return {};
    case Need::FlagReads:
        return QStringLiteral(" with %1=%2").arg(flagName(need.flag), need.value);
    case Need::Typed:
        return QStringLiteral(" with «%1» typed").arg(need.value);
    }
    Q_UNREACHABLE();
}

QString ruleName(Slot slot, QStringView caption, const QString &condition)
{
    return QStringLiteral("%1 «%2»%3").arg(slotName(slot), caption, condition);
}

QMap<Flag, FlagFile> flagFiles(const FlagFile &b, const FlagFile &c, const FlagFile &bc)
{
    return {{Flag::b, b}, {Flag::c, c}, {Flag::bc, bc}};
}

// A click that no rule answers, with the flag files and typed text it meets.
struct Unanswered {
    Slot slot = Slot::Label2;
    QString caption;
    QMap<Flag, FlagFile> onFile;
    QString typed;
};

} // namespace

Q_DECLARE_METATYPE(Rule)
Q_DECLARE_METATYPE(Unanswered)
Q_DECLARE_METATYPE(story::Slot)

class StoryRulesTest : public QObject {
    Q_OBJECT

private slots:
    void everyRuleGivesItsPageFlagSlotsAndScreens_data()
    {
        QTest::addColumn<Slot>("slot");
        QTest::addColumn<Rule>("rule");
        QTest::addColumn<bool>("slotsShownBefore");
        for (Slot slot : kSlots) {
            for (const Rule &rule : scriptOf(slot)) {
                const QString name = ruleName(slot, rule.caption, needText(rule.need));
                QTest::addRow("%s, slots shown before", qUtf8Printable(name)) << slot << rule << true;
                QTest::addRow("%s, slots hidden before", qUtf8Printable(name)) << slot << rule << false;
            }
        }
    }

    void everyRuleGivesItsPageFlagSlotsAndScreens()
    {
        QFETCH(Slot, slot);
        QFETCH(Rule, rule);
        QFETCH(bool, slotsShownBefore);

        StoryScreen screen(slot, rule.caption.toString(), slotsShownBefore);
        screen.meet(rule.need);
        StoryState expected = screen.state();

        for (Flag flag : refreshedBy(slot))
            expected.mirrors[flag] = QString::fromLatin1(expected.flagFiles.value(flag)).chopped(2);
        if (rule.page != noPage)
            expected.pane = pageText(rule.page);
        if (rule.write.present) {
            expected.flagFiles[rule.write.flag] = rule.write.bytes;
            expected.flagWrites = 1;
        }
        change(expected.choices[Slot::Label2], rule.label2);
        change(expected.choices[Slot::Label3], rule.label3);
        change(expected.choices[Slot::Label4], rule.label4);
        switch (rule.then) {
        case nothingElse:
            break;
        case passwordBoxShown:
            expected.passwordBox = true;
            break;
        case gameOverSequence:
            // The switch is made once before the music is closed and once
            // more after it, whatever happened in between.
            expected.screensAndMusic = {QStringLiteral("hide story"), QStringLiteral("show game over"),
                                        kCloseStoryMusic, QStringLiteral("hide story"),
                                        QStringLiteral("show game over")};
            break;
        case consoleOpened:
            expected.screensAndMusic = {QStringLiteral("hide story"), QStringLiteral("show console")};
            break;
        }

        screen.engine.click(slot);

        const QString diff = differences(screen.state(), expected);
        QVERIFY2(diff.isEmpty(), qUtf8Printable(diff));
    }

    void aConditionThatDoesNotHoldLeavesAllButTheMirrorsAlone_data()
    {
        QTest::addColumn<Unanswered>("click");
        const auto row = [](Slot slot, const QString &caption, const QString &condition,
                            const QMap<Flag, FlagFile> &onFile, const QString &typed = {}) {
            QTest::addRow("%s", qUtf8Printable(ruleName(slot, caption, condition)))
                << Unanswered{slot, caption, onFile, typed};
        };
        const QString bank = QStringLiteral("Виртуал банк");
        const QString planetarium = QStringLiteral("Планетарий");
        const QString club = QStringLiteral("Клуб Elen");
        const QString enterParol = QStringLiteral("Enter parol");
        row(Slot::Label2, bank, QStringLiteral(" with b=1"), flagFiles(kOne, kZero, kZero));
        row(Slot::Label2, bank, QStringLiteral(" with b empty"), flagFiles(kEmpty, kZero, kZero));
        row(Slot::Label2, bank, QStringLiteral(" with b=« 1»"), flagFiles(kSpaceOne, kZero, kZero));
        row(Slot::Label2, planetarium, QStringLiteral(" with bc empty"), flagFiles(kZero, kZero, kEmpty));
        row(Slot::Label2, planetarium, QStringLiteral(" with bc=«01»"), flagFiles(kZero, kZero, kZeroThenOne));
        row(Slot::Label2, planetarium, QStringLiteral(" with bc=« 1»"), flagFiles(kZero, kZero, kSpaceOne));
        row(Slot::Label3, club, QStringLiteral(" with c empty"), flagFiles(kZero, kEmpty, kZero));
        row(Slot::Label3, club, QStringLiteral(" with c=«01»"), flagFiles(kZero, kZeroThenOne, kZero));
        const auto allZero = flagFiles(kZero, kZero, kZero);
        row(Slot::Label3, enterParol, QStringLiteral(" with «Zolv» typed"), allZero, QStringLiteral("Zolv"));
        row(Slot::Label3, enterParol, QStringLiteral(" with «zolv » typed"), allZero, QStringLiteral("zolv "));
        row(Slot::Label3, enterParol, QStringLiteral(" with nothing typed"), allZero, QString());
        const QString ending = story::kEndingPassword.toString();
        row(Slot::Label3, enterParol, QStringLiteral(" with the ending password in capitals typed"), allZero,
            ending.toUpper());
        row(Slot::Label3, enterParol, QStringLiteral(" with the ending password and a space typed"), allZero,
            ending + u' ');
    }

    void aConditionThatDoesNotHoldLeavesAllButTheMirrorsAlone() { clickChangesOnlyTheMirrors(); }

    void aCaptionDifferingByCaseOrTrailingSpaceMatchesNothing_data()
    {
        QTest::addColumn<Unanswered>("click");
        for (Slot slot : kSlots) {
            for (const Rule &rule : scriptOf(slot)) {
                // The rule's own condition holds: only the caption is off.
                QMap<Flag, FlagFile> onFile = flagFiles(kZero, kZero, kZero);
                QString typedText;
                if (rule.need.kind == Need::FlagReads)
                    onFile[rule.need.flag] = rule.need.value == u"1" ? kOne : kZero;
                if (rule.need.kind == Need::Typed)
                    typedText = rule.need.value.toString();
                const QString caption = rule.caption.toString();
                QString otherCase = caption.toUpper();
                if (otherCase == caption)
                    otherCase = caption.toLower();
                if (otherCase != caption) {
                    QTest::addRow("%s", qUtf8Printable(ruleName(slot, otherCase, needText(rule.need))))
                        << Unanswered{slot, otherCase, onFile, typedText};
                }
                const QString spaced = caption + u' ';
                QTest::addRow("%s", qUtf8Printable(ruleName(slot, spaced, needText(rule.need))))
                    << Unanswered{slot, spaced, onFile, typedText};
            }
        }
    }

    void aCaptionDifferingByCaseOrTrailingSpaceMatchesNothing() { clickChangesOnlyTheMirrors(); }

    void label2RereadsAllThreeFlagsLabel3OnlyCLabel4None_data()
    {
        QTest::addColumn<Slot>("slot");
        for (Slot slot : kSlots)
            QTest::addRow("%s", qUtf8Printable(slotName(slot))) << slot;
    }

    // Three different values on file, so each mirror shows whether its own
    // file was read.
    void label2RereadsAllThreeFlagsLabel3OnlyCLabel4None()
    {
        QFETCH(Slot, slot);
        StoryScreen screen(slot, QStringLiteral("no such choice"), true);
        screen.setFlag(Flag::b, kOne);
        screen.setFlag(Flag::c, kZeroThenOne);
        screen.setFlag(Flag::bc, kEmpty);

        screen.engine.click(slot);

        const QMap<Flag, QString> label2{{Flag::b, QStringLiteral("1")}, {Flag::c, QStringLiteral("01")}, {Flag::bc, QString()}};
        const QMap<Flag, QString> label3{{Flag::b, kStale}, {Flag::c, QStringLiteral("01")}, {Flag::bc, kStale}};
        const QMap<Flag, QString> label4{{Flag::b, kStale}, {Flag::c, kStale}, {Flag::bc, kStale}};
        const QMap<Slot, QMap<Flag, QString>> expected{{Slot::Label2, label2}, {Slot::Label3, label3}, {Slot::Label4, label4}};
        QCOMPARE(screen.state().mirrors, expected.value(slot));
    }

    void label4RulesApplyWithNoFlagFileAtAll()
    {
        StoryScreen screen(Slot::Label4, QStringLiteral(">Далее"), true);
        for (Flag flag : story::kAllFlags)
            screen.files.content.remove(story::StoryFlags::fileOf(flag));

        screen.engine.click(Slot::Label4);

        QCOMPARE(screen.view.state.pane, pageText(15));
        QCOMPARE(screen.view.state.choice(Slot::Label4).caption, QStringLiteral(">>Далее"));
        QVERIFY(screen.alerts.messages.isEmpty());
    }

    void theEndingPasswordIsTwoLowercaseLatinLetters()
    {
        const QString ending = story::kEndingPassword.toString();
        QCOMPARE(ending.size(), 2);
        for (QChar letter : ending)
            QVERIFY2(letter >= u'a' && letter <= u'z', qUtf8Printable(ending));
    }

private:
    static void clickChangesOnlyTheMirrors()
    {
        QFETCH(Unanswered, click);
        StoryScreen screen(click.slot, click.caption, true);
        for (Flag flag : story::kAllFlags)
            screen.setFlag(flag, click.onFile.value(flag));
        screen.typePassword(click.typed);
        const StoryState expected = screen.refreshedOnly(click.slot, click.onFile);

        screen.engine.click(click.slot);

        const QString diff = differences(screen.state(), expected);
        QVERIFY2(diff.isEmpty(), qUtf8Printable(diff));
    }
};

QTEST_GUILESS_MAIN(StoryRulesTest)
#include "story_rules_test.moc"
