#pragma once
// The story screen as the game's engine plays it without a window, to check
// a random run on the real screen step by step.
#include "hostile_input.h"
#include "memory_files.h"

#include "story/core/headless_story.h"

#include <memory>

namespace {

// ------------------------------------------------------------ story model

struct StoryState {
    std::array<QString, 3> captions;
    std::array<bool, 3> shown{true, true, true};
    QString pane;
    std::array<QString, 3> mirrors;  // b, c, bc
    bool codeBox = false;
    // The slots' colours: kLaidOut until the first hover, kAllNormal, or the
    // index of the one slot in the highlight colour.
    int lit = kLaidOut;
    static constexpr int kLaidOut = -2;
    static constexpr int kAllNormal = -1;
    static constexpr int kMixed = -3;
    bool operator==(const StoryState &) const = default;
};

inline std::size_t indexOf(Slot slot) { return std::size_t(slot); }
inline std::size_t indexOf(Flag flag) { return std::size_t(flag); }

// A random walk seldom gets deep into the story on its own; some games start
// along this road to the code box, as far as a random point of it.
const char *const kRoadToTheCodeBox[] = {
    "Подводный мир", "Уйти", "Ответить", "Получить данные", "Закрыть", "Далее", "Виртуал Сити",
    "Войти в главное меню", "Виртуал банк", "104|8", ">Далее", ">>Далее", ">>>Далее", ">>>>Далее", "Планетарий",
    "Ввести код карты: 7183", "Вернуться домой", "Прочесть сообщения", "Закрыть меню контролера", "Остаться",
    "Ехать", "Оторваться", ">>>", "Войти в здание", "1 час", "[киберкресло]", "[HOST#46]", "14 слов",
    "Дом у дороги", "->", "Ехать на Ивин роуч 47", "Нет...",
};

// Where the player's story stands, and what a click on a slot does to it:
// the game's story engine without a window, on pages and flags in memory.
// The walk sets the flag files, the typed text and the pages that cannot be
// read; each move takes them in and gives back what the screen should show.
class StoryModel {
public:
    StoryState state;
    std::array<QByteArray, 3> files{"0\r\n", "0\r\n", "0\r\n"};
    QString password;
    QSet<int> unreadablePages;
    enum class Leaves { No, GameOver, Console } leaves = Leaves::No;
    bool alert = false;

    StoryModel()
    {
        for (int page = 1; page <= story::pageCount(story::gameTables()); ++page)
            files_->content[story::StoryEngine::pageFile(page)] = pageText(page).toLatin1();
        move([this] { story_->engine().start(); });
    }

    void click(Slot slot)
    {
        move([this, slot] { story_->engine().click(slot); });
    }

    void pressF8()
    {
        move([this] { story_->engine().press(story::StoryKey::F8); });
    }

private:
    template <typename Move>
    void move(Move &&play)
    {
        for (Flag flag : story::kAllFlags)
            files_->content[story::StoryFlags::fileOf(flag)] = files[indexOf(flag)];
        files_->unreadable.clear();
        for (int page : unreadablePages)
            files_->unreadable.insert(story::StoryEngine::pageFile(page));
        story_->engine().setCodeBoxText(password);
        play();
        const story::StoryScreenState &now = story_->state();
        for (Slot slot : {Slot::Label2, Slot::Label3, Slot::Label4}) {
            state.captions[indexOf(slot)] = now.choice(slot).caption;
            state.shown[indexOf(slot)] = now.choice(slot).shown;
        }
        state.pane = now.pane;
        for (Flag flag : story::kAllFlags) {
            state.mirrors[indexOf(flag)] = now.mirror(flag);
            files[indexOf(flag)] = files_->content.value(story::StoryFlags::fileOf(flag));
        }
        state.codeBox = now.codeBoxShown;
        if (now.screen == story::ShownScreen::GameOver)
            leaves = Leaves::GameOver;
        else if (now.screen == story::ShownScreen::Console)
            leaves = Leaves::Console;
        alert = !story_->takeErrors().isEmpty();
    }

