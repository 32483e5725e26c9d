#include "tools/story_tool/script_replay.h"

#include "tools/story_tool/story_player.h"
#include "tools/story_tool/story_pages.h"
#include "tools/story_tool/story_words.h"

namespace storytool {
namespace {

using namespace walk;

QString shownText(const std::optional<QString> &caption)
{
    return caption ? quoted(*caption) : QStringLiteral("hidden");
}

QString shownText(const story::ChoiceSlotState &choice)
{
    return shownText(choice.shown ? std::optional(choice.caption) : std::nullopt);
}

// Each step returns what went wrong, or nothing.
class Replayer {
public:
    Replayer(const story::ChoiceTables &tables, const QString &root) : story_(tables, root), root_(root) {}

    std::optional<QString> open()
    {
        story_.open(newGameStart().flags);
        return errorsShown();
    }

    std::optional<QString> operator()(const Click &click)
    {
        if (const auto notShown = storyScreenMissing())
            return notShown;
        const std::optional<story::Slot> slot = click.slot ? click.slot : slotShowing(click.caption);
        if (!slot)
            return clickMissing(click.caption);
        if (!story_.screen().choice(*slot).shown)
            return QStringLiteral("%1 is hidden").arg(slotName(*slot));
        story_.play(Move::click(*slot));
        return errorsShown();
    }

    std::optional<QString> operator()(const Type &type)
    {
        if (const auto notShown = storyScreenMissing())
            return notShown;
        if (!story_.screen().codeBoxShown)
            return QStringLiteral("the code box is hidden");
        story_.type(type.text);
        return std::nullopt;
    }

    std::optional<QString> operator()(const Press &press)
    {
        if (const auto notShown = storyScreenMissing())
            return notShown;
        story_.play(press.key);
        return errorsShown();
    }

    std::optional<QString> operator()(const SetFlag &set)
    {
        story_.flags().of(set.flag) = set.bytes;
        return std::nullopt;
    }

    std::optional<QString> operator()(const ExpectPage &expected)
    {
        QString pageText;
        try {
            pageText = story_.paneTextOf(expected.page);
        } catch (const tess::FileError &error) {
            return QStringLiteral("page %1 cannot be read: %2").arg(expected.page).arg(error.reason());
        }
        if (story_.screen().pane == pageText)
            return std::nullopt;
        return QStringLiteral("expected page %1, the pane shows %2").arg(expected.page).arg(paneDescription());
    }

    std::optional<QString> operator()(const ExpectChoices &expected)
    {
        QStringList expectedText;
        bool same = true;
        for (story::Slot slot : story::kAllSlots) {
            const std::optional<QString> &caption = expected.captions[std::size_t(slot)];
            const story::ChoiceSlotState &choice = story_.screen().choice(slot);
            expectedText << (caption ? quoted(*caption) : QStringLiteral("—"));
            same = same && (caption ? choice.shown && choice.caption == *caption : !choice.shown);
        }
        if (same)
            return std::nullopt;
        return QStringLiteral("expected choices %1, they are %2")
            .arg(expectedText.join(QStringLiteral(" / ")), choicesText(story_.screen().choices));
    }

    std::optional<QString> operator()(const ExpectSlot &expected)
    {
        const story::ChoiceSlotState &choice = story_.screen().choice(expected.slot);
        const bool same = expected.caption ? choice.shown && choice.caption == *expected.caption : !choice.shown;
        if (same)
            return std::nullopt;
        return QStringLiteral("expected %1 %2, it is %3")
            .arg(slotName(expected.slot), shownText(expected.caption), shownText(choice));
    }

    std::optional<QString> operator()(const ExpectFlag &expected)
    {
        const std::optional<QByteArray> &bytes = story_.flags().of(expected.flag);
        if (bytes == expected.bytes)
            return std::nullopt;
        return QStringLiteral("expected flag %1 %2, it is %3")
            .arg(flagName(expected.flag), flagFileText(expected.bytes), flagFileText(bytes));
    }

    std::optional<QString> operator()(const ExpectScreen &expected)
    {
        if (story_.screen().screen == expected.screen)
            return std::nullopt;
        return QStringLiteral("expected the %1 screen, the game shows %2")
            .arg(screenName(expected.screen), screenName(story_.screen().screen));
    }

    std::optional<QString> operator()(const ExpectCodeBox &expected)
    {
        if (story_.screen().codeBoxShown == expected.shown)
            return std::nullopt;
        return QStringLiteral("expected the code box %1, it is %2")
            .arg(expected.shown ? QStringLiteral("shown") : QStringLiteral("hidden"),
                 expected.shown ? QStringLiteral("hidden") : QStringLiteral("shown"));
    }

private:
    std::optional<QString> errorsShown()
    {
        const QStringList errors = story_.takeErrors();
        if (errors.isEmpty())
            return std::nullopt;
        return QStringLiteral("the game showed an error: %1").arg(errors.join(u' '));
    }

    std::optional<QString> storyScreenMissing()
    {
        if (story_.screen().screen == story::ShownScreen::Story)
            return std::nullopt;
        return QStringLiteral("the story screen is not shown, the game shows %1").arg(screenName(story_.screen().screen));
    }

    // The one visible slot with the caption; none when no visible slot or
    // more than one shows it.
    std::optional<story::Slot> slotShowing(const QString &caption)
    {
        std::optional<story::Slot> found;
        for (story::Slot slot : story::kAllSlots) {
            const story::ChoiceSlotState &choice = story_.screen().choice(slot);
            if (!choice.shown || choice.caption != caption)
                continue;
            if (found)
                return std::nullopt;
            found = slot;
        }
        return found;
    }

    QString clickMissing(const QString &caption)
    {
        const auto choices = story_.screen().choices;
        const auto visibleWithCaption = [&](const story::ChoiceSlotState &choice) { return choice.shown && choice.caption == caption; };
        if (std::count_if(choices.begin(), choices.end(), visibleWithCaption) > 1)
            return QStringLiteral("%1 stands on more than one slot; click it by its slot name").arg(quoted(caption));
        return QStringLiteral("no visible choice %1; the choices are %2").arg(quoted(caption), choicesText(choices));
    }

    // Which page the pane shows, if it shows one of the story's pages.
    QString paneDescription()
    {
        const QString &pane = story_.screen().pane;
        for (int page : storyPages(story_.tables(), root_)) {
            try {
                if (story_.paneTextOf(page) == pane)
                    return QStringLiteral("page %1").arg(page);
            } catch (const tess::FileError &) {
                // A page that cannot be read is not the one shown.
            }
        }
        return QStringLiteral("no page of the story: %1").arg(quoted(pane.section(QStringLiteral("\r\n"), 0, 0)));
    }

    StoryPlayer story_;
    QString root_;
};

} // namespace

ReplayResult replayScript(const story::ChoiceTables &tables, const QString &root, const std::vector<walk::Line> &lines)
{
    ReplayResult result;
    Replayer replayer(tables, root);
    if (const std::optional<QString> failure = replayer.open()) {
        result.failure = walk::Failure{0, *failure};
        return result;
    }
    for (const walk::Line &line : lines) {
        if (const std::optional<QString> failure = std::visit(replayer, line.step)) {
            result.failure = walk::Failure{line.number, *failure};
            return result;
        }
        ++(walk::isExpectation(line.step) ? result.expectations : result.actions);
    }
    return result;
}

} // namespace storytool
