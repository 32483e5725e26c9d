#include "tools/story_tool/flag_files.h"

#include "shell/core/cp1251.h"
#include "shell/core/text_lines.h"

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

QString flagName(story::Flag flag)
{
    switch (flag) {
    case story::Flag::b:
        return QStringLiteral("b");
    case story::Flag::c:
        return QStringLiteral("c");
    case story::Flag::bc:
        return QStringLiteral("bc");
    }
    Q_UNREACHABLE();
}

std::optional<story::Flag> flagNamed(QStringView name)
{
    for (story::Flag flag : story::kAllFlags) {
        if (flagName(flag) == name)
            return flag;
    }
    return std::nullopt;
}

QString flagFileText(const std::optional<QByteArray> &bytes)
{
    if (!bytes)
        return QStringLiteral("missing");
    if (bytes->isEmpty())
        return QStringLiteral("empty");
    const QStringList lines = tess::splitTextLines(tess::decodeCp1251(*bytes));
    if (lines.size() == 1 && flagLine(lines.front()) == *bytes)
        return u'"' + lines.front() + u'"';
    return QStringLiteral("bytes ") + QString::fromLatin1(bytes->toHex(' '));
}

QString flagsText(const FlagFiles &flags)
{
    QStringList parts;
    for (story::Flag flag : story::kAllFlags)
        parts << flagName(flag) + u' ' + flagFileText(flags.of(flag));
    return parts.join(QStringLiteral(", "));
}

} // namespace storytool
