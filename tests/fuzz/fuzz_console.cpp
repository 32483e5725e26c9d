// The console's interpreter over any command line: the first byte says how
// the rest is read (UTF-8, or raw UTF-16 with lone surrogates and all).
#include "recorders.h"

#include "console/core/command_table.h"
#include "console/core/console_engine.h"
#include "console/core/memory_console_view.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    QString line;
    if (data[0] & 1) {
        line = QString::fromUtf8(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    } else {
        line.resize(qsizetype((size - 1) / 2));
        std::memcpy(line.data(), data + 1, std::size_t(line.size()) * 2);
    }
    console::MemoryConsoleView view;
    EventLog log;
    RecordingProcess process(log);
    console::ConsoleEngine engine(view, process);
    const console::ConsoleCommand *command = console::ConsoleEngine::find(line);
    engine.execute(line);
    if (!command) {
        if (!(view.state == console::openedConsole()) || !process.statuses.isEmpty())
            std::abort();  // a line the table does not hold changes nothing
        return 0;
    }
    const auto photosShown = std::count(view.state.photos.begin(), view.state.photos.end(), true);
    if (line != command->line || view.state.log != console::kPrompt.toString() + command->block.toString()
        || view.state.comment != command->comment || photosShown > 1
        || process.statuses.size() != (command->endsProgram ? 1 : 0))
        std::abort();
    return 0;
}
