#pragma once
#include "console/core/command_table.h"

#include <QString>

#include <optional>

namespace tess {
class ProcessControl;
}

namespace console {

// What one command added: the block appended to the log and the comment now
// shown, as a screen reader is to speak them.
struct ConsoleAnswer {
    QString block;
    QString comment;
};

// Runs command lines and keeps the console's log; the screen only shows it.
class ConsoleEngine {
public:
    ConsoleEngine(ConsoleView &view, tess::ProcessControl &process);

    // The execute button: a line that matches no command changes nothing
    // and answers nothing.
    std::optional<ConsoleAnswer> execute(const QString &commandLine);
    // The red button: the log starts again from the prompt.
    void clear();

    // The whole log, as the output pane shows it.
    const QString &log() const { return log_; }

    static const ConsoleCommand *find(const QString &commandLine);

private:
    ConsoleView &view_;
    tess::ProcessControl &process_;
    QString log_ = kPrompt.toString();
};

} // namespace console
