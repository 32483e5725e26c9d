#include "story/core/story_flags.h"

#include "shell/core/cp1251.h"
#include "shell/core/files.h"
#include "shell/core/text_lines.h"

namespace story {

StoryFlags::StoryFlags(tess::Files &files) : files_(files) {}

QString StoryFlags::fileOf(Flag flag)
{
    switch (flag) {
    case Flag::b:
        return QStringLiteral("engdat\\b.gdf");
    case Flag::c:
        return QStringLiteral("engdat\\c.gdf");
    case Flag::bc:
        return QStringLiteral("engdat\\bc.gdf");
    }
    Q_UNREACHABLE();
}

QString StoryFlags::read(Flag flag)
{
    return tess::splitTextLines(tess::decodeCp1251(files_.readAll(fileOf(flag)))).join(QString());
}

void StoryFlags::write(Flag flag, int value)
{
    files_.replaceWhole(fileOf(flag), QByteArray::number(value) + "\r\n");
}

void StoryFlags::resetProgress()
{
    for (Flag flag : kAllFlags)
        write(flag, 0);
}

} // namespace story
