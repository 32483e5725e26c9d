#pragma once
// The offscreen platform warns on every window brought to the front; the
// warning says nothing about the game and buries what does.
#include <QtGlobal>

inline QtMessageHandler previousMessageHandler = nullptr;

inline void dropPlatformNoise(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtWarningMsg && message == QLatin1String("This plugin does not support raise()"))
        return;
    previousMessageHandler(type, context, message);
}

inline void quietPlatform()
{
    previousMessageHandler = qInstallMessageHandler(dropPlatformNoise);
}
