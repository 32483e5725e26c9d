// Walkthrough scripts replay against the game's engine on the shipped story:
// a script that holds passes, and one that does not fails at the right line
// saying what differed.
#include "story/core/choice_tables.h"
#include "tools/story_tool/story_player.h"
#include "tools/story_tool/script_replay.h"
#include "tools/story_tool/story_explorer.h"
#include "tools/story_tool/walk_script_writer.h"
#include "tools/story_tool/walkthroughs.h"

#include <QtTest>

using storytool::ReplayResult;

namespace {

const QString kShippedStory = QStringLiteral(TESS_SOURCE_DIR);

ReplayResult replay(const QString &text)
{
    const storytool::walk::Script script = storytool::walk::parseScript(text);
    if (script.failure)
        return {0, 0, script.failure};
    return storytool::replayScript(story::gameTables(), kShippedStory, script.lines);
}

QString failureText(const ReplayResult &result)
{
    return result.failure ? result.failure->message : QString();
}

} // namespace

class ScriptReplayTest : public QObject {
    Q_OBJECT
private slots:
    void aScriptThatHoldsPassesCountingActionsAndExpectations()
    {
        const ReplayResult result = replay(QStringLiteral("# The first steps\n"
                                                          "expect page 1\n"
                                                          "expect choices \"Виртуальный ресторан\" / \"Подводный мир\" / \"Остров Сокровищ\"\n"
                                                          "click \"Подводный мир\"   # under water\n"
                                                          "expect page 6\n"
                                                          "expect Label2 \"Подойти к ней\"\n"
                                                          "expect Label4 hidden\n"
                                                          "expect code box hidden\n"
                                                          "click Label3\n"
                                                          "expect choices — / \"Ответить\" / -\n"
                                                          "expect screen story\n"));
        QVERIFY2(!result.failure, qPrintable(failureText(result)));
        QCOMPARE(result.actions, 2);
        QCOMPARE(result.expectations, 8);
    }

    void aFailingExpectationNamesItsLineAndWhatDiffered()
    {
        const ReplayResult result = replay(QStringLiteral("# comment\n"
                                                          "\n"
                                                          "click \"Подводный мир\"\n"
                                                          "expect page 7\n"
                                                          "click \"Уйти\"\n"));
        QVERIFY(result.failure);
        QCOMPARE(result.failure->line, 4);
        QCOMPARE(result.failure->message, QStringLiteral("expected page 7, the pane shows page 6"));
    }

    void aClickOnAChoiceThatIsNotShownFailsAtItsLine()
    {
        const ReplayResult result = replay(QStringLiteral("click \"Подводный мир\"\n"
                                                          "click \"Назад\"\n"));
        QVERIFY(result.failure);
        QCOMPARE(result.failure->line, 2);
        QCOMPARE(result.failure->message,
                 QStringLiteral("no visible choice «Назад»; the choices are «Подойти к ней» / «Уйти» / —"));
    }

    void aWrongCaptionOrVisibilityFailsAtItsLine()
    {
        const ReplayResult result = replay(QStringLiteral("click \"Остров Сокровищ\"\n"
                                                          "expect Label4 \"Остров Сокровищ\"\n"));
        QVERIFY(result.failure);
        QCOMPARE(result.failure->line, 2);
        QCOMPARE(result.failure->message, QStringLiteral("expected Label4 «Остров Сокровищ», it is hidden"));
    }

    void flagsAreSetAndExpectedAsTheirFilesBytes()
    {
        const ReplayResult passing = replay(QStringLiteral("expect flag b \"0\"\n"
                                                           "set flag c \"1\"\n"
                                                           "set flag bc empty\n"
                                                           "expect flag c \"1\"\n"
                                                           "expect flag bc empty\n"
                                                           "set flag b missing\n"
                                                           "expect flag b missing\n"));
        QVERIFY2(!passing.failure, qPrintable(failureText(passing)));

        const ReplayResult failing = replay(QStringLiteral("set flag c \"1\"\nexpect flag c \"0\"\n"));
        QVERIFY(failing.failure);
        QCOMPARE(failing.failure->line, 2);
        QCOMPARE(failing.failure->message, QStringLiteral("expected flag c \"0\", it is \"1\""));
    }

