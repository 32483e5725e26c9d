// The story engine plays a small story of its own, written inline, and the
// text that comes out is checked exactly.
#include "memory_files.h"
#include "recorders.h"

#include "shell/core/quiet_services.h"
#include "shell/core/text_loader.h"
#include "story/core/headless_story.h"
#include "story/core/story_engine.h"

#include <QtTest>

using namespace story;
using namespace story::script;

namespace {

constexpr Flag kRefreshAll[] = {Flag::c, Flag::b, Flag::bc};
constexpr Flag kRefreshC[] = {Flag::c};

// A door that opens once, a lamp that depends on a flag, and a first rule
// that shadows a second one with the same caption.
constexpr ChoiceRule kFirstSlot[] = {
    {u"Open the door", flagIs(Flag::b, u"0"), 2, sets(Flag::b, 1), hidden, shown(u"Look at the lamp"), text(u"Leave")},
    {u"Open the door", always, 3, noWrite, unchanged, unchanged, unchanged},
    {u"The end", always, samePage, noWrite, unchanged, unchanged, unchanged, Other::GameOver},
};
constexpr ChoiceRule kSecondSlot[] = {
    {u"Look at the lamp", flagIs(Flag::c, u"1"), 4, noWrite, shown(u"The end"), hidden, unchanged},
    {u"Look at the lamp", flagIs(Flag::c, u"0"), 5, noWrite, unchanged, text(u"Say the word"), unchanged, Other::ShowPasswordBox},
    {u"Say the word", passwordIs(u"xy"), samePage, noWrite, unchanged, unchanged, unchanged, Other::OpenConsole},
};
constexpr ChoiceRule kThirdSlot[] = {
    {u"Leave", always, 6, sets(Flag::c, 1), shown(u"Open the door"), hidden, hidden},
};

const ChoiceTables kTinyStory{
    {Slot::Label2, kRefreshAll, kFirstSlot},
    {Slot::Label3, kRefreshC, kSecondSlot},
    {Slot::Label4, {}, kThirdSlot},
};

const QString kB = StoryFlags::fileOf(Flag::b);
const QString kC = StoryFlags::fileOf(Flag::c);
const QString kBC = StoryFlags::fileOf(Flag::bc);

struct TinyStory {
    MemoryFiles files;
    EventLog log;
    RecordingMusic music{log};
    RecordingAlerts alerts;
    HeadlessStory headless{files, kTinyStory, &music, &alerts};
    StoryEngine &engine = headless.engine();

    TinyStory()
    {
        const char *pages[] = {"", "A hall.\r\n", "The door opens.\r\nDust.\r\n", "It is open already.\r\n",
                               "The lamp is lit.\r\n", "The lamp is dark.\r\n", "Outside."};
        for (int page = 1; page <= 6; ++page)
            files.content[StoryEngine::pageFile(page)] = pages[page];
        for (const QString &flag : {kB, kC, kBC})
            files.content[flag] = "0\r\n";
        edit([](StoryScreenState &s) { s.choice(Slot::Label2).caption = QStringLiteral("Open the door"); });
    }

    // Sets the screen as a test needs it before the turn it checks.
    template <typename Change>
    void edit(Change &&change)
    {
        StoryScreenState s = engine.state();
        change(s);
        engine.restore(s);
    }
    const StoryScreenState &state() const { return engine.state(); }
    QStringList &journal() { return headless.journal(); }

    QString pane() const { return state().pane; }
    QString caption(Slot slot) const { return state().choice(slot).caption; }
    bool shown(Slot slot) const { return state().choice(slot).shown; }
};

// The flags whose mirror the engine has written.
QList<Flag> mirrorsRead(const StoryScreenState &state)
{
    QList<Flag> read;
    for (Flag flag : story::kAllFlags) {
        if (!state.mirror(flag).isNull())
            read << flag;
    }
    return read;
}

} // namespace

class StoryEngineTest : public QObject {
    Q_OBJECT
private slots:
    void theStoryStartsWithItsOpeningCaptionsMusicAndFirstPage()
    {
        TinyStory story;
        story.edit([&](StoryScreenState &s) { s.choice(Slot::Label2).caption.clear(); });
        story.files.content[StoryEngine::pageFile(1)] = "Line one\r\nLine two";
        story.engine.start();
        QCOMPARE(story.pane(), QStringLiteral("Line one\r\nLine two\r\n"));
        QCOMPARE(story.caption(Slot::Label2), QStringLiteral("Виртуальный ресторан"));
        QCOMPARE(story.caption(Slot::Label3), QStringLiteral("Подводный мир"));
        QCOMPARE(story.caption(Slot::Label4), QStringLiteral("Остров Сокровищ"));
        QCOMPARE(story.log.entries, QStringList{"play sound\\trackgp.mp3"});
    }