    // Held apart so the model can be started afresh by assignment.
    std::unique_ptr<MemoryFiles> files_ = std::make_unique<MemoryFiles>();
    std::unique_ptr<story::HeadlessStory> story_ = std::make_unique<story::HeadlessStory>(*files_);
};

inline StoryState observe(StoryScreen &screen)
{
    StoryState seen;
    for (Slot slot : {Slot::Label2, Slot::Label3, Slot::Label4}) {
        const tess::Label &label = slot == Slot::Label2 ? screen.Label2 : slot == Slot::Label3 ? screen.Label3 : screen.Label4;
        seen.captions[indexOf(slot)] = label.text();
        seen.shown[indexOf(slot)] = !label.isHidden();
    }
    seen.pane = screen.Label1.text();
    const tess::Label *mirrors[] = {&screen.Label11, &screen.Label12, &screen.Label13};  // b, c, bc
    for (Flag flag : story::kAllFlags)
        seen.mirrors[indexOf(flag)] = mirrors[indexOf(flag)]->text();
    seen.codeBox = !screen.Text1.isHidden();
    const tess::Label *labels[] = {&screen.Label2, &screen.Label3, &screen.Label4};
    int normal = 0, laidOut = 0, highlit = -1, highlights = 0;
    for (int i = 0; i < 3; ++i) {
        const QColor colour = labels[i]->foreground();
        normal += colour == StoryScreen::kNormalColour ? 1 : 0;
        laidOut += colour == tess::layoutColor(0x80000012) ? 1 : 0;
        if (colour == StoryScreen::kHighlightColour) {
            highlit = i;
            ++highlights;
        }
    }
    if (laidOut == 3)
        seen.lit = StoryState::kLaidOut;
    else if (normal == 3)
        seen.lit = StoryState::kAllNormal;
    else if (highlights == 1 && normal == 2)
        seen.lit = highlit;
    else
        seen.lit = StoryState::kMixed;
    return seen;
}

inline QString describe(const StoryState &state)
{
    QStringList parts;
    for (std::size_t i = 0; i < 3; ++i)
        parts << (state.shown[i] ? state.captions[i] : QStringLiteral("(%1)").arg(state.captions[i]));
    return QStringLiteral("slots %1; pane %2; mirrors b=%3 c=%4 bc=%5; code box %6; lit %7")
        .arg(parts.join(QStringLiteral(" / ")), describe(state.pane), describe(state.mirrors[0]),
             describe(state.mirrors[1]), describe(state.mirrors[2]), state.codeBox ? "shown" : "hidden",
             state.lit == StoryState::kLaidOut     ? QStringLiteral("none yet")
             : state.lit == StoryState::kAllNormal ? QStringLiteral("none")
             : state.lit == StoryState::kMixed     ? QStringLiteral("mixed colours")
                                                   : QString::number(state.lit + 2));
}

// A point inside the slot's rectangle, or anywhere in the window.
// `slot` is 0, 1 or 2 for Label2, Label3 or Label4; -1 for anywhere.
inline QPoint somewhere(Typist &typist, StoryScreen &screen, int slot)
{
    const QRect area = slot == 0   ? screen.Label2.geometry()
                       : slot == 1 ? screen.Label3.geometry()
                       : slot == 2 ? screen.Label4.geometry()
                                   : screen.rect();
    return {area.left() + typist.below(area.width()), area.top() + typist.below(area.height())};
}

// The slot a click at the point lands on, if any.
inline std::optional<Slot> slotAt(StoryScreen &screen, QPoint point)
{
    const QWidget *target = screen.childAt(point);
    if (target == &screen.Label2)
        return Slot::Label2;
    if (target == &screen.Label3)
        return Slot::Label3;
    if (target == &screen.Label4)
        return Slot::Label4;
    return std::nullopt;
}

} // namespace
