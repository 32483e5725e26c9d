#include "story/core/story_engine.h"

#include "shell/core/alerts.h"
#include "shell/core/file_error.h"
#include "shell/core/music.h"
#include "shell/core/text_loader.h"
#include "shell/core/text_target.h"
#include "story/core/choice_tables.h"
#include "story/core/story_flags.h"
#include "story/core/story_view.h"

#include <vector>

namespace story {
namespace {

const QString kPlayStoryMusic = QStringLiteral("play sound\\trackgp.mp3");
const QString kCloseStoryMusic = QStringLiteral("close sound\\trackgp.mp3");

} // namespace

StoryEngine::StoryEngine(StoryView &view, tess::TextLoader &loader, StoryFlags &flags,
                         tess::Music &music, tess::Alerts &alerts, const ChoiceTables &tables)
    : view_(view), loader_(loader), flags_(flags), music_(music), alerts_(alerts), tables_(tables)
{
}

QString StoryEngine::pageFile(int page)
{
    return QStringLiteral("text\\gt%1.tf").arg(page);
}

void StoryEngine::start()
{
    view_.setCaption(Slot::Label2, kOpening.label2.toString());
    view_.setCaption(Slot::Label4, kOpening.label4.toString());
    view_.setCaption(Slot::Label3, kOpening.label3.toString());
    music_.send(kPlayStoryMusic);
    loader_.AppendTextFile(pageFile(kOpening.page), view_.pane());
}

void StoryEngine::click(Slot slot)
{
    const ChoiceTable &table = tables_.of(slot);
    try {
        refreshMirrors(table);
        if (const ChoiceRule *rule = ruleFor(slot))
            apply(*rule);
    } catch (const tess::FileError &error) {
        // Nothing of the click has been applied; the player can try again
        // once the file is back.
        alerts_.showError(error.message());
    }
}

void StoryEngine::refreshMirrors(const ChoiceTable &table)
{
    // Read every flag before touching a mirror, so a missing file changes nothing.
    std::vector<QString> values;
    for (Flag flag : table.refreshedFlags)
        values.push_back(flags_.read(flag));
    for (std::size_t i = 0; i < values.size(); ++i)
        view_.setMirror(table.refreshedFlags[i], values[i]);
}

const ChoiceRule *StoryEngine::ruleFor(Slot slot) const
{
    const QString caption = view_.caption(slot);
    for (const ChoiceRule &rule : tables_.of(slot).rules) {
        const bool captionMatches = caption == rule.caption;
        bool conditionHolds = true;
        switch (rule.condition.kind) {
        case Condition::Kind::None:
            break;
        case Condition::Kind::Flag:
            conditionHolds = view_.mirror(rule.condition.flag) == rule.condition.value;
            break;
        case Condition::Kind::Password:
            conditionHolds = view_.password() == rule.condition.value;
            break;
        }
        if (captionMatches && conditionHolds)
            return &rule;
    }
    return nullptr;
}

void StoryEngine::apply(const ChoiceRule &rule)
{
    // Read the page before changing anything: a rule applies whole or not at all.
    const bool turnsPage = rule.page != script::samePage;
    const QString page = turnsPage ? loader_.readText(pageFile(rule.page)) : QString();
    const QString paneBefore = view_.pane().text();
    if (turnsPage) {
        view_.pane().setText(QString());
        loader_.appendLines(page, view_.pane());
    }
    if (rule.flagWrite.present) {
        try {
            flags_.write(rule.flagWrite.flag, rule.flagWrite.value);
        } catch (const tess::FileError &) {
            view_.pane().setText(paneBefore);
            throw;
        }
    }
    changeSlot(Slot::Label2, rule.label2);
    changeSlot(Slot::Label3, rule.label3);
    changeSlot(Slot::Label4, rule.label4);
    switch (rule.other) {
    case Other::None:
        break;
    case Other::ShowPasswordBox:
        view_.showPasswordBox();
        break;
    case Other::GameOver:
        gameOverSequence();
        break;
    case Other::OpenConsole:
        view_.hideStory();
        view_.showConsole();
        break;
    }
}

void StoryEngine::changeSlot(Slot slot, const SlotChange &change)
{
    if (!change.caption.isNull())
        view_.setCaption(slot, change.caption.toString());
    if (change.visibility != Visibility::Unchanged)
        view_.setShown(slot, change.visibility == Visibility::Shown);
}

void StoryEngine::gameOverSequence()
{
    try {
        view_.hideStory();
        view_.showGameOver();
        music_.send(kCloseStoryMusic);
    } catch (const tess::FileError &) {
        // The switch below is the fixed point the sequence always reaches.
    }
    view_.hideStory();
    view_.showGameOver();
}

void StoryEngine::press(StoryKey key)
{
    switch (key) {
    case StoryKey::F8:
        try {
            const QString page = loader_.readText(pageFile(kFinalPage));
            view_.pane().setText(QString());
            loader_.appendLines(page, view_.pane());
        } catch (const tess::FileError &error) {
            alerts_.showError(error.message());
            return;
        }
        view_.setShown(Slot::Label2, true);
        view_.setShown(Slot::Label4, false);
        view_.setShown(Slot::Label3, false);
        view_.setCaption(Slot::Label2, kFinalCaption.toString());
        break;
    case StoryKey::ConsoleKey:
        view_.hideStory();
        view_.showConsole();
        break;
    }
}

} // namespace story
