#include "console/core/memory_console_view.h"

#include "console/core/command_table.h"

namespace console {

ConsoleScreenState openedConsole()
{
    return {kPrompt.toString(), QString(), {}};
}

void MemoryConsoleView::setLog(const QString &log)
{
    state.log = log;
    note(QStringLiteral("log"));
}

void MemoryConsoleView::setComment(const QString &comment)
{
    state.comment = comment;
    note(QStringLiteral("comment"));
}

void MemoryConsoleView::setPhotoShown(Photo photo, bool shown)
{
    if (photo != Photo::None)
        state.photo(photo) = shown;
    note(QStringLiteral("Image%1 %2").arg(int(photo)).arg(shown ? QStringLiteral("shown") : QStringLiteral("hidden")));
}

void MemoryConsoleView::note(const QString &change)
{
    if (journal_)
        *journal_ << change;
}

} // namespace console
