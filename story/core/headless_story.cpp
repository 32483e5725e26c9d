#include "story/core/headless_story.h"

namespace story {

HeadlessStory::HeadlessStory(tess::Files &files, const ChoiceTables &tables, tess::Music *music,
                             tess::Alerts *alerts)
    : tables_(tables), loader_(files, pump_), flags_(files),
      engine_(view_, loader_, flags_, music ? *music : quietMusic_, alerts ? *alerts : keptAlerts_, tables)
{
}

QString HeadlessStory::paneTextOf(int page)
{
    tess::TextHolder pane;
    loader_.appendLines(loader_.readText(StoryEngine::pageFile(page)), pane);
    return pane.text();
}

} // namespace story
