#include "story/ui/console_key.h"

#include <QKeyEvent>

namespace story {
namespace {

constexpr quint32 kX11KeypadSeparator = 0xffac;
constexpr quint32 kWindowsSeparator = 0x6c;

} // namespace

bool isConsoleKey(const QKeyEvent &event)
{
    const quint32 native = event.nativeVirtualKey();
#ifdef Q_OS_WIN
    if (native == kWindowsSeparator)
        return true;
#else
    if (native == kX11KeypadSeparator)
        return true;
#endif
    return event.key() == Qt::Key_Comma && event.modifiers().testFlag(Qt::KeypadModifier);
}

} // namespace story
