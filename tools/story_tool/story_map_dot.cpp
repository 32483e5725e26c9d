#include "tools/story_tool/story_map_dot.h"

#include "story/core/choice_tables.h"
#include "tools/story_tool/play_findings.h"
#include "tools/story_tool/story_endings.h"
#include "tools/story_tool/story_words.h"

namespace storytool {
namespace {

QString pageNode(int page)
{
    return QStringLiteral("p%1").arg(page);
}

// The caption, then the condition and the flag write on lines of their own.
QString choiceLabel(const story::ChoiceRule &rule)
{
    QStringList lines{rule.caption.toString()};
    if (const QString condition = conditionText(rule.condition); !condition.isEmpty())
        lines << condition;
    if (rule.flagWrite.present)
        lines << QStringLiteral("sets %1 = %2").arg(flagName(rule.flagWrite.flag)).arg(rule.flagWrite.value);
    return backslashQuoted(lines.join(u'\n')).replace(u'\n', QStringLiteral("\\n"));
}

const QString kConsoleNode = QStringLiteral("console");

class MapWriter {
public:
    explicit MapWriter(const std::vector<StoryGraph> &graphs) : graphs_(graphs)
    {
        for (const StoryGraph &graph : graphs) {
            for (const ReachedEnding &reached : playEndings(graph))
                endings_.push_back(reached.ending);
        }
    }

    QString write(const QList<int> &pages)
    {
        QString dot = QStringLiteral(
            "digraph story {\n"
            "  graph [label=\"Story map\", labelloc=t, fontname=\"DejaVu Sans\"];\n"
            "  node [fontname=\"DejaVu Sans\", shape=circle];\n"
            "  edge [fontname=\"DejaVu Sans\", fontsize=9];\n"
            "  start [shape=point];\n"
            "  start -> %1;\n")
                          .arg(pageNode(story::kOpening.page));
        QSet<int> shown;
        for (const StoryGraph &graph : graphs_)
            shown.unite(pagesShownByPlay(graph));
        for (int page : pages)
            dot += QStringLiteral("  %1 [label=\"%2\"%3];\n")
                       .arg(pageNode(page))
                       .arg(page)
                       .arg(shown.contains(page) ? QString() : QStringLiteral(", style=dashed, color=red"));
        dot += QStringLiteral("  %1 [label=\"Console\", shape=box3d];\n").arg(kConsoleNode);
        QSet<QString> drawn;
        for (const StoryGraph &graph : graphs_)
            dot += choiceEdges(graph, drawn);
        dot += QStringLiteral(
                   "  f8 [label=\"F8 from any page\", shape=plaintext];\n"
                   "  f8 -> %1 [style=dashed];\n"
                   "  console_key [label=\"console key from any page\", shape=plaintext];\n"
                   "  console_key -> %2 [style=dashed];\n"
                   "}\n")
                   .arg(pageNode(story::kFinalPage), kConsoleNode);
        return dot;
    }

private:
    // Each choice once, however many states make it.
    QString choiceEdges(const StoryGraph &graph, QSet<QString> &drawn) const
    {
        QString dot;
        for (const StoryEdge &edge : graph.edges) {
            if (!graph.isPlayClick(edge) || !edge.applied())
                continue;
            const int fromPage = graph.states[std::size_t(edge.from)].position.page;
            const QString line = QStringLiteral("  %1 -> %2 [label=%3];\n")
                                     .arg(pageNode(fromPage), target(graph, edge),
                                          choiceLabel(*edge.rule));
            if (drawn.contains(line))
                continue;
            drawn << line;
            dot += leavingNode(graph, edge) + line;
        }
        return dot;
    }

    QString target(const StoryGraph &graph, const StoryEdge &edge) const
    {
        if (edge.result != StoryEdge::Result::Leaves)
            return pageNode(graph.states[std::size_t(edge.to)].position.page);
        if (edge.leftTo == story::ShownScreen::Console)
            return kConsoleNode;
        return endingName(endingOf(graph, edge), endings_).replace(u'-', u'_');
    }

    // The node of a game over, written before its first edge.
    QString leavingNode(const StoryGraph &graph, const StoryEdge &edge) const
    {
        if (edge.result != StoryEdge::Result::Leaves || edge.leftTo == story::ShownScreen::Console)
            return QString();
        const QString label = edge.leftTo == story::ShownScreen::GameOver ? QStringLiteral("Game over") : screenName(edge.leftTo);
        return QStringLiteral("  %1 [label=%2, shape=doubleoctagon];\n").arg(target(graph, edge), backslashQuoted(label));
    }

    const std::vector<StoryGraph> &graphs_;
    std::vector<Ending> endings_;
};

} // namespace

QString storyMapDot(const std::vector<StoryGraph> &graphs, const QList<int> &pages)
{
    return MapWriter(graphs).write(pages);
}

} // namespace storytool
