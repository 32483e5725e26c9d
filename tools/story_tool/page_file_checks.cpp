#include "tools/story_tool/page_file_checks.h"

#include "shell/core/cp1251.h"
#include "story/core/story_engine.h"
#include "tools/story_tool/story_player.h"
#include "tools/story_tool/pane_fit.h"

namespace storytool {
namespace {

// No CR or LF stands alone, and the last line has its end too.
bool endsEveryLineWithCrLf(const QByteArray &bytes)
{
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const bool crWithoutLf = bytes[i] == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n');
        const bool lfWithoutCr = bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r');
        if (crWithoutLf || lfWithoutCr)
            return false;
    }
    return bytes.isEmpty() || bytes.endsWith("\r\n");
}

} // namespace

std::vector<Finding> checkPageFiles(StoryPlayer &story, const QList<int> &pages, const PaneFit &fit)
{
    std::vector<Finding> findings;
    for (int page : pages) {
        const QString file = story::StoryEngine::pageFile(page);
        QByteArray bytes;
        try {
            bytes = story.pageBytes(page);
        } catch (const tess::FileError &error) {
            findings.push_back({Finding::Kind::PageFileMissing,
                                QStringLiteral("page %1: %2 cannot be read: %3").arg(page).arg(file, error.reason())});
            continue;
        }
        if (!tess::isValidCp1251(bytes))
            findings.push_back({Finding::Kind::PageFileUndecodable,
                                QStringLiteral("page %1: %2 holds the byte 0x98, which the code page leaves undefined")
                                    .arg(page)
                                    .arg(file)});
        if (!endsEveryLineWithCrLf(bytes))
            findings.push_back({Finding::Kind::PageFileLineEnds,
                                QStringLiteral("page %1: %2 has a line that does not end in CR LF").arg(page).arg(file)});
        const QString paneText = story.paneTextOf(page);
        if (!fit.fits(paneText))
            findings.push_back({Finding::Kind::PageTooLong,
                                QStringLiteral("page %1: %2 does not fit the story pane: it needs %3 px of %4")
                                    .arg(page)
                                    .arg(file)
                                    .arg(fit.heightNeeded(paneText))
                                    .arg(fit.paneHeight())});
    }
    return findings;
}

} // namespace storytool
