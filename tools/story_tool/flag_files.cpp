#include "tools/story_tool/flag_files.h"

#include "shell/core/cp1251.h"
#include "tools/story_tool/story_words.h"

#include <QStringList>

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
        {QStringLiteral("0"), FlagFiles::alike(flagLine(QStringLiteral("0"))), QStringLiteral("every flag \"0\"")},
        {QStringLiteral("1"), FlagFiles::alike(flagLine(QStringLiteral("1"))), QStringLiteral("every flag \"1\"")},
        {QStringLiteral("empty"), FlagFiles::alike(QByteArray()), QStringLiteral("every flag file empty")},
    }};
    return starts;
}

FlagStart carriedOverStart(const FlagFiles &flags)
{
    QStringList name;
    for (story::Flag flag : story::kAllFlags)
        name << flagName(flag) + u'=' + flagFileText(flags.of(flag)).remove(u'"');
    return {name.join(u' '), flags, QStringLiteral("flags left by an earlier run: ") + flagsText(flags)};
}

const FlagStart &newGameStart()
{
    return flagStarts().front();
}

} // namespace storytool
