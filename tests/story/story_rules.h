#pragma once
// The story screen in memory, for the tests that check the three choice tables
// row by row against the script written out again in story_script.h.
#include "story_script.h"

#include "memory_files.h"
#include "recorders.h"

#include "shell/core/music.h"
#include "story/core/choice_tables.h"
#include "story/core/headless_story.h"
#include "story/core/story_engine.h"
#include "story/core/story_flags.h"

#include <QtTest>

namespace {

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

inline QString slotName(Slot slot)
{
    return QStringLiteral("Label%1").arg(int(slot) + 2);
}

inline QString flagName(Flag flag)
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

inline QString sentinelOf(Slot slot)
{
    return QStringLiteral("(%1 as before)").arg(slotName(slot));
}

const QString kPaneBefore = QStringLiteral("pane before\r\n");
const QString kStale = QStringLiteral("stale");
const QString kCloseStoryMusic = QStringLiteral("close sound\\trackgp.mp3");

inline QString pageText(int page)
{
    return QStringLiteral("page %1\r\n").arg(page);
}

inline QString visible(const QString &text)
{
    QString escaped = text;
    return escaped.replace(u'\r', QStringLiteral("\\r")).replace(u'\n', QStringLiteral("\\n"));
}

// ---- The story screen in memory -----------------------------------------------

// Music commands go into the same log as the screen switches, so their order
// against each other can be checked.
class MusicIntoScreenLog final : public tess::Music {
public:
    QStringList *journal = nullptr;
    void send(const QString &command) override { *journal << command; }
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
inline QString differences(const StoryState &actual, const StoryState &expected)
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
    MusicIntoScreenLog music;
    RecordingAlerts alerts;
    story::HeadlessStory headless{files, story::gameTables(), &music, &alerts};
    story::StoryEngine &engine = headless.engine();

    // Every page on file, every flag "0", stale mirrors, a page already shown;
    // the clicked slot carries `caption`, the others a caption of their own.
    StoryScreen(Slot clicked, const QString &caption, bool slotsShown)
    {
        for (int page = 1; page <= story::pageCount(story::gameTables()); ++page)
            files.content[story::StoryEngine::pageFile(page)] = pageText(page).toLatin1();
        music.journal = &headless.journal();
        story::StoryScreenState before;
        for (Flag flag : story::kAllFlags) {
            setFlag(flag, kZero);
            before.mirror(flag) = kStale;
        }
        before.pane = kPaneBefore;
        for (Slot slot : kSlots)
            before.choice(slot) = {slot == clicked ? caption : sentinelOf(slot), slotsShown};
        engine.restore(before);
    }

    void setFlag(Flag flag, const FlagFile &file) { files.content[story::StoryFlags::fileOf(flag)] = file.bytes; }

    void typePassword(const QString &password)
    {
        story::StoryScreenState typed = engine.state();
        typed.codeBoxShown = true;
        engine.restore(typed);
        engine.setCodeBoxText(password);
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
        const story::StoryScreenState &now = engine.state();
        s.pane = now.pane;
        for (Slot slot : kSlots)
            s.choices[slot] = now.choice(slot);
        for (Flag flag : story::kAllFlags) {
            s.flagFiles[flag] = files.content.value(story::StoryFlags::fileOf(flag));
            s.mirrors[flag] = now.mirror(flag);
        }
        s.flagWrites = files.writes;
        s.passwordBox = now.codeBoxShown;
        s.typed = now.codeBoxText;
        s.screensAndMusic = headless.journal();
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

inline void change(story::ChoiceSlotState &slot, const After &after)
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

inline QString needText(const Need &need)
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

inline QString ruleName(Slot slot, QStringView caption, const QString &condition)
{
    return QStringLiteral("%1 «%2»%3").arg(slotName(slot), caption, condition);
}

inline QMap<Flag, FlagFile> flagFiles(const FlagFile &b, const FlagFile &c, const FlagFile &bc)
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

inline void clickChangesOnlyTheMirrors()
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
