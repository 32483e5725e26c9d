#include "tools/story_tool/flag_files.h"

#include "shell/core/cp1251.h"

namespace storytool {

FlagFiles FlagFiles::alike(const QByteArray &bytes)
{
    return {{bytes, bytes, bytes}};
}

QByteArray flagLine(const QString &value)
{
    return tess::encodeCp1251(value) + "\r\n";
}

const std::array<FlagStart, 3> &flagStarts()
{
    static const std::array<FlagStart, 3> starts{{
        {QStringLiteral("0"), flagLine(QStringLiteral("0")), QStringLiteral("every flag \"0\"")},
        {QStringLiteral("1"), flagLine(QStringLiteral("1")), QStringLiteral("every flag \"1\"")},
        {QStringLiteral("empty"), QByteArray(), QStringLiteral("every flag file empty")},
    }};
    return starts;
}

const FlagStart &newGameStart()
{
    return flagStarts().front();
}

} // namespace storytool
