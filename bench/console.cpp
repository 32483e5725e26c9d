// Time per console command on the real console screen, from the click on the
// execute button to the output pane repainted, with a log of 0, 1,000 and
// 10,000 earlier commands. Every command of the table but the one that quits
// runs in turn.
#include "bench_game.h"
#include "game_folder.h"
#include "stats.h"

#include "console/core/command_table.h"
#include "console/ui/console_screen.h"
#include "app/game.h"

#include <QApplication>
#include <QTest>

#include <cstdlib>

int main(int argc, char *argv[])
{
    const int commandsPerLog = argc > 1 ? std::atoi(argv[1]) : 300;
    const bench::InProcessBench run(argc, argv);

    std::vector<console::ConsoleCommand> commands;
    for (const console::ConsoleCommand &command : console::commandTable()) {
        if (!command.endsProgram)
            commands.push_back(command);
    }

    std::printf("Console commands on the console screen (QT_QPA_PLATFORM=%s), %d commands per log size\n",
                qgetenv("QT_QPA_PLATFORM").constData(), commandsPerLog);
    bench::printHeader("log before the commands", "ms");
    bool metWall = true;
    bool metCpu = true;
    for (const int earlier : {0, 1000, 10000}) {
        tess::QuietMusic music;
        bench::BenchGame game(music);
        game.screens.Show(tess::ScreenId::BLNC);
        auto &screen = game.screen<console::ConsoleScreen>(tess::ScreenId::BLNC);
        // The log as the earlier commands would have left it.
        QString log = console::kPrompt.toString();
        for (int i = 0; i < earlier; ++i)
            log += commands[std::size_t(i) % commands.size()].block;
        screen.setLog(log);
        bench::settle();

        std::vector<double> times, cpuTimes;
        for (int i = 0; i < commandsPerLog; ++i) {
            const console::ConsoleCommand &command = commands[std::size_t(i) % commands.size()];
            screen.Text.setText(command.line.toString());
            const qsizetype before = screen.log().size();
            bench::settle();
            const bench::Stopwatch click;
            QTest::mouseClick(&screen.Label3, Qt::LeftButton, {}, screen.Label3.rect().center());
            QCoreApplication::processEvents();
            times.push_back(click.wallMs());
            cpuTimes.push_back(click.cpuMs());
            if (screen.log().size() != before + command.block.size()) {
                std::fprintf(stderr, "bench_console: the command did not run: %s\n", qPrintable(command.line.toString()));
                return 1;
            }
        }
        const bench::Summary wall = bench::summarize(times);
        const bench::Summary cpu = bench::summarize(cpuTimes);
        metWall = metWall && wall.p99 < 16.0;
        metCpu = metCpu && cpu.p99 < 16.0;
        bench::printRow(std::to_string(earlier) + " commands (" + std::to_string(log.size() / 1024) + " KiB)", wall);
        bench::printRow("  the same, CPU time of the thread", cpu);
    }
    std::printf("target: p99 under 16 ms at every log size -> %s (wall), %s (CPU)\n\n", metWall ? "met" : "MISSED",
                metCpu ? "met" : "MISSED");
    return 0;
}
