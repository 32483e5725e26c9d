#include "tools/story_tool/play_findings.h"

#include "story/core/choice_tables.h"
#include "tools/story_tool/story_words.h"

#include <QSet>

#include <algorithm>

namespace storytool {
namespace {

const QString &clickedCaption(const StoryGraph &graph, const StoryEdge &edge)
{
    return graph.states[std::size_t(edge.from)].position.choices[std::size_t(edge.move.slot)].caption;
}

QString routeText(const StoryGraph &graph, int state)
{
    QStringList moves;
    for (int index : graph.routeTo(state)) {
        const StoryEdge &edge = graph.edges[std::size_t(index)];
        moves << moveText(edge.move, graph.states[std::size_t(edge.from)].position.choices);
    }
    return moves.isEmpty() ? QStringLiteral("the start") : moves.join(QStringLiteral(", "));
}

QString stateText(const StoryGraph &graph, int state)
{
    const StoryPosition &position = graph.states[std::size_t(state)].position;
    return QStringLiteral("page %1 with %2, code box %3; flags %4 (start: %5; reached by %6)")
        .arg(position.page)
        .arg(choicesText(position.choices), position.codeBoxShown ? QStringLiteral("shown") : QStringLiteral("hidden"),
             flagsText(position.flags), graph.start.description, routeText(graph, state));
}

std::vector<Finding> unreachedPages(const std::vector<StoryGraph> &graphs, const QList<int> &pages)
{
    QSet<int> shown;
    for (const StoryGraph &graph : graphs)
        shown.unite(pagesShownByPlay(graph));
    std::vector<Finding> findings;
    for (int page : pages) {
        if (!shown.contains(page))
            findings.push_back({Finding::Kind::UnreachedPage,
                                QStringLiteral("page %1 is never shown by play from any start").arg(page)});
    }
    return findings;
}

// Why a rule never applied, from the clicks on its slot with its caption.
QString whyNeverApplied(const story::ChoiceTables &tables, const story::ChoiceRule &rule,
                        const std::vector<StoryGraph> &graphs)
{
    const story::Slot slot = slotOf(tables, rule);
    std::vector<const StoryEdge *> clicks;
    for (const StoryGraph &graph : graphs) {
        for (const StoryEdge &edge : graph.edges) {
            if (graph.isPlayClick(edge) && edge.move.slot == slot && clickedCaption(graph, edge) == rule.caption)
                clicks.push_back(&edge);
        }
    }
    if (clicks.empty())
        return QStringLiteral("%1 never stands on a visible %2").arg(quoted(rule.caption.toString()), slotName(slot));
    for (const StoryEdge *click : clicks) {
        if (click->rule == &rule)
            return QStringLiteral("the click fails: %1").arg(click->errors.join(u' '));
    }
    const auto takenEarlier = [](const StoryEdge *click) { return click->rule != nullptr; };
    if (std::all_of(clicks.begin(), clicks.end(), takenEarlier))
        return QStringLiteral("shadowed: the earlier rule %1 takes every click").arg(ruleText(tables, *clicks.front()->rule));
    return QStringLiteral("its condition never holds when no earlier rule takes the click");
}

std::vector<Finding> rulesNeverApplied(const story::ChoiceTables &tables, const std::vector<StoryGraph> &graphs)
{
    QSet<const story::ChoiceRule *> applied;
    for (const StoryGraph &graph : graphs) {
        for (const StoryEdge &edge : graph.edges) {
            if (graph.isPlayClick(edge) && edge.applied())
                applied << edge.rule;
        }
    }
    std::vector<Finding> findings;
    for (story::Slot slot : story::kAllSlots) {
        for (const story::ChoiceRule &rule : tables.of(slot).rules) {
            if (!applied.contains(&rule))
                findings.push_back({Finding::Kind::RuleNeverApplies,
                                    QStringLiteral("rule %1 never applies: %2")
                                        .arg(ruleText(tables, rule), whyNeverApplied(tables, rule, graphs))});
        }
    }
    return findings;
}

bool hasRuleFor(const story::ChoiceTables &tables, story::Slot slot, const QString &caption)
{
    const auto rules = tables.of(slot).rules;
    return std::any_of(rules.begin(), rules.end(), [&](const story::ChoiceRule &rule) { return rule.caption == caption; });
}

std::vector<Finding> captionsWithoutRule(const story::ChoiceTables &tables, const std::vector<StoryGraph> &graphs)
{
    QSet<QString> reported;
    std::vector<Finding> findings;
    for (const StoryGraph &graph : graphs) {
        for (std::size_t state = 0; state < graph.states.size(); ++state) {
            for (story::Slot slot : story::kAllSlots) {
                const story::ChoiceSlotState &choice = graph.states[state].position.choices[std::size_t(slot)];
                const QString name = slotName(slot) + u' ' + quoted(choice.caption);
                if (!choice.shown || hasRuleFor(tables, slot, choice.caption) || reported.contains(name))
                    continue;
                reported << name;
                findings.push_back({Finding::Kind::CaptionWithoutRule,
                                    QStringLiteral("%1 has no rule; it stands visible on %2")
                                        .arg(name, stateText(graph, int(state)))});
            }
        }
    }
    return findings;
}

// A state is stuck when no click leads anywhere. F8 and the console key
// always lead on, but a player should not need them to go on.
std::vector<Finding> stuckStates(const std::vector<StoryGraph> &graphs)
{
    QSet<QString> reported;
    std::vector<Finding> findings;
    for (const StoryGraph &graph : graphs) {
        std::vector<bool> clickLeadsOn(graph.states.size(), false);
        for (const StoryEdge &edge : graph.edges) {
            if (edge.move.isClick() && edge.leadsOn())
                clickLeadsOn[std::size_t(edge.from)] = true;
        }
        for (std::size_t state = 0; state < graph.states.size(); ++state) {
            const StoryPosition &position = graph.states[state].position;
            const QString where = QString::number(position.page) + choicesText(position.choices)
                                  + QString::number(position.codeBoxShown);
            if (clickLeadsOn[state] || reported.contains(where))
                continue;
            reported << where;
            findings.push_back({Finding::Kind::StuckState,
                                QStringLiteral("stuck: no choice leads on from %1").arg(stateText(graph, int(state)))});
        }
    }
    return findings;
}

} // namespace

QSet<int> pagesShownByPlay(const StoryGraph &graph)
{
    QSet<int> shown{story::kOpening.page};
    for (const StoryEdge &edge : graph.edges) {
        if (graph.isPlayClick(edge) && edge.applied() && edge.rule->page != story::script::samePage)
            shown << edge.rule->page;
    }
    return shown;
}

StartSummary summarize(const StoryGraph &graph, const QList<int> &pages)
{
    StartSummary summary;
    summary.start = graph.start;
    for (const StoryState &state : graph.states)
        ++(state.byPlay ? summary.playStates : summary.keyOnlyStates);
    summary.moves = int(graph.edges.size());
    for (const ReachedEnding &reached : playEndings(graph))
        summary.endings.push_back(reached.ending);
    const QSet<int> shown = pagesShownByPlay(graph);
    for (int page : pages) {
        if (!shown.contains(page))
            summary.unreachedPages << page;
    }
    return summary;
}

std::vector<Finding> playFindings(const story::ChoiceTables &tables, const std::vector<StoryGraph> &graphs,
                                  const QList<int> &pages)
{
    std::vector<Finding> findings;
    const auto add = [&findings](const std::vector<Finding> &more) {
        findings.insert(findings.end(), more.begin(), more.end());
    };
    add(unreachedPages(graphs, pages));
    add(rulesNeverApplied(tables, graphs));
    add(captionsWithoutRule(tables, graphs));
    add(stuckStates(graphs));
    return findings;
}

} // namespace storytool
