#include "story/core/story_engine.h"

#include "shell/core/alerts.h"
#include "shell/core/file_error.h"
#include "shell/core/music.h"
#include "shell/core/text_loader.h"
#include "story/core/choice_tables.h"
#include "story/core/story_flags.h"
#include "story/core/story_view.h"

#include <QStringList>

#include <vector>

namespace story {
namespace {

const QString kPlayStoryMusic = QStringLiteral("play sound\\trackgp.mp3");
const QString kCloseStoryMusic = QStringLiteral("close sound\\trackgp.mp3");

// What the player faces: the page and the captions shown.
QStringList facing(const StoryScreenState &state)
{
    QStringList out;
    for (Slot slot : kAllSlots)
        out << (state.choice(slot).shown ? state.choice(slot).caption : QString());
    return out;
}

} // namespace

QString StoryEngine::Pane::text() const
{
    return engine_.state_.pane;
}

void StoryEngine::Pane::setText(const QString &text)
{
    engine_.state_.pane = text;
    engine_.view_.drawPane(text);
}

void StoryEngine::Pane::appendText(const QString &more)
{
    engine_.state_.pane += more;
    engine_.view_.extendPane(more);
}

StoryEngine::StoryEngine(StoryView &view, tess::TextLoader &loader, StoryFlags &flags,
                         tess::Music &music, tess::Alerts &alerts, const ChoiceTables &tables)
    : view_(view), loader_(loader), flags_(flags), music_(music), alerts_(alerts), tables_(tables)
{
}

QString StoryEngine::pageFile(int page)
{
    return QStringLiteral("text\\gt%1.tf").arg(page);
}

void StoryEngine::restore(const StoryScreenState &state)
{
    state_ = state;
    view_.drawPane(state_.pane);
    view_.draw(state_);
}

void StoryEngine::setCodeBoxText(const QString &text)
{
    state_.codeBoxText = text;
}

void StoryEngine::refreshAllMirrors()
{
    // One after another: a flag that cannot be read leaves the ones before it taken.
    for (const Flag &flag : kAllFlags)
        refreshMirrors({&flag, 1});
}

template <typename Play>
StoryTurn StoryEngine::turn(Play &&play)
{
    const QString paneBefore = state_.pane;
    const QStringList slotsBefore = facing(state_);
    left_ = false;
    play();
    view_.draw(state_);
    return {state_.pane != paneBefore, facing(state_) != slotsBefore, left_};
}

StoryTurn StoryEngine::start()
{
    return turn([this] {
        state_.choice(Slot::Label2).caption = kOpening.label2.toString();
        state_.choice(Slot::Label4).caption = kOpening.label4.toString();
        state_.choice(Slot::Label3).caption = kOpening.label3.toString();
        view_.draw(state_);
        music_.send(kPlayStoryMusic);
        loader_.AppendTextFile(pageFile(kOpening.page), pane_);
    });
}

StoryTurn StoryEngine::click(Slot slot)
{
    return turn([this, slot] {
        try {
            refreshMirrors(tables_.of(slot).refreshedFlags);
            if (const ChoiceRule *rule = ruleFor(slot))
                apply(*rule);
        } catch (const tess::FileError &error) {
            // Nothing of the click has been applied; the player can try again
            // once the file is back.
            alerts_.showError(error.message());
        }
    });
}

void StoryEngine::refreshMirrors(std::span<const Flag> flags)
{
    // Read every flag before touching a mirror, so a missing file changes nothing.
    std::vector<QString> values;
    for (Flag flag : flags)
        values.push_back(flags_.read(flag));
    for (std::size_t i = 0; i < values.size(); ++i)
        state_.mirror(flags[i]) = values[i];
}

const ChoiceRule *StoryEngine::ruleFor(Slot slot) const
{
    const QString &caption = state_.choice(slot).caption;
    for (const ChoiceRule &rule : tables_.of(slot).rules) {
        const bool captionMatches = caption == rule.caption;
        bool conditionHolds = true;
        switch (rule.condition.kind) {
        case Condition::Kind::None:
            break;
        case Condition::Kind::Flag:
            conditionHolds = state_.mirror(rule.condition.flag) == rule.condition.value;
            break;
        case Condition::Kind::Password:
            conditionHolds = state_.codeBoxText == rule.condition.value;
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
    const QString paneBefore = state_.pane;
    if (turnsPage) {
        pane_.setText(QString());
        loader_.appendLines(page, pane_);
    }
    if (rule.flagWrite.present) {
        try {
            flags_.write(rule.flagWrite.flag, rule.flagWrite.value);
        } catch (const tess::FileError &) {
            pane_.setText(paneBefore);
            throw;
        }
    }
    changeSlot(Slot::Label2, rule.label2);
    changeSlot(Slot::Label3, rule.label3);
    changeSlot(Slot::Label4, rule.label4);
    view_.draw(state_);
    switch (rule.other) {
    case Other::None:
        break;
    case Other::ShowPasswordBox:
        state_.codeBoxShown = true;
        break;
    case Other::GameOver:
        gameOverSequence();
        break;
    case Other::OpenConsole:
        leave(ShownScreen::None);
        leave(ShownScreen::Console);
        break;
    }
}

void StoryEngine::changeSlot(Slot slot, const SlotChange &change)
{
    if (!change.caption.isNull())
        state_.choice(slot).caption = change.caption.toString();
    if (change.visibility != Visibility::Unchanged)
        state_.choice(slot).shown = change.visibility == Visibility::Shown;
}

void StoryEngine::leave(ShownScreen screen)
{
    switch (screen) {
    case ShownScreen::Story:
        return;
    case ShownScreen::None:
        view_.hideStory();
        left_ = true;
        break;
    case ShownScreen::GameOver:
        view_.showGameOver();
        break;
    case ShownScreen::Console:
        view_.showConsole();
        break;
    }
    state_.screen = screen;
}

void StoryEngine::gameOverSequence()
{
    try {
        leave(ShownScreen::None);
        leave(ShownScreen::GameOver);
        music_.send(kCloseStoryMusic);
    } catch (const tess::FileError &) {
        // The switch below is the fixed point the sequence always reaches.
    }
    leave(ShownScreen::None);
    leave(ShownScreen::GameOver);
}

StoryTurn StoryEngine::press(StoryKey key)
{
    return turn([this, key] {
        switch (key) {
        case StoryKey::F8:
            try {
                const QString page = loader_.readText(pageFile(kFinalPage));
                pane_.setText(QString());
                loader_.appendLines(page, pane_);
            } catch (const tess::FileError &error) {
                alerts_.showError(error.message());
                return;
            }
            state_.choice(Slot::Label2).shown = true;
            state_.choice(Slot::Label4).shown = false;
            state_.choice(Slot::Label3).shown = false;
            state_.choice(Slot::Label2).caption = kFinalCaption.toString();
            break;
        case StoryKey::ConsoleKey:
            leave(ShownScreen::None);
            leave(ShownScreen::Console);
            break;
        }
    });
}

} // namespace story
