#pragma once
#include "console/core/command_table.h"

namespace tess {
class ProcessControl;
}

namespace console {

// Runs command lines against the console's screen.
class ConsoleEngine {
public:
    ConsoleEngine(ConsoleView &view, tess::ProcessControl &process);

    // The execute button: a line that matches no command changes nothing.
    void execute(const QString &commandLine);
    // The red button: the log starts again from the prompt.
    void clear();

    static const ConsoleCommand *find(const QString &commandLine);

private:
    ConsoleView &view_;
    tess::ProcessControl &process_;
};

} // namespace console
