#include "shell/desktop/quit_procedure.h"

#include "shell/core/alerts.h"
#include "shell/core/cursor_service.h"
#include "shell/core/file_error.h"
#include "shell/core/process_control.h"
#include "shell/core/progress_reset.h"

namespace tess {

QuitProcedure::QuitProcedure(CursorService &cursor, ProgressReset &progress, ProcessControl &process,
                             Alerts &alerts)
    : cursor_(cursor), progress_(progress), process_(process), alerts_(alerts)
{
}

void QuitProcedure::QuitProgram(bool resetFlags)
{
    cursor_.RestoreSystemCursor();
    if (resetFlags) {
        try {
            progress_.resetProgress();
        } catch (const FileError &error) {
            cursor_.RestoreSystemCursor();
            alerts_.showError(QStringLiteral("Не удалось сбросить прогресс истории. ") + error.message());
            process_.endProgram(1);
            return;
        }
    }
    process_.endProgram(0);
}

} // namespace tess
