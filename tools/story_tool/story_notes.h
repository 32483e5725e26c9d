#pragma once
#include <QList>
#include <QString>

#include <optional>
#include <variant>
#include <vector>

namespace storytool {

// Something the pages rely on: the pages that tell it (or make it happen) and
// the pages that take it as known.
struct Fact {
    QString name;
    QList<int> establishedBy;
    QList<int> usedBy;
    QString about;
    int line = 0;
};

// A habit of the prose the editor wants counted: a word, a stem or a phrase,
// or one of several ("шов|швы|швов").
struct Tic {
    enum class Where { Anywhere, OpeningASentence, InAClosingSentence };
    QString text;              // as written in the notes, the label of the count
    QStringList alternatives;  // without "^" and "$"; a word's "-" still marks where it may go on
    Where where = Where::Anywhere;
};

// The editor's notes beside the pages, text/story_notes.txt.
struct StoryNotes {
    std::vector<Fact> facts;
    std::vector<Tic> tics;
};

struct NotesProblem {
    int line = 0;
    QString message;
};

// The notes file's path under a story folder.
QString storyNotesPath(const QString &root);

// Reads the notes from their text (UTF-8). One entry a line; # starts a comment.
//   fact NAME ESTABLISHING-PAGES -> USING-PAGES WHAT-IT-IS
//   tic PHRASE
// Pages are numbers separated by spaces or commas, "-" for none. A tic's
// phrase counts case-insensitively as whole words; "-" at either end of a word
// lets the word go on there ("гасн-", "-гасн-", "остыв- чай"), "…" stands
// for any one word ("без … и без"), "|" parts
// phrases that count as one tic, "^" before it counts it only where it opens
// a sentence, "$" only in the sentence that closes a page.
std::variant<StoryNotes, NotesProblem> parseStoryNotes(const QString &text);

// The notes of the story under `root`: none when it has no notes file.
std::optional<std::variant<StoryNotes, NotesProblem>> readStoryNotes(const QString &root);

} // namespace storytool
