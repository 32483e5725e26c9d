// Time from a click on a choice slot to the new page painted, over a walk
// that shows every page of the story on the real story screen. A click is a
// real mouse press and release on the slot; the time runs until the event
// loop has painted everything the click changed.
#include "bench_game.h"
#include "game_folder.h"
#include "stats.h"
#include "story_walk.h"

#include "app/game.h"
#include "story/core/choice_tables.h"
#include "shell/core/text_lines.h"
#include "story/core/story_engine.h"
#include "story/ui/story_screen.h"

#include <QApplication>
#include <QTest>

#include <cstdlib>
#include <set>

namespace {

// Counts the paints of one widget.
class PaintCounter final : public QObject {
public:
    explicit PaintCounter(QWidget &widget) { widget.installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

tess::Label &slotLabel(story::StoryScreen &screen, story::Slot slot)
{
    switch (slot) {
    case story::Slot::Label2:
        return screen.Label2;
    case story::Slot::Label3:
        return screen.Label3;
    case story::Slot::Label4:
        break;
    }
    return screen.Label4;
}

// The pane's text once a page is shown: each line of the file and CR LF.
QString paneTextOf(bench::BenchGame &game, int page)
{
    QString text;
    for (const QString &line : tess::splitTextLines(game.loader.readText(story::StoryEngine::pageFile(page))))
        text += line + QStringLiteral("\r\n");
    return text;
}

[[noreturn]] void fail(const char *what, int page)
{
    std::fprintf(stderr, "bench_page_turn: %s (page %d)\n", what, page);
    std::exit(1);
}

} // namespace

int main(int argc, char *argv[])
{
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 10;
    const bench::InProcessBench run(argc, argv);

    const std::vector<bench::StoryRoute> walk = bench::walkOverEveryPage(bench::routesToEveryPage(QDir::currentPath()));
    const int pages = story::pageCount(story::gameTables());
    std::vector<double> turnMs, turnCpuMs, openMs, writingMs, writingCpuMs;
    std::map<int, std::vector<double>> byPage;
    std::set<int> pagesShown;
    std::size_t clicks = 0;
    for (int round = 0; round < rounds; ++round) {
        for (const bench::StoryRoute &route : walk) {
            run.folder.resetFlags();
            tess::QuietMusic music;
            bench::BenchGame game(music);
            const bench::Stopwatch opening;
            game.screens.Show(tess::ScreenId::Engine);
            QCoreApplication::processEvents();
            openMs.push_back(opening.wallMs());
            auto &screen = game.screen<story::StoryScreen>(tess::ScreenId::Engine);
            if (screen.Label1.text() != paneTextOf(game, 1))
                fail("the story did not open on page 1", 1);
            pagesShown.insert(1);
            const PaintCounter pane(screen.Label1);
            for (const bench::StoryMove &move : route) {
                if (screen.isPasswordBoxShown())
                    screen.Text1.setText(move.password);
                bench::settle();
                tess::Label &slot = slotLabel(screen, move.slot);
                const int paintsBefore = pane.paints;
                const bench::Stopwatch click;
                QTest::mouseClick(&slot, Qt::LeftButton, {}, slot.rect().center());
                QCoreApplication::processEvents();
                const double ms = click.wallMs();
                const double cpuMs = click.cpuMs();
                if (screen.Label1.text() != paneTextOf(game, move.page))
                    fail("the click showed another page than the tables say", move.page);
                if (pane.paints == paintsBefore)
                    fail("the new page was not painted", move.page);
                turnMs.push_back(ms);
                turnCpuMs.push_back(cpuMs);
                if (move.writesFlag) {
                    writingMs.push_back(ms);
                    writingCpuMs.push_back(cpuMs);
                }
                byPage[move.page].push_back(cpuMs);
                pagesShown.insert(move.page);
                ++clicks;
            }
        }
    }

    std::printf("Page turns on the story screen (QT_QPA_PLATFORM=%s): %zu routes from a new game, %d rounds,\n"
                "%zu clicks, %zu of %d pages shown\n",
                qgetenv("QT_QPA_PLATFORM").constData(), walk.size(), rounds, clicks, pagesShown.size(), pages);
    bench::printHeader("event", "ms");
    bench::printRow("story screen opened on page 1", bench::summarize(openMs));
    const bench::Summary turns = bench::summarize(turnMs);
    const bench::Summary turnsCpu = bench::summarize(turnCpuMs);
    bench::printRow("click to new page painted", turns);
    bench::printRow("  the same, CPU time of the thread", turnsCpu);
    bench::printRow("  clicks that also write a flag file", bench::summarize(writingMs));
    bench::printRow("  the same, CPU time of the thread", bench::summarize(writingCpuMs));
    int slowestPage = 0;
    double slowestMedian = 0;
    for (const auto &[page, times] : byPage) {
        const double median = bench::summarize(times).median;
        if (median > slowestMedian) {
            slowestMedian = median;
            slowestPage = page;
        }
    }
    bench::printRow("  slowest page, CPU time: gt" + std::to_string(slowestPage),
                    bench::summarize(byPage[slowestPage]));
    std::printf("target: p99 under 16 ms -> %s (wall), %s (CPU)\n\n", turns.p99 < 16.0 ? "met" : "MISSED",
                turnsCpu.p99 < 16.0 ? "met" : "MISSED");
    return int(pagesShown.size()) == pages ? 0 : 1;
}
