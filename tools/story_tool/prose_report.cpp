#include "tools/story_tool/prose_report.h"

#include "shell/core/cp1251.h"
#include "story/core/choice_tables.h"
#include "tools/story_tool/story_player.h"
#include "tools/story_tool/prose_text.h"
#include "tools/story_tool/story_explorer.h"
#include "tools/story_tool/story_pages.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QSet>

#include <algorithm>
#include <map>

namespace storytool {
namespace {

constexpr int kShortestPhrase = 3;
constexpr int kLongestPhrase = 8;
constexpr int kPhraseTexts = 3;

struct Text {
    QString name;
    QStringList sentences;
};

QString fileText(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? tess::decodeCp1251(file.readAll()) : QString();
}

// How play shows each page: the rules that show it and the choices under it.
void addWaysIn(const story::ChoiceTables &tables, const QString &root, std::vector<PageProse> &pages)
{
    StoryPlayer story(tables, root);
    std::map<int, QSet<const story::ChoiceRule *>> rules;
    std::map<int, QSet<QString>> choiceSets;
    for (const StoryGraph &graph : exploreEveryStart(story)) {
        for (const StoryState &state : graph.states) {
            if (!state.byPlay)
                continue;
            QString choices;
            for (const story::ChoiceSlotState &choice : state.position.choices)
                choices += (choice.shown ? choice.caption : QStringLiteral("—")) + u'\n';
            choiceSets[state.position.page].insert(choices);
        }
        for (const StoryEdge &edge : graph.edges) {
            if (graph.isPlayClick(edge) && edge.applied() && edge.rule->page != story::script::samePage)
                rules[edge.rule->page].insert(edge.rule);
        }
    }
    for (PageProse &page : pages) {
        page.waysIn = int(rules[page.page].size()) + (page.page == story::kOpening.page ? 1 : 0);
        page.choiceSets = int(choiceSets[page.page].size());
        for (const story::ChoiceRule *rule : rules[page.page]) {
            const QString caption = rule->caption.toString();
            if (restatesChoice(page.opening, caption) && !page.echoedChoices.contains(caption))
                page.echoedChoices << caption;
        }
        page.echoedChoices.sort();
    }
}

// Every run of words within a sentence, kShortestPhrase to kLongestPhrase long,
// with the texts it stands on.
std::map<QString, QSet<int>> phrasesOf(const std::vector<Text> &texts)
{
    std::map<QString, QSet<int>> phrases;
    for (int index = 0; index < int(texts.size()); ++index) {
        for (const QString &sentence : texts[std::size_t(index)].sentences) {
            const QStringList words = wordsOf(sentence.toLower());
            for (qsizetype length = kShortestPhrase; length <= kLongestPhrase; ++length) {
                for (qsizetype start = 0; start + length <= words.size(); ++start)
                    phrases[words.mid(start, length).join(u' ')].insert(index);
            }
        }
    }
    return phrases;
}

// The phrases on enough texts, without those that only repeat part of a
// longer one found on as many texts.
std::vector<RepeatedPhrase> repeatedPhrases(const std::vector<Text> &texts)
{
    std::vector<std::pair<QString, QSet<int>>> repeated;
    for (auto &[phrase, on] : phrasesOf(texts)) {
        if (on.size() >= kPhraseTexts)
            repeated.emplace_back(phrase, on);
    }
    std::vector<RepeatedPhrase> kept;
    for (const auto &[phrase, on] : repeated) {
        const QString inner = u' ' + phrase + u' ';
        const bool partOfLonger = std::any_of(repeated.begin(), repeated.end(), [&](const auto &other) {
            return other.first.size() > phrase.size() && other.second.size() == on.size() &&
                   (u' ' + other.first + u' ').contains(inner);
        });
        if (partOfLonger)
            continue;
        QList<int> indexes(on.begin(), on.end());
        std::sort(indexes.begin(), indexes.end());
        RepeatedPhrase found{phrase, {}};
        for (int index : indexes)
            found.texts << texts[std::size_t(index)].name;
        kept.push_back(found);
    }
    std::stable_sort(kept.begin(), kept.end(), [](const RepeatedPhrase &a, const RepeatedPhrase &b) {
        return a.texts.size() > b.texts.size();
    });
    return kept;
}

} // namespace

int ProseReport::shortClosings() const
{
    return int(std::count_if(pages.begin(), pages.end(),
                             [](const PageProse &page) { return page.closingWords <= kShortClosing; }));
}

int ProseReport::echoingOpenings() const
{
    return int(std::count_if(pages.begin(), pages.end(),
                             [](const PageProse &page) { return !page.echoedChoices.isEmpty(); }));
}

ProseReport proseReport(const story::ChoiceTables &tables, const QString &root)
{
    ProseReport report;
    report.root = root;
    const QDir text(QDir(root).filePath(QStringLiteral("text")));
    std::vector<Text> texts;
    for (int page : storyPages(tables, root)) {
        const QStringList sentences = sentencesOf(fileText(text.filePath(QStringLiteral("gt%1.tf").arg(page))));
        PageProse prose{page, 0, 0, 0, sentences.isEmpty() ? QString() : sentences.back(), 0,
                        sentences.isEmpty() ? QString() : sentences.front(), {}};
        prose.words = int(wordsOf(sentences.join(u' ')).size());
        prose.closingWords = int(wordsOf(prose.closing).size());
        report.words += prose.words;
        report.pages.push_back(prose);
        texts.push_back({QStringLiteral("gt%1").arg(page), sentences});
    }
    addWaysIn(tables, root, report.pages);
    for (const QString &other : {QStringLiteral("into"), QStringLiteral("read")}) {
        if (text.exists(other + QStringLiteral(".tf")))
            texts.push_back({other, sentencesOf(fileText(text.filePath(other + QStringLiteral(".tf"))))});
    }
    report.phrases = repeatedPhrases(texts);

    const auto notes = readStoryNotes(root);
    if (notes && std::holds_alternative<NotesProblem>(*notes)) {
        report.notesProblem = std::get<NotesProblem>(*notes);
        return report;
    }
    for (const Tic &tic : notes ? std::get<StoryNotes>(*notes).tics : std::vector<Tic>()) {
        TicCount count{tic.text, 0, {}};
        for (std::size_t page = 0; page < report.pages.size(); ++page) {
            const int here = ticCount(tic, texts[page].sentences);
            count.count += here;
            if (here > 0)
                count.pages << report.pages[page].page;
        }
        report.tics.push_back(count);
    }
    return report;
}

} // namespace storytool
