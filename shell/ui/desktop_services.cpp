#include "shell/ui/desktop_services.h"

#include "shell/ui/layout_units.h"

#include <QMessageBox>

#include <cstdio>
#include <cstdlib>

namespace tess {

void MessageBoxAlerts::showError(const QString &message)
{
    std::fprintf(stderr, "tessaranium: %s\n", message.toLocal8Bit().constData());
    QMessageBox::critical(nullptr, kGameTitle, message);
}

void ImmediateExit::endProgram(int exitStatus)
{
    // Every file was written whole and closed before this point.
    std::fflush(nullptr);
    std::_Exit(exitStatus);
}

} // namespace tess
