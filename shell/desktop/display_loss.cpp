#include "shell/desktop/display_loss.h"

#include "shell/desktop/qt_messages.h"

#include <cstdio>
#include <utility>

namespace tess {
namespace {

std::function<void()> closeScreens;

// Qt exits right after this warning, from inside its event processing.
bool endWithTheGame(QtMsgType type, const QString &message)
{
    if (type != QtWarningMsg || !message.startsWith(QLatin1String("The X11 connection broke")))
        return false;
    std::fputs("tessaranium: the display is gone (the X server ended), and the game ends with it\n", stderr);
    std::fflush(stderr);
    if (const auto close = std::exchange(closeScreens, nullptr))
        close();
    return true;
}

} // namespace

void endWithTheDisplay(std::function<void()> closeAll)
{
    static const bool filtering = (filterQtMessages(endWithTheGame), true);
    Q_UNUSED(filtering);
    closeScreens = std::move(closeAll);
}

} // namespace tess
