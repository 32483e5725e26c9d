#include "shell/ui/audio_sink.h"

#include <QByteArray>
#include <QtGlobal>

namespace tess {

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

} // namespace tess
