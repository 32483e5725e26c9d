#pragma once
#include "story/core/choice_rule.h"
#include "tools/story_tool/story_notes.h"

#include <QJsonObject>
#include <QStringList>

#include <optional>
#include <vector>

namespace storytool {

struct PageProse {
    int page = 0;
    int words = 0;
    int waysIn = 0;      // the rules of play that show it, and the start for page 1
    int choiceSets = 0;  // the sets of choices play shows under it
    QString closing;     // its last sentence
    int closingWords = 0;
    QString opening;            // its first sentence
    QStringList echoedChoices;  // the captions leading to it that the opening restates

    // A page shown under several sets of choices is read again and again.
    bool isHub() const { return choiceSets > 1; }
};

// Words in a row (three or more) that stand on three texts or more.
struct RepeatedPhrase {
    QString phrase;
    QStringList texts;  // gt3, gt12, into, read
};

struct TicCount {
    QString tic;  // as the notes write it
    int count = 0;
    QList<int> pages;
};

// What the editor wants to see of the prose: words per page, repeated
// phrases, short closing sentences and the tics the notes name.
struct ProseReport {
    static constexpr int kShortClosing = 4;  // words

    QString root;
    int words = 0;
    std::vector<PageProse> pages;
    std::vector<RepeatedPhrase> phrases;
    std::vector<TicCount> tics;
    std::optional<NotesProblem> notesProblem;

    int shortClosings() const;
    int echoingOpenings() const;
};

// The report of the story under `root`, played with `tables` for the ways
// into each page. The phrases look at the intro and about texts as well.
ProseReport proseReport(const story::ChoiceTables &tables, const QString &root);

// The report for people, and the same for machines.
QString proseReportText(const ProseReport &report);
QJsonObject proseReportJson(const ProseReport &report);

} // namespace storytool
