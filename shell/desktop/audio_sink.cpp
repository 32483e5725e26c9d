#include "shell/desktop/audio_sink.h"

#include "shell/desktop/qt_messages.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <cstdio>

namespace tess {
namespace {

void keepJackOutOfTheMusic()
{
    // GStreamer reads the list left to right, so an entry the player wrote
    // comes after ours and overrides it.
    static constexpr char kVariable[] = "GST_PLUGIN_FEATURE_RANK";
    const QByteArray own = qgetenv(kVariable);
    if (own.contains("jackaudiosink"))
        return;
    QByteArray ranks = QByteArrayLiteral("jackaudiosink:NONE");
    if (!own.isEmpty())
        ranks += ',' + own;
    qputenv(kVariable, ranks);
}

bool toldNoServer = false;

void sayNoSoundServer()
{
    if (!toldNoServer)
        std::fputs("tessaranium: music: no sound server, the game plays without sound\n", stderr);
    toldNoServer = true;
}

// Qt's device list and every player that tries the server say it again,
// each player twice once a server has gone away.
bool saysNoSoundServer(const QString &message)
{
    return message.startsWith(QLatin1String("PulseAudioService: pa_context_connect() failed"))
           || message.contains(QLatin1String("Failed to connect: Connection refused"))
           || message.contains(QLatin1String("Connection terminated"));
}

bool foldNoSoundServer(QtMsgType type, const QString &message)
{
    if (type != QtWarningMsg || !saysNoSoundServer(message))
        return false;
    sayNoSoundServer();
    return true;
}

} // namespace

void prepareAudioOutput()
{
    static bool prepared = false;
    if (prepared)
        return;
    prepared = true;
    keepJackOutOfTheMusic();
    filterQtMessages(foldNoSoundServer);
}

bool foldIntoNoSoundServer(const QString &reason)
{
    if (!saysNoSoundServer(reason))
        return false;
    sayNoSoundServer();
    return true;
}

} // namespace tess
