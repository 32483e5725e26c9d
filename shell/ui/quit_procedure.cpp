#include "shell/ui/quit_procedure.h"

#include "shell/core/alerts.h"
#include "shell/core/cursor_service.h"
#include "shell/core/file_error.h"
#include "shell/core/process_control.h"
#include "story/core/story_flags.h"

namespace tess {

QuitProcedure::QuitProcedure(CursorService &cursor, story::StoryFlags &flags, ProcessControl &process,
                             Alerts &alerts)
    : cursor_(cursor), flags_(flags), process_(process), alerts_(alerts)
{
}

void QuitProcedure::QuitProgram(bool resetFlags)
{
    cursor_.RestoreSystemCursor();
    if (resetFlags) {
        try {
            for (story::Flag flag : story::kAllFlags)
                flags_.write(flag, 0);
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
