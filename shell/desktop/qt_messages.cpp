#include "shell/desktop/qt_messages.h"

#include <cstdio>
#include <vector>

namespace tess {
namespace {

std::vector<QtMessageFilter> filters;
QtMessageHandler nextHandler = nullptr;

void filteredMessage(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    for (QtMessageFilter filter : filters) {
        if (filter(type, message))
            return;
    }
    if (nextHandler)
        nextHandler(type, context, message);
    else
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

} // namespace

void filterQtMessages(QtMessageFilter filter)
{
    if (filters.empty())
        nextHandler = qInstallMessageHandler(filteredMessage);
    filters.push_back(filter);
}

} // namespace tess
