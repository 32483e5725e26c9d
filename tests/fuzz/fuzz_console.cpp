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
#include <optional>

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
    const std::optional<console::ConsoleAnswer> answer = engine.execute(line);
    const auto table = console::commandTable();
    const auto entry = std::find_if(table.begin(), table.end(), [&](const console::ConsoleCommand &c) { return c.line == line; });
    if (!answer) {
        // A line the table does not hold changes nothing.
        if (entry != table.end() || !(view.state == console::openedConsole()) || !process.statuses.isEmpty())
            std::abort();
        return 0;
    }
    // A line the table holds answers with its first entry's texts, shown
    // exactly as answered, with at most its one photo.
    const auto photosShown = std::count(view.state.photos.begin(), view.state.photos.end(), true);
    if (entry == table.end() || answer->block != entry->block || answer->comment != entry->comment
        || view.state.log != console::kPrompt.toString() + answer->block || engine.log() != view.state.log
        || view.state.comment != answer->comment || photosShown != (entry->photo == console::Photo::None ? 0 : 1)
        || process.statuses.size() != (entry->endsProgram ? 1 : 0))
        std::abort();
    return 0;
}
