#pragma once
#include "console/core/console_view.h"

#include <QStringView>

#include <span>

namespace console {

// One command line the console understands and its answer.
struct ConsoleCommand {
    QStringView line;     // the whole command line, exactly
    QStringView block;    // appended to the log
    QStringView comment;  // replaces the comment pane
    Photo photo = Photo::None;
    bool endsProgram = false;
};

// The console's commands, tested in order; the first equal line wins.
std::span<const ConsoleCommand> commandTable();

// What the output pane shows when the console opens and after clearing.
inline constexpr QStringView kPrompt = u">_";

} // namespace console
