#include "shell/desktop/desktop_services.h"

#include "shell/core/game_folder_lock.h"
#include "shell/layout/layout_units.h"

#include <cstdio>
#include <cstdlib>

namespace tess {

void MessageBoxAlerts::showError(const QString &message)
{
    std::fprintf(stderr, "tessaranium: %s\n", message.toLocal8Bit().constData());
    if (unattended_)
        return;
    QMessageBox box(QMessageBox::Critical, kGameTitle, message, QMessageBox::Ok);
    open_ = &box;
    box.exec();
}

void MessageBoxAlerts::stopWaitingForThePlayer()
{
    unattended_ = true;
    if (open_)
        open_->done(QMessageBox::Ok);
}

void ImmediateExit::endProgram(int exitStatus)
{
    // Every file was written whole and closed before this point.
    GameFolderLock::releaseHeld();
    std::fflush(nullptr);
    std::_Exit(exitStatus);
}

} // namespace tess
