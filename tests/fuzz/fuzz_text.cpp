// The text decoder, the line splitter and the line loader over any bytes a
// page file can hold.
#include "memory_files.h"
#include "shell/core/quiet_services.h"

#include "shell/core/cp1251.h"
#include "shell/core/text_lines.h"
#include "shell/core/text_loader.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString text = tess::decodeCp1251(bytes);
    if (text.size() != bytes.size())
        std::abort();  // one character for every byte
    const QStringList lines = tess::splitTextLines(text);
    qsizetype kept = 0;
    for (const QString &line : lines) {
        if (line.contains(u'\r'))
            std::abort();  // a CR always ends a line
        kept += line.size();
    }
    if (kept > text.size())
        std::abort();
    if (tess::isValidCp1251(bytes) && tess::encodeCp1251(text) != bytes.toByteArray())
        std::abort();  // defined bytes come back unchanged
    if (tess::normalizeLineBreaks(text).contains(u'\r'))
        std::abort();

    MemoryFiles files;
    files.content[QStringLiteral("text\\page.tf")] = bytes.toByteArray();
    tess::QuietPump pump;
    tess::TextHolder pane;
    tess::TextLoader loader(files, pump);
    loader.AppendTextFile(QStringLiteral("text\\page.tf"), pane);
    QString expected;
    for (const QString &line : lines)
        expected += line + QStringLiteral("\r\n");
    if (pane.value != expected || pump.holds != 0 || pump.lines != lines.size())
        std::abort();
    return 0;
}
