#include "tools/story_tool/continuity_check.h"

#include "tools/story_tool/story_words.h"
#include "tools/story_tool/walk_script_writer.h"

#include <QSet>

#include <deque>

namespace storytool {
namespace {

QString pagesText(const QList<int> &pages)
{
    QStringList numbers;
    for (int page : pages)
        numbers << QString::number(page);
    return (pages.size() == 1 ? QStringLiteral("page ") : QStringLiteral("pages ")) + numbers.join(QStringLiteral(", "));
}

QString quotedName(const Fact &fact)
{
    return quoted(fact.name);
}

QString factText(const Fact &fact)
{
    return fact.about.isEmpty() ? quotedName(fact) : QStringLiteral("%1 (%2)").arg(quotedName(fact), fact.about);
}

// The clicks of play that lead to another state, from each state.
std::vector<std::vector<int>> playMoves(const StoryGraph &graph)
{
    std::vector<std::vector<int>> moves(graph.states.size());
    for (std::size_t edge = 0; edge < graph.edges.size(); ++edge) {
        const StoryEdge &move = graph.edges[edge];
        if (graph.isPlayClick(move) && move.result == StoryEdge::Result::Moves)
            moves[std::size_t(move.from)].push_back(int(edge));
    }
    return moves;
}

// The shortest route of play to a state showing `page` that shows none of
// `avoided` on the way; empty when there is none. A route of no moves is the start itself.
std::optional<std::vector<int>> routeAvoiding(const StoryGraph &graph, const std::vector<std::vector<int>> &moves,
                                              const QSet<int> &avoided, int page)
{
    if (graph.states.empty() || avoided.contains(graph.states.front().position.page))
        return std::nullopt;
    std::vector<int> reachedBy(graph.states.size(), -2);
    reachedBy[0] = -1;
    std::deque<int> queue{0};
    while (!queue.empty()) {
        const int state = queue.front();
        queue.pop_front();
        if (graph.states[std::size_t(state)].position.page == page) {
            std::vector<int> route;
            for (int edge = reachedBy[std::size_t(state)]; edge >= 0;
                 edge = reachedBy[std::size_t(graph.edges[std::size_t(edge)].from)])
                route.insert(route.begin(), edge);
            return route;
        }
        for (int edge : moves[std::size_t(state)]) {
            const int next = graph.edges[std::size_t(edge)].to;
            if (reachedBy[std::size_t(next)] != -2 || avoided.contains(graph.states[std::size_t(next)].position.page))
                continue;
            reachedBy[std::size_t(next)] = edge;
            queue.push_back(next);
        }
    }
    return std::nullopt;
}

} // namespace

std::vector<Finding> continuityFindings(const std::vector<Fact> &facts, const std::vector<StoryGraph> &graphs,
                                        const QList<int> &pages)
{
    std::vector<std::vector<std::vector<int>>> moves;
    for (const StoryGraph &graph : graphs)
        moves.push_back(playMoves(graph));
    std::vector<Finding> findings;
    for (const Fact &fact : facts) {
        for (int page : fact.establishedBy + fact.usedBy) {
            if (!pages.contains(page))
                findings.push_back({Finding::Kind::NotesUnreadable,
                                    QStringLiteral("fact %1 names page %2, which the story does not have")
                                        .arg(quotedName(fact))
                                        .arg(page)});
        }
        if (fact.establishedBy.isEmpty()) {
            if (!fact.usedBy.isEmpty())
                findings.push_back({Finding::Kind::FactEstablishedNowhere,
                                    QStringLiteral("fact %1 is established by no page, yet %2 %3 it")
                                        .arg(factText(fact), pagesText(fact.usedBy),
                                             fact.usedBy.size() == 1 ? QStringLiteral("uses") : QStringLiteral("use"))});
            continue;
        }
        const QSet<int> establishing(fact.establishedBy.begin(), fact.establishedBy.end());
        for (int page : fact.usedBy) {
            if (establishing.contains(page))
                continue;
            std::optional<std::vector<int>> shortest;
            const StoryGraph *shortestIn = nullptr;
            QStringList starts;
            for (std::size_t index = 0; index < graphs.size(); ++index) {
                const auto route = routeAvoiding(graphs[index], moves[index], establishing, page);
                if (!route)
                    continue;
                starts << graphs[index].start.description;
                if (!shortest || route->size() < shortest->size()) {
                    shortest = route;
                    shortestIn = &graphs[index];
                }
            }
            if (!shortest)
                continue;
            const QString heading = QStringLiteral("Page %1 uses %2 without %3: the shortest route, %4 moves.")
                                        .arg(page)
                                        .arg(quotedName(fact), pagesText(fact.establishedBy))
                                        .arg(shortest->size());
            findings.push_back({Finding::Kind::FactSlip,
                                QStringLiteral("page %1 uses fact %2, but play reaches it without showing %3 (start: %4)")
                                    .arg(page)
                                    .arg(factText(fact), pagesText(fact.establishedBy), starts.join(QStringLiteral("; "))),
                                routeScriptText(*shortestIn, *shortest, heading)});
        }
    }
    return findings;
}

QStringList unusedFacts(const std::vector<Fact> &facts)
{
    QStringList names;
    for (const Fact &fact : facts) {
        if (fact.usedBy.isEmpty())
            names << fact.name;
    }
    return names;
}

} // namespace storytool
