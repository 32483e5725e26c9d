// The story checker finds what it claims to find: small stories written
// inline, each broken in one way, are played through the game's engine from
// a temporary folder of pages, and the shipped story passes with the facts
// its authors know.
#include "shell/core/cp1251.h"
#include "shell/layout/layout_units.h"
#include "story/core/choice_tables.h"
#include "tools/story_tool/check_report_output.h"
#include "tools/story_tool/game_pane_fit.h"
#include "tools/story_tool/prose_report.h"
#include "tools/story_tool/prose_text.h"
#include "tools/story_tool/script_replay.h"
#include "tools/story_tool/story_check.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace story;
using namespace story::script;
using storytool::Finding;

namespace {

constexpr Flag kRefreshAll[] = {Flag::c, Flag::b, Flag::bc};
constexpr Flag kRefreshC[] = {Flag::c};

// A clean little story: three ways from the opening page, each to a page with
// the single choice "Конец"; "Назад" leads back.
constexpr ChoiceRule kCleanLabel2[] = {
    {u"Виртуальный ресторан", always, 2, noWrite, shown(u"Конец"), hidden, hidden},
    {u"Конец", always, samePage, noWrite, unchanged, unchanged, unchanged, Other::GameOver},
};
constexpr ChoiceRule kCleanLabel3[] = {
    {u"Подводный мир", always, 3, noWrite, hidden, shown(u"Назад"), hidden},
    {u"Назад", always, 1, noWrite, shown(u"Виртуальный ресторан"), shown(u"Подводный мир"), shown(u"Остров Сокровищ")},
};
constexpr ChoiceRule kCleanLabel4[] = {
    {u"Остров Сокровищ", always, 57, noWrite, shown(u"Конец"), hidden, hidden},
};
const ChoiceTables kCleanStory{
    {Slot::Label2, kRefreshAll, kCleanLabel2},
    {Slot::Label3, kRefreshC, kCleanLabel3},
    {Slot::Label4, {}, kCleanLabel4},
};

// A door no caption ever names: page 4 behind it stays unseen.
constexpr ChoiceRule kHiddenDoorLabel4[] = {
    {u"Остров Сокровищ", always, 57, noWrite, shown(u"Конец"), hidden, hidden},
    {u"Тайная дверь", always, 4, noWrite, shown(u"Конец"), hidden, hidden},
};
const ChoiceTables kHiddenDoorStory{
    {Slot::Label2, kRefreshAll, kCleanLabel2},
    {Slot::Label3, kRefreshC, kCleanLabel3},
    {Slot::Label4, {}, kHiddenDoorLabel4},
};

// The first "Подводный мир" rule always holds, so the second never gets a turn.
constexpr ChoiceRule kShadowedLabel3[] = {
    {u"Подводный мир", always, 3, noWrite, hidden, shown(u"Назад"), hidden},
    {u"Подводный мир", flagIs(Flag::c, u"1"), 2, noWrite, shown(u"Конец"), hidden, hidden},
    {u"Назад", always, 1, noWrite, shown(u"Виртуальный ресторан"), shown(u"Подводный мир"), shown(u"Остров Сокровищ")},
};
const ChoiceTables kShadowedStory{
    {Slot::Label2, kRefreshAll, kCleanLabel2},
    {Slot::Label3, kRefreshC, kShadowedLabel3},
    {Slot::Label4, {}, kCleanLabel4},
};

// Page 2 offers "Молчать" on Label3, which has no rule.
constexpr ChoiceRule kSilentLabel2[] = {
    {u"Виртуальный ресторан", always, 2, noWrite, shown(u"Конец"), shown(u"Молчать"), hidden},
    {u"Конец", always, samePage, noWrite, unchanged, unchanged, unchanged, Other::GameOver},
};
const ChoiceTables kSilentStory{
    {Slot::Label2, kRefreshAll, kSilentLabel2},
    {Slot::Label3, kRefreshC, kCleanLabel3},
    {Slot::Label4, {}, kCleanLabel4},
};

// Page 3 offers only a door that opens while flag c reads "0": a flag left at
// "1" by an earlier game locks the player in.
constexpr ChoiceRule kDoorLabel3[] = {
    {u"Подводный мир", always, 3, noWrite, hidden, shown(u"Дверь"), hidden},
    {u"Дверь", flagIs(Flag::c, u"0"), 1, noWrite, shown(u"Виртуальный ресторан"), shown(u"Подводный мир"),
     shown(u"Остров Сокровищ")},
};
const ChoiceTables kDoorStory{
    {Slot::Label2, kRefreshAll, kCleanLabel2},
    {Slot::Label3, kRefreshC, kDoorLabel3},
    {Slot::Label4, {}, kCleanLabel4},
};

// Nothing shows page 57; only F8 jumps there.
constexpr ChoiceRule kNoFinaleLabel4[] = {
    {u"Остров Сокровищ", always, 2, noWrite, shown(u"Конец"), hidden, hidden},
};
const ChoiceTables kNoFinaleStory{
    {Slot::Label2, kRefreshAll, kCleanLabel2},
    {Slot::Label3, kRefreshC, kCleanLabel3},
    {Slot::Label4, {}, kNoFinaleLabel4},
};

// The restaurant (page 2) sets flag c, and the sea opens page 3 only while c
// reads "1": a new game sees page 2 before page 3, but a run that starts with
// the c an earlier run left goes to page 3 at once.
constexpr ChoiceRule kCarriedLabel2[] = {
    {u"Виртуальный ресторан", always, 2, sets(Flag::c, 1), hidden, shown(u"Назад"), hidden},
    {u"Конец", always, samePage, noWrite, unchanged, unchanged, unchanged, Other::GameOver},
};
constexpr ChoiceRule kCarriedLabel3[] = {
    {u"Подводный мир", flagIs(Flag::c, u"1"), 3, noWrite, shown(u"Конец"), hidden, hidden},
    {u"Назад", always, 1, noWrite, shown(u"Виртуальный ресторан"), shown(u"Подводный мир"), shown(u"Остров Сокровищ")},
};
const ChoiceTables kCarriedStory{
    {Slot::Label2, kRefreshAll, kCarriedLabel2},
    {Slot::Label3, kRefreshC, kCarriedLabel3},
    {Slot::Label4, {}, kCleanLabel4},
};

// A story folder of its own: text/gtN.tf for the pages the clean story shows.
class PageFolder {
public:
    PageFolder()
    {
        QDir(dir_.path()).mkdir(QStringLiteral("text"));
        for (int page : {1, 2, 3, 57})
            write(page, "Page " + QByteArray::number(page) + "\r\n");
    }

