// Any Unicode, control characters and lines of 100,000 characters into the
// console's command line and the story's code box, and a long random run of
// command lines through the console.
#include "hostile_input.h"

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
            story::StoryScreenState at = story.state();
            at.choice(Slot::Label3).caption = QStringLiteral("Enter parol");
            at.codeBoxShown = true;
            story.restore(at);
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
                QCOMPARE(story.Label3.text(), QStringLiteral("Enter parol"));
                QVERIFY(!game.screens.isShown(ScreenId::BLNC) && !game.screens.isShown(ScreenId::GameOver));
                QVERIFY(!story.grab().isNull());
            }
        }
        QCOMPARE(tried, 40);
        qInfo("40 code box entries, %d of them a password", opened);
    }
};

int main(int argc, char *argv[])
{
    return runHostileInputTest<HostileInputTest>(argc, argv);
}

#include "hostile_input_test.moc"