    void aClickShowsThePageThenWritesTheFlagThenChangesTheSlots()
    {
        TinyStory story;
        story.engine.click(Slot::Label2);
        QCOMPARE(story.pane(), QStringLiteral("The door opens.\r\nDust.\r\n"));
        QCOMPARE(story.files.content[kB], QByteArray("1\r\n"));
        QVERIFY(!story.shown(Slot::Label2));
        QCOMPARE(story.caption(Slot::Label3), QStringLiteral("Look at the lamp"));
        QCOMPARE(story.caption(Slot::Label4), QStringLiteral("Leave"));
        QVERIFY(story.shown(Slot::Label4));  // a caption alone keeps the visibility
    }

    void theFirstRuleThatHoldsWinsAndTheNextWithTheSameCaptionTakesOverWhenItFails()
    {
        TinyStory story;
        story.files.content[kB] = "1\r\n";
        story.engine.click(Slot::Label2);
        QCOMPARE(story.pane(), QStringLiteral("It is open already.\r\n"));
        QCOMPARE(story.files.writes, 0);
    }

    void flagsAreComparedAsWholeTextsReadFreshOnEveryClick_data()
    {
        QTest::addColumn<QByteArray>("flagFile");
        QTest::addColumn<QString>("page");
        QTest::newRow("one") << QByteArray("1\r\n") << "The lamp is lit.\r\n";
        QTest::newRow("one with an empty line after") << QByteArray("1\r\n\r\n") << "The lamp is lit.\r\n";
        QTest::newRow("one without line end") << QByteArray("1") << "The lamp is lit.\r\n";
        QTest::newRow("zero") << QByteArray("0\r\n") << "The lamp is dark.\r\n";
        QTest::newRow("empty holds neither") << QByteArray() << "before";
        QTest::newRow("two lines read as 01") << QByteArray("0\r\n1\r\n") << "before";
        QTest::newRow("space before the digit") << QByteArray(" 1\r\n") << "before";
    }
    void flagsAreComparedAsWholeTextsReadFreshOnEveryClick()
    {
        QFETCH(QByteArray, flagFile);
        QFETCH(QString, page);
        TinyStory story;
        story.edit([&](StoryScreenState &s) { s.pane = QStringLiteral("before"); });
        story.edit([&](StoryScreenState &s) { s.choice(Slot::Label3).caption = QStringLiteral("Look at the lamp"); });
        story.files.content[kC] = flagFile;
        story.engine.click(Slot::Label3);
        QCOMPARE(story.pane(), page);
        QCOMPARE(story.state().mirror(Flag::c), QString::fromLatin1(flagFile).remove(u'\r').remove(u'\n'));
    }

    void eachSlotRereadsOnlyItsOwnFlags()
    {
        TinyStory story;
        story.files.content[kB] = "1\r\n";
        story.files.content[kBC] = "1\r\n";
        story.edit([&](StoryScreenState &s) { s.choice(Slot::Label3).caption = QStringLiteral("nothing"); });
        story.engine.click(Slot::Label3);
        QCOMPARE(mirrorsRead(story.state()), QList<Flag>{Flag::c});
        story.edit([&](StoryScreenState &s) { s.choice(Slot::Label4).caption = QStringLiteral("nothing"); });
        story.engine.click(Slot::Label4);
        QCOMPARE(mirrorsRead(story.state()), QList<Flag>{Flag::c});
        story.edit([&](StoryScreenState &s) { s.choice(Slot::Label2).caption = QStringLiteral("nothing"); });
        story.engine.click(Slot::Label2);
        QCOMPARE(story.state().mirror(Flag::b), QStringLiteral("1"));
        QCOMPARE(story.state().mirror(Flag::bc), QStringLiteral("1"));
        QCOMPARE(story.pane(), QString());
    }

    void thePasswordMustMatchExactly()
    {
        TinyStory story;
        story.edit([&](StoryScreenState &s) { s.choice(Slot::Label3).caption = QStringLiteral("Say the word"); });
        for (const char *typed : {"XY", "xy ", " xy", "", "xyz"}) {
            story.edit([&](StoryScreenState &s) { s.codeBoxText = QString::fromLatin1(typed); });
            story.engine.click(Slot::Label3);
        }
        QVERIFY(story.journal().isEmpty());
        story.edit([&](StoryScreenState &s) { s.codeBoxText = QStringLiteral("xy"); });
        story.engine.click(Slot::Label3);
        QCOMPARE(story.journal(), (QStringList{"hide story", "show console"}));
    }

