#include "tools/story_tool/story_explorer.h"

#include "story/core/choice_tables.h"
#include "tools/story_tool/code_box_words.h"
#include "tools/story_tool/story_player.h"

#include <algorithm>
#include <unordered_map>

namespace storytool {
namespace {

class Explorer {
public:
    Explorer(StoryPlayer &story, const FlagStart &start)
        : story_(story), words_(codeBoxWords(story.tables())), graph_{start, {}, {}}
    {
    }

    StoryGraph run()
    {
        story_.open(graph_.start.flags);
        add(StoryPosition::of(story_.screen(), story_.flags(), story::kOpening.page), true, -1);
        // Play: clicks alone, breadth first; the loop takes in the states it finds.
        for (std::size_t state = 0; state < graph_.states.size(); ++state)
            tryClicks(int(state), true);
        // Then the keys everywhere, and every move in the states only the keys reach.
        const std::size_t reachedByPlay = graph_.states.size();
        for (std::size_t state = 0; state < graph_.states.size(); ++state) {
            if (state >= reachedByPlay)
                tryClicks(int(state), false);
            tryMove(int(state), Move::f8(), false);
            tryMove(int(state), Move::consoleKey(), false);
        }
        return std::move(graph_);
    }

private:
    void tryClicks(int state, bool byPlay)
    {
        const StoryPosition position = graph_.states[std::size_t(state)].position;
        for (story::Slot slot : story::kAllSlots) {
            if (!position.choices[std::size_t(slot)].shown)
                continue;
            if (!position.codeBoxShown) {
                tryMove(state, Move::click(slot), byPlay);
                continue;
            }
            for (const QString &word : words_)
                tryMove(state, Move::click(slot, word), byPlay);
        }
    }

    void tryMove(int from, const Move &move, bool byPlay)
    {
        const StoryState before = graph_.states[std::size_t(from)];
        story_.restore(before.screen, before.position.flags);
        StoryEdge edge;
        edge.from = from;
        edge.move = move;
        edge.rule = story_.ruleFor(move);
        story_.play(move);
        edge.errors = story_.takeErrors();
        if (!edge.errors.isEmpty()) {
            edge.result = StoryEdge::Result::Fails;
        } else if (story_.screen().screen != story::ShownScreen::Story) {
            edge.result = StoryEdge::Result::Leaves;
            edge.leftTo = story_.screen().screen;
        } else {
            const int page = pageAfter(move, edge.rule, before.position.page);
            edge.to = add(StoryPosition::of(story_.screen(), story_.flags(), page), byPlay, int(graph_.edges.size()));
            edge.result = edge.to == from ? StoryEdge::Result::Stays : StoryEdge::Result::Moves;
        }
        graph_.edges.push_back(std::move(edge));
    }

    static int pageAfter(const Move &move, const story::ChoiceRule *rule, int pageBefore)
    {
        if (move.kind == Move::Kind::F8)
            return story::kFinalPage;
        if (rule && rule->page != story::script::samePage)
            return rule->page;
        return pageBefore;
    }

    int add(const StoryPosition &position, bool byPlay, int reachedBy)
    {
        const auto [known, isNew] = index_.try_emplace(position, int(graph_.states.size()));
        if (isNew)
            graph_.states.push_back({position, story_.screen(), byPlay, reachedBy});
        return known->second;
    }

    StoryPlayer &story_;
    const QStringList words_;
    StoryGraph graph_;
    std::unordered_map<StoryPosition, int, StoryPositionHash> index_;
};

} // namespace

StoryGraph exploreStory(StoryPlayer &story, const FlagStart &start)
{
    return Explorer(story, start).run();
}

std::vector<StoryGraph> exploreEveryStart(StoryPlayer &story)
{
    std::vector<StoryGraph> graphs;
    for (const FlagStart &start : flagStarts())
        graphs.push_back(exploreStory(story, start));
    // The console key works in every state and the console's exit keeps the
    // flags, so any flags a run holds can be the next run's start; a run from
    // those may leave others again.
    const auto explored = [&](const FlagFiles &flags) {
        return std::any_of(graphs.begin(), graphs.end(),
                           [&](const StoryGraph &graph) { return graph.start.flags == flags; });
    };
    for (std::size_t next = 0; next < graphs.size(); ++next) {
        std::vector<FlagFiles> left;
        for (const StoryState &state : graphs[next].states) {
            if (state.byPlay && !explored(state.position.flags) &&
                std::find(left.begin(), left.end(), state.position.flags) == left.end())
                left.push_back(state.position.flags);
        }
        for (const FlagFiles &flags : left)
            graphs.push_back(exploreStory(story, carriedOverStart(flags)));
    }
    return graphs;
}

} // namespace storytool
