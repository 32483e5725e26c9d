#include "tools/story_tool/story_pages.h"

#include "story/core/choice_tables.h"
#include "story/core/story_engine.h"
#include "story/core/story_screen_state.h"

#include <QDir>

#include <algorithm>

namespace storytool {
namespace {

QList<int> pageFilesIn(const QString &root)
{
    QList<int> pages;
    const QDir text(QDir(root).filePath(QStringLiteral("text")));
    for (const QString &name : text.entryList({QStringLiteral("gt*.tf")}, QDir::Files)) {
        bool isNumber = false;
        const int page = name.sliced(2, name.size() - 5).toInt(&isNumber);
        // Only the names the game asks for: gt1.tf, never gt01.tf.
        if (isNumber && page > 0 && story::StoryEngine::pageFile(page) == QStringLiteral("text\\") + name)
            pages << page;
    }
    return pages;
}

} // namespace

QList<int> storyPages(const story::ChoiceTables &tables, const QString &root)
{
    QList<int> pages{story::kOpening.page, story::kFinalPage};
    for (story::Slot slot : story::kAllSlots) {
        for (const story::ChoiceRule &rule : tables.of(slot).rules) {
            if (rule.page != story::script::samePage)
                pages << rule.page;
        }
    }
    pages << pageFilesIn(root);
    std::sort(pages.begin(), pages.end());
    pages.erase(std::unique(pages.begin(), pages.end()), pages.end());
    return pages;
}

} // namespace storytool
