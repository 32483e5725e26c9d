#pragma once
// A model of the story screen read from the choice tables without the engine,
// to check a random run on the real screen step by step.
#include "hostile_input.h"

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

// Where the player's story stands, and what a click on a slot does to it,
// read from the choice tables without the engine.
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
        state.captions = {story::kOpening.label2.toString(), story::kOpening.label3.toString(),
                          story::kOpening.label4.toString()};
        state.pane = pageText(story::kOpening.page);
    }

    static QString flagValue(const QByteArray &bytes)
    {
        QString value = QString::fromLatin1(bytes);
        value.remove(u'\r');
        value.remove(u'\n');
        return value;
    }

    void click(Slot slot)
    {
        alert = false;
        const story::ChoiceTable &table = story::gameTables().of(slot);
        for (Flag flag : table.refreshedFlags)
            state.mirrors[indexOf(flag)] = flagValue(files[indexOf(flag)]);
        for (const story::ChoiceRule &rule : table.rules) {
            if (state.captions[indexOf(slot)] != rule.caption)
                continue;
            bool holds = true;
            if (rule.condition.kind == story::Condition::Kind::Flag)
                holds = state.mirrors[indexOf(rule.condition.flag)] == rule.condition.value;
            else if (rule.condition.kind == story::Condition::Kind::Password)
                holds = password == rule.condition.value;
            if (!holds)
                continue;
            if (rule.page != 0 && unreadablePages.contains(rule.page)) {
                alert = true;  // nothing of the rule applies
                return;
            }
            if (rule.page != 0)
                state.pane = pageText(rule.page);
            if (rule.flagWrite.present)
                files[indexOf(rule.flagWrite.flag)] = QByteArray::number(rule.flagWrite.value) + "\r\n";
            const story::SlotChange *changes[] = {&rule.label2, &rule.label3, &rule.label4};
            for (std::size_t i = 0; i < 3; ++i) {
                if (!changes[i]->caption.isNull())
                    state.captions[i] = changes[i]->caption.toString();
                if (changes[i]->visibility != story::Visibility::Unchanged)
                    state.shown[i] = changes[i]->visibility == story::Visibility::Shown;
            }
            if (rule.other == story::Other::ShowPasswordBox)
                state.codeBox = true;
            else if (rule.other == story::Other::GameOver)
                leaves = Leaves::GameOver;
            else if (rule.other == story::Other::OpenConsole)
                leaves = Leaves::Console;
            return;
        }
    }

    void pressF8()
    {
        alert = false;
        if (unreadablePages.contains(story::kFinalPage)) {
            alert = true;
            return;
        }
        state.pane = pageText(story::kFinalPage);
        state.shown = {true, false, false};
        state.captions[0] = story::kFinalCaption.toString();
    }
};

inline StoryState observe(StoryScreen &screen)
{
    StoryState seen;
    for (Slot slot : {Slot::Label2, Slot::Label3, Slot::Label4}) {
        seen.captions[indexOf(slot)] = screen.caption(slot);
        seen.shown[indexOf(slot)] = screen.isShown(slot);
    }
    seen.pane = screen.Label1.text();
    for (Flag flag : story::kAllFlags)
        seen.mirrors[indexOf(flag)] = screen.mirror(flag);
    seen.codeBox = screen.isPasswordBoxShown();
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
