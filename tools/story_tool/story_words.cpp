#include "tools/story_tool/story_words.h"

#include <QStringList>

namespace storytool {

QString slotName(story::Slot slot)
{
    switch (slot) {
    case story::Slot::Label2:
        return QStringLiteral("Label2");
    case story::Slot::Label3:
        return QStringLiteral("Label3");
    case story::Slot::Label4:
        return QStringLiteral("Label4");
    }
    Q_UNREACHABLE();
}

std::optional<story::Slot> slotNamed(QStringView name)
{
    for (story::Slot slot : story::kAllSlots) {
        if (slotName(slot) == name)
            return slot;
    }
    return std::nullopt;
}



QString screenName(story::ShownScreen screen)
{
    switch (screen) {
    case story::ShownScreen::Story:
        return QStringLiteral("story");
    case story::ShownScreen::None:
        return QStringLiteral("no screen");
    case story::ShownScreen::GameOver:
        return QStringLiteral("game over");
    case story::ShownScreen::Console:
        return QStringLiteral("console");
    }
    Q_UNREACHABLE();
}

QString quoted(const QString &caption)
{
    return u'«' + caption + u'»';
}

QString backslashQuoted(const QString &text)
{
    QString escaped = text;
    escaped.replace(u'\\', QStringLiteral("\\\\")).replace(u'"', QStringLiteral("\\\""));
    return u'"' + escaped + u'"';
}

QString conditionText(const story::Condition &condition)
{
    switch (condition.kind) {
    case story::Condition::Kind::None:
        return QString();
    case story::Condition::Kind::Flag:
        return QStringLiteral("[%1 = \"%2\"]").arg(flagName(condition.flag), condition.value);
    case story::Condition::Kind::Password:
        return QStringLiteral("[code box = \"%1\"]").arg(condition.value);
    }
    Q_UNREACHABLE();
}



QString choicesText(const std::array<story::ChoiceSlotState, 3> &choices)
{
    QStringList parts;
    for (const story::ChoiceSlotState &choice : choices)
        parts << (choice.shown ? quoted(choice.caption) : QStringLiteral("—"));
    return parts.join(QStringLiteral(" / "));
}

story::Slot slotOf(const story::ChoiceTables &tables, const story::ChoiceRule &rule)
{
    for (story::Slot slot : story::kAllSlots) {
        const auto rules = tables.of(slot).rules;
        if (&rule >= rules.data() && &rule < rules.data() + rules.size())
            return slot;
    }
    Q_UNREACHABLE();
}

QString ruleText(const story::ChoiceTables &tables, const story::ChoiceRule &rule)
{
    QString text = slotName(slotOf(tables, rule)) + u' ' + quoted(rule.caption.toString());
    if (const QString condition = conditionText(rule.condition); !condition.isEmpty())
        text += u' ' + condition;
    switch (rule.other) {
    case story::Other::GameOver:
        return text + QStringLiteral(" → game over");
    case story::Other::OpenConsole:
        return text + QStringLiteral(" → console");
    case story::Other::None:
    case story::Other::ShowPasswordBox:
        break;
    }
    if (rule.page == story::script::samePage)
        return text + QStringLiteral(" → same page");
    return text + QStringLiteral(" → page %1").arg(rule.page);
}

QString moveText(const Move &move, const std::array<story::ChoiceSlotState, 3> &choices)
{
    switch (move.kind) {
    case Move::Kind::Click: {
        const QString click = QStringLiteral("click ") + quoted(choices[std::size_t(move.slot)].caption);
        return move.typed ? QStringLiteral("type \"%1\" and %2").arg(*move.typed, click) : click;
    }
    case Move::Kind::F8:
        return QStringLiteral("F8");
    case Move::Kind::ConsoleKey:
        return QStringLiteral("console key");
    }
    Q_UNREACHABLE();
}

} // namespace storytool
