// The story flag reader over any bytes a flag file can hold.
#include "memory_files.h"

#include "shell/core/cp1251.h"
#include "story/core/story_flags.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    MemoryFiles files;
    story::StoryFlags flags(files);
    for (story::Flag flag : story::kAllFlags) {
        files.content[story::StoryFlags::fileOf(flag)] = bytes;
        const QString value = flags.read(flag);
        if (value.contains(u'\r') || value.size() > bytes.size())
            std::abort();
        if ((bytes == "0\r\n" && value != u"0") || (bytes == "1\r\n" && value != u"1"))
            std::abort();
        // A write always leaves the one form the game reads back.
        flags.write(flag, int(size % 2));
        if (flags.read(flag) != QString::number(size % 2))
            std::abort();
    }
    return 0;
}
