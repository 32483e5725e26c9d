#include "tools/story_tool/story_check.h"

#include "tools/story_tool/continuity_check.h"
#include "tools/story_tool/story_player.h"
#include "tools/story_tool/page_file_checks.h"
#include "tools/story_tool/story_explorer.h"
#include "tools/story_tool/story_pages.h"

namespace storytool {

CheckReport checkStory(const story::ChoiceTables &tables, const QString &root, const PaneFit &fit)
{
    StoryPlayer story(tables, root);
    const QList<int> pages = storyPages(tables, root);
    const std::vector<StoryGraph> graphs = exploreEveryStart(story);

    CheckReport report;
    report.root = root;
    report.pages = int(pages.size());
    for (story::Slot slot : story::kAllSlots)
        report.rules += int(tables.of(slot).rules.size());
    for (const StoryGraph &graph : graphs)
        report.starts.push_back(summarize(graph, pages));
    report.findings = checkPageFiles(story, pages, fit);
    for (Finding &finding : playFindings(tables, graphs, pages))
        report.findings.push_back(std::move(finding));
    if (const auto notes = readStoryNotes(root)) {
        if (const NotesProblem *problem = std::get_if<NotesProblem>(&*notes)) {
            report.findings.push_back({Finding::Kind::NotesUnreadable,
                                       QStringLiteral("%1:%2: %3").arg(storyNotesPath(root)).arg(problem->line).arg(problem->message)});
        } else {
            const std::vector<Fact> &facts = std::get<StoryNotes>(*notes).facts;
            report.facts = int(facts.size());
            report.unusedFacts = unusedFacts(facts);
            for (Finding &finding : continuityFindings(facts, graphs, pages))
                report.findings.push_back(std::move(finding));
        }
    }
    return report;
}

} // namespace storytool