    void theEndHidesTheStoryShowsGameOverAndStopsTheMusicLeavingTheSlots()
    {
        TinyStory story;
        story.edit([&](StoryScreenState &s) { s.choice(Slot::Label2).caption = QStringLiteral("The end"); });
        story.edit([&](StoryScreenState &s) { s.pane = QStringLiteral("last page"); });
        story.engine.click(Slot::Label2);
        QCOMPARE(story.journal(),
                 (QStringList{"hide story", "show game over", "hide story", "show game over"}));
        QCOMPARE(story.log.entries, QStringList{"close sound\\trackgp.mp3"});
        QCOMPARE(story.pane(), QStringLiteral("last page"));
        QCOMPARE(story.caption(Slot::Label2), QStringLiteral("The end"));
    }

    void aPageThatCannotBeReadAppliesNothingAndNamesTheFile()
    {
        TinyStory story;
        story.files.content.remove(StoryEngine::pageFile(2));
        story.edit([&](StoryScreenState &s) { s.pane = QStringLiteral("A hall.\r\n"); });
        story.engine.click(Slot::Label2);
        QCOMPARE(story.pane(), QStringLiteral("A hall.\r\n"));
        QCOMPARE(story.files.content[kB], QByteArray("0\r\n"));
        QCOMPARE(story.caption(Slot::Label2), QStringLiteral("Open the door"));
        QVERIFY(story.shown(Slot::Label2));
        QCOMPARE(story.alerts.messages.size(), 1);
        QVERIFY(story.alerts.messages[0].contains(QStringLiteral("text\\gt2.tf")));

        story.files.content[StoryEngine::pageFile(2)] = "Back again.\r\n";
        story.engine.click(Slot::Label2);
        QCOMPARE(story.pane(), QStringLiteral("Back again.\r\n"));
    }

    void aFlagThatCannotBeReadAppliesNothingNotEvenTheMirrors()
    {
        TinyStory story;
        story.files.content.remove(kBC);
        story.engine.click(Slot::Label2);
        QVERIFY(mirrorsRead(story.state()).isEmpty());
        QCOMPARE(story.pane(), QString());
        QVERIFY(story.alerts.messages.value(0).contains(QStringLiteral("engdat\\bc.gdf")));
    }

    void aFlagThatCannotBeWrittenUndoesThePageAndKeepsTheSlots()
    {
        TinyStory story;
        story.edit([&](StoryScreenState &s) { s.pane = QStringLiteral("A hall.\r\n"); });
        story.files.unwritable << kB;
        story.engine.click(Slot::Label2);
        QCOMPARE(story.pane(), QStringLiteral("A hall.\r\n"));
        QCOMPARE(story.files.content[kB], QByteArray("0\r\n"));
        QVERIFY(story.shown(Slot::Label2));
        QCOMPARE(story.caption(Slot::Label3), QString());
        QVERIFY(story.alerts.messages.value(0).contains(QStringLiteral("engdat\\b.gdf")));
    }

    void f8ShowsTheFinalPageWithTheSingleChoiceToEnd()
    {
        TinyStory story;
        story.files.content[StoryEngine::pageFile(kFinalPage)] = "Finale\r\n";
        story.engine.press(StoryKey::F8);
        QCOMPARE(story.pane(), QStringLiteral("Finale\r\n"));
        QCOMPARE(story.caption(Slot::Label2), QStringLiteral("Конец"));
        QVERIFY(story.shown(Slot::Label2));
        QVERIFY(!story.shown(Slot::Label3));
        QVERIFY(!story.shown(Slot::Label4));
        QVERIFY(story.log.entries.isEmpty());
        QCOMPARE(story.files.writes, 0);
    }

    void f8WithoutTheFinalPageChangesNothing()
    {
        TinyStory story;
        story.engine.press(StoryKey::F8);
        QCOMPARE(story.caption(Slot::Label2), QStringLiteral("Open the door"));
        QVERIFY(story.shown(Slot::Label3));
        QVERIFY(story.alerts.messages.value(0).contains(QStringLiteral("text\\gt57.tf")));
    }

    void theConsoleKeyLeavesForTheConsoleTouchingNothingElse()
    {
        TinyStory story;
        story.engine.press(StoryKey::ConsoleKey);
        QCOMPARE(story.journal(), (QStringList{"hide story", "show console"}));
        QCOMPARE(story.files.writes, 0);
        QVERIFY(story.log.entries.isEmpty());
    }
};

QTEST_GUILESS_MAIN(StoryEngineTest)
#include "story_engine_test.moc"