    QString root() const { return dir_.path(); }

    void write(int page, const QByteArray &bytes) const
    {
        QFile file(path(page));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    void remove(int page) const { QVERIFY(QFile::remove(path(page))); }

    void writeNotes(const QByteArray &notes) const
    {
        QFile file(dir_.filePath(QStringLiteral("text/story_notes.txt")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(notes);
    }

private:
    QString path(int page) const { return dir_.filePath(QStringLiteral("text/gt%1.tf").arg(page)); }

    QTemporaryDir dir_;
};

storytool::CheckReport check(const ChoiceTables &tables, const PageFolder &folder)
{
    return storytool::checkStory(tables, folder.root(), storytool::GamePaneFit());
}

QStringList findingsOf(const storytool::CheckReport &report, Finding::Kind kind)
{
    QStringList texts;
    for (const Finding &finding : report.findings) {
        if (finding.kind == kind)
            texts << finding.text;
    }
    return texts;
}

QString allFindings(const storytool::CheckReport &report)
{
    QStringList texts;
    for (const Finding &finding : report.findings)
        texts << storytool::kindName(finding.kind) + QStringLiteral(": ") + finding.text;
    return texts.join(u'\n');
}

const storytool::StartSummary &startWith(const storytool::CheckReport &report, const QString &flags)
{
    for (const storytool::StartSummary &start : report.starts) {
        if (start.start.name == flags)
            return start;
    }
    qFatal("no start with these flags");
}

} // namespace

class StoryCheckTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { tess::loadBundledFonts(); }

    void aCleanStoryHasNoFindings()
    {
        const PageFolder folder;
        const storytool::CheckReport report = check(kCleanStory, folder);
        QVERIFY2(report.clean(), qPrintable(allFindings(report)));
        QCOMPARE(report.pages, 4);
        QCOMPARE(report.rules, 5);
        QCOMPARE(startWith(report, QStringLiteral("0")).endings.size(), std::size_t(2));
    }

    void aPageNoClickShowsIsReportedUnreached()
    {
        PageFolder folder;
        folder.write(4, "Behind the door\r\n");
        const storytool::CheckReport report = check(kHiddenDoorStory, folder);
        QCOMPARE(findingsOf(report, Finding::Kind::UnreachedPage),
                 QStringList{"page 4 is never shown by play from any start"});
        QCOMPARE(findingsOf(report, Finding::Kind::RuleNeverApplies),
                 QStringList{"rule Label4 «Тайная дверь» → page 4 never applies: «Тайная дверь» never stands on a visible Label4"});
    }

    void aPageFileNoRuleNamesIsReportedUnreached()
    {
        PageFolder folder;
        folder.write(5, "Forgotten\r\n");
        const storytool::CheckReport report = check(kCleanStory, folder);
        QCOMPARE(findingsOf(report, Finding::Kind::UnreachedPage),
                 QStringList{"page 5 is never shown by play from any start"});
    }

    void theF8JumpDoesNotMakeTheFinalPageReachable()
    {
        const PageFolder folder;
        const storytool::CheckReport report = check(kNoFinaleStory, folder);
        QCOMPARE(findingsOf(report, Finding::Kind::UnreachedPage),
                 QStringList{"page 57 is never shown by play from any start"});
        QVERIFY(startWith(report, QStringLiteral("0")).keyOnlyStates > 0);
    }

    void aRuleShadowedByAnEarlierOneIsReportedAsNeverApplying()
    {
        const PageFolder folder;
        const storytool::CheckReport report = check(kShadowedStory, folder);
        QCOMPARE(findingsOf(report, Finding::Kind::RuleNeverApplies),
                 QStringList{"rule Label3 «Подводный мир» [c = \"1\"] → page 2 never applies: shadowed: "
                             "the earlier rule Label3 «Подводный мир» → page 3 takes every click"});
    }

    void aCaptionWithoutARuleOnAVisibleSlotIsReported()
    {
        const PageFolder folder;
        const storytool::CheckReport report = check(kSilentStory, folder);
        const QStringList found = findingsOf(report, Finding::Kind::CaptionWithoutRule);
        QCOMPARE(found.size(), 1);
        QVERIFY2(found[0].startsWith(QStringLiteral("Label3 «Молчать» has no rule; it stands visible on page 2 with "
                                                    "«Конец» / «Молчать» / —")),
                 qPrintable(found[0]));
        QVERIFY(findingsOf(report, Finding::Kind::StuckState).isEmpty());
    }

    void aStateStuckOnlyWithAFlagLeftAtOneIsReportedWithThatStart()
    {
        const PageFolder folder;
        const storytool::CheckReport report = check(kDoorStory, folder);
        const QStringList found = findingsOf(report, Finding::Kind::StuckState);
        QCOMPARE(found.size(), 1);
        QVERIFY2(found[0].startsWith(QStringLiteral("stuck: no choice leads on from page 3 with — / «Дверь» / —, "
                                                    "code box hidden; flags b \"1\", c \"1\", bc \"1\" "
                                                    "(start: every flag \"1\"; reached by click «Подводный мир»)")),
                 qPrintable(found[0]));
        QVERIFY(findingsOf(report, Finding::Kind::RuleNeverApplies).isEmpty());
    }

    void aMissingPageFileIsReported()
    {
        const PageFolder folder;
        folder.remove(3);
        const storytool::CheckReport report = check(kCleanStory, folder);
        QCOMPARE(findingsOf(report, Finding::Kind::PageFileMissing),
                 QStringList{"page 3: text\\gt3.tf cannot be read: файл не найден"});
    }

    void aPageTooLongForThePaneIsReported()
    {
        const PageFolder folder;
        QByteArray longPage;
        for (int line = 0; line < 60; ++line)
            longPage += "A line of the page that goes on long enough to wrap in the pane.\r\n";
        folder.write(2, longPage);
        const storytool::CheckReport report = check(kCleanStory, folder);
        const QStringList found = findingsOf(report, Finding::Kind::PageTooLong);
        QCOMPARE(found.size(), 1);
        QVERIFY2(found[0].startsWith(QStringLiteral("page 2: text\\gt2.tf does not fit the story pane: it needs ")),
                 qPrintable(found[0]));
    }

    void aByteTheCodePageLeavesUndefinedIsReported()
    {
        const PageFolder folder;
        folder.write(2, "Odd \x98 byte\r\n");
        const storytool::CheckReport report = check(kCleanStory, folder);
        QCOMPARE(findingsOf(report, Finding::Kind::PageFileUndecodable).size(), 1);
        QVERIFY(findingsOf(report, Finding::Kind::PageFileLineEnds).isEmpty());
    }

    void aLineNotEndingInCrLfIsReported_data()
    {
        QTest::addColumn<QByteArray>("page");
        QTest::newRow("lone LF") << QByteArray("one\ntwo\r\n");
        QTest::newRow("lone CR") << QByteArray("one\rtwo\r\n");
        QTest::newRow("last line without end") << QByteArray("one\r\ntwo");
    }
    void aLineNotEndingInCrLfIsReported()
    {
        QFETCH(QByteArray, page);
        const PageFolder folder;
        folder.write(3, page);
        const storytool::CheckReport report = check(kCleanStory, folder);
        QCOMPARE(findingsOf(report, Finding::Kind::PageFileLineEnds),
                 QStringList{"page 3: text\\gt3.tf has a line that does not end in CR LF"});
    }

    void aFactUsedOnARouteThatNeverEstablishedItIsReportedWithAReplayableRoute()
    {
        // The pearl is found on page 3, but the island leads to page 57 without it;
        // the menu of page 1 holds on every route to page 2.
        PageFolder folder;
        folder.writeNotes("fact pearl 3 -> 57   the pearl from the sea\n"
                          "fact menu  1 -> 2    the menu read on the first page\n"
                          "fact spare 3 -> -    kept only to say no page may use it\n");
        const storytool::CheckReport report = check(kCleanStory, folder);
        const QString text = storytool::checkReportText(report);
        QVERIFY2(text.startsWith(QStringLiteral("Story check of %1: 4 pages, 5 rules, 3 facts.").arg(folder.root())),
                 qPrintable(text));
        const QString expected = QStringLiteral(
            "Facts no page uses: spare.\n"
            "\n1 findings:\n"
            "  fact-slip: page 57 uses fact «pearl» (the pearl from the sea), but play reaches it without showing "
            "page 3 (start: every flag \"0\"; every flag \"1\"; every flag file empty)\n"
            "    # Page 57 uses «pearl» without page 3: the shortest route, 1 moves.\n"
            "    # Every flag starts at \"0\", as in a new game.\n"
            "    expect page 1\n"
            "    click \"Остров Сокровищ\"\n"
            "    expect page 57\n");
        QVERIFY2(text.endsWith(expected), qPrintable(text));

        const storytool::walk::Script script = storytool::walk::parseScript(report.findings.front().script);
        QVERIFY(!script.failure);
        const storytool::ReplayResult replay = storytool::replayScript(kCleanStory, folder.root(), script.lines);
        QVERIFY(!replay.failure);
        QCOMPARE(replay.expectations, 2);
    }

    void aFactSlipsFromTheFlagsAnEarlierRunLeaves()
    {
        PageFolder folder;
        folder.writeNotes("fact menu 2 -> 3 the menu read in the restaurant\n");
        const storytool::CheckReport report = check(kCarriedStory, folder);
        // The run from a new game holds c "1" after the restaurant, with b and bc still "0".
        QCOMPARE(startWith(report, QStringLiteral("b=0 c=1 bc=0")).start.description,
                 QStringLiteral("flags left by an earlier run: b \"0\", c \"1\", bc \"0\""));
        const QStringList slips = findingsOf(report, Finding::Kind::FactSlip);
        QCOMPARE(slips.size(), 1);
        // Empty flag files, once the restaurant has written c, are left as well.
        QVERIFY2(slips[0].endsWith(QStringLiteral("(start: every flag \"1\"; flags left by an earlier run: b \"0\", "
                                                  "c \"1\", bc \"0\"; flags left by an earlier run: b empty, c \"1\", "
                                                  "bc empty)")),
                 qPrintable(slips[0]));
        QVERIFY(!slips[0].contains(QStringLiteral("every flag \"0\"")));
    }

    void unreadableNotesAndFactsEstablishedNowhereAreReported()
    {
        PageFolder folder;
        folder.writeNotes("fact ghost - -> 2 heard by nobody\nfact far 99 -> 2\n");
        QCOMPARE(findingsOf(check(kCleanStory, folder), Finding::Kind::FactEstablishedNowhere),
                 QStringList{"fact «ghost» (heard by nobody) is established by no page, yet page 2 uses it"});
        QCOMPARE(findingsOf(check(kCleanStory, folder), Finding::Kind::NotesUnreadable),
                 QStringList{"fact «far» names page 99, which the story does not have"});
        folder.writeNotes("fact broken 1 2\n");
        const QStringList unreadable = findingsOf(check(kCleanStory, folder), Finding::Kind::NotesUnreadable);
        QCOMPARE(unreadable.size(), 1);
        QVERIFY2(unreadable[0].endsWith(QStringLiteral("story_notes.txt:1: fact broken has no \"->\" between the pages "
                                                       "that establish it and those that use it")),
                 qPrintable(unreadable[0]));
    }

    void theWordsReportCountsPhrasesClosingsOpeningsAndTics()
    {
        PageFolder folder;
        folder.write(1, tess::encodeCp1251(u"Где-то гаснет свет. Ты ждёшь.\r\n"));
        folder.write(2, tess::encodeCp1251(u"Где-то гаснет свет, и погасла луна.\r\n\r\nТы уходишь домой по мокрой траве.\r\n"));
        folder.write(3, tess::encodeCp1251(u"— В подводном мире где-то гаснет свет, — говоришь ты. Пора.\r\n"));
        folder.writeNotes("tic -гас-\ntic ^Ты\ntic $Пора\ntic луна|мокр- трав-\ntic гас- свет\ntic гаснет …, и\n");
        const storytool::ProseReport report = storytool::proseReport(kCleanStory, folder.root());
        QCOMPARE(report.words, 5 + 12 + 9 + 2);
        QCOMPARE(report.shortClosings(), 3);  // «Ты ждёшь.», «Пора.» and page 57's «Page 57»
        QCOMPARE(report.phrases.size(), std::size_t(1));
        QCOMPARE(report.phrases[0].phrase, QStringLiteral("где-то гаснет свет"));
        QCOMPARE(report.phrases[0].texts, (QStringList{"gt1", "gt2", "gt3"}));
        QCOMPARE(report.tics.size(), std::size_t(6));
        QCOMPARE(report.tics[0].count, 4);
        QCOMPARE(report.tics[1].pages, (QList<int>{1, 2}));
        QCOMPARE(report.tics[2].pages, QList<int>{3});
        QCOMPARE(report.tics[3].count, 2);  // «луна» and «мокрой траве»
        QCOMPARE(report.tics[3].pages, QList<int>{2});
        QCOMPARE(report.tics[4].count, 3);
        QCOMPARE(report.tics[5].pages, QList<int>{2});  // «гаснет свет, и», not «гаснет свет, — говоришь»
        QCOMPARE(report.pages[0].waysIn, 2);  // the start and «Назад»
        // «подводном» restates «Подводный мир»; «Ты ждёшь» opens no page a choice shows.
        QCOMPARE(report.echoingOpenings(), 1);
        QCOMPARE(report.pages[2].echoedChoices, QStringList{"Подводный мир"});
        QVERIFY(storytool::restatesChoice(QStringLiteral("Ты отвечаешь."), QStringLiteral("Ответить")));
        QVERIFY(!storytool::restatesChoice(QStringLiteral("Музей почти безлюден."), QStringLiteral("Музей")));
    }

    void theShippedStoryIsCleanAndShowsEveryPageFromANewGame()
    {
        const storytool::CheckReport report =
            storytool::checkStory(gameTables(), QStringLiteral(TESS_SOURCE_DIR), storytool::GamePaneFit());
        QVERIFY2(report.clean(), qPrintable(allFindings(report)));
        QCOMPARE(report.pages, 57);
        QCOMPARE(report.rules, 77);
        const storytool::StartSummary &newGame = startWith(report, QStringLiteral("0"));
        QVERIFY(newGame.unreachedPages.isEmpty());
        QCOMPARE(newGame.endings.size(), std::size_t(12));
    }

    void theShippedStoryHidesPages16To18WhenEveryFlagIsLeftAtOne()
    {
        const storytool::CheckReport report =
            storytool::checkStory(gameTables(), QStringLiteral(TESS_SOURCE_DIR), storytool::GamePaneFit());
        QCOMPARE(startWith(report, QStringLiteral("1")).unreachedPages, (QList<int>{16, 17, 18}));
    }
};

QTEST_MAIN(StoryCheckTest)
#include "story_check_test.moc"
