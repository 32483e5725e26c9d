#pragma once
#include <QString>
#include <QtGlobal>

namespace tess {

// Puts a filter in front of Qt's own messages: it returns true for a message
// it has dealt with (said in the game's words, or folded), and every other
// message goes on to whatever handled them before. Filters are asked in the
// order they were added.
using QtMessageFilter = bool (*)(QtMsgType type, const QString &message);
void filterQtMessages(QtMessageFilter filter);

} // namespace tess