    void anErrorTheGameShowsFailsTheLine()
    {
        const ReplayResult result = replay(QStringLiteral("set flag c missing\nclick \"Подводный мир\"\n"));
        QVERIFY(result.failure);
        QCOMPARE(result.failure->line, 2);
        QVERIFY2(result.failure->message.contains(QStringLiteral("engdat\\c.gdf")), qPrintable(result.failure->message));
    }

    void typingNeedsTheCodeBoxShown()
    {
        const ReplayResult result = replay(QStringLiteral("type \"zolv\"\n"));
        QVERIFY(result.failure);
        QCOMPARE(result.failure->line, 1);
        QCOMPARE(result.failure->message, QStringLiteral("the code box is hidden"));
    }

    void theKeysLeaveOrJumpAndNothingIsClickedOffTheStoryScreen()
    {
        const ReplayResult f8 = replay(QStringLiteral("press F8\nexpect page %1\nexpect choices \"Конец\" / — / —\n"
                                                      "click \"Конец\"\nexpect screen game over\n").arg(story::kFinalPage));
        QVERIFY2(!f8.failure, qPrintable(failureText(f8)));

        const ReplayResult console = replay(QStringLiteral("press console key\nexpect screen console\nclick Label2\n"));
        QVERIFY(console.failure);
        QCOMPARE(console.failure->line, 3);
        QCOMPARE(console.failure->message, QStringLiteral("the story screen is not shown, the game shows console"));
    }

    void aLineThatCannotBeReadFailsAtItsLine_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("reason");
        QTest::newRow("unknown action") << "jump \"Назад\"" << "a line is click, type, press, set flag or expect";
        QTest::newRow("caption without quotes") << "click Назад" << "click takes a caption in quotes or a slot name";
        QTest::newRow("open quote") << "click \"Назад" << "a quote is not closed";
        QTest::newRow("no page number") << "expect page six" << "expect page takes a page number";
        QTest::newRow("unknown flag") << "set flag d \"1\"" << "a flag is b, c or bc";
        QTest::newRow("two choices") << "expect choices \"A\" / \"B\""
                                     << "expect choices takes three choices, \"caption\" or — for hidden, between slashes";
        QTest::newRow("trailing words") << "press F8 twice" << "nothing may follow, but the line goes on with twice";
    }
    void aLineThatCannotBeReadFailsAtItsLine()
    {
        QFETCH(QString, line);
        QFETCH(QString, reason);
        const ReplayResult result = replay(QStringLiteral("click \"Подводный мир\"\n\n") + line + u'\n');
        QVERIFY(result.failure);
        QCOMPARE(result.failure->line, 3);
        QCOMPARE(result.failure->message, QStringLiteral("cannot read «%1»: %2").arg(line, reason));
    }

    void everyShortestWalkthroughReplaysToItsEnding()
    {
        storytool::StoryPlayer story(story::gameTables(), kShippedStory);
        const std::vector<storytool::StoryGraph> graphs = storytool::exploreEveryStart(story);
        const std::vector<storytool::Walkthrough> walks = storytool::shortestWalkthroughs(graphs);
        QCOMPARE(walks.size(), std::size_t(12));
        for (const storytool::Walkthrough &walk : walks) {
            const ReplayResult result = replay(storytool::walkScriptText(walk));
            // The script's last line expects the screen the ending leaves for.
            QVERIFY2(!result.failure, qPrintable(walk.name + QStringLiteral(": ") + failureText(result)));
        }
    }
};

QTEST_GUILESS_MAIN(ScriptReplayTest)
#include "script_replay_test.moc"
