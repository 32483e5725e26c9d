#pragma once
#include "tools/story_tool/story_move.h"
#include "story/core/story_screen_state.h"

#include <QByteArray>

#include <array>
#include <optional>
#include <variant>
#include <vector>

namespace storytool {

// The lines of a walkthrough script, one action or expectation each:
//
//   click "Подводный мир"        click Label3
//   type "zolv"                  press F8            press console key
//   set flag b "1"               set flag b empty    set flag b missing
//   expect page 6
//   expect choices "Подойти к ней" / "Уйти" / —
//   expect Label2 "Конец"        expect Label3 hidden
//   expect flag c "1"            expect flag c empty expect flag c missing
//   expect screen story          expect screen game over     expect screen console
//   expect code box shown        expect code box hidden
//
// Captions and values stand in double quotes (\" and \\ inside them); a word
// starting with # outside quotes begins a comment. A flag value is written
// the way the game writes flags: the text, then CR LF.
namespace walk {

struct Click {
    std::optional<story::Slot> slot;  // by its slot name, else by its caption
    QString caption;
};
struct Type {
    QString text;
};
struct Press {
    Move key;
};
struct SetFlag {
    story::Flag flag;
    std::optional<QByteArray> bytes;  // none: the file is missing
};
struct ExpectPage {
    int page;
};
struct ExpectChoices {
    std::array<std::optional<QString>, 3> captions;  // none: hidden
};
struct ExpectSlot {
    story::Slot slot;
    std::optional<QString> caption;  // none: hidden
};
struct ExpectFlag {
    story::Flag flag;
    std::optional<QByteArray> bytes;
};
struct ExpectScreen {
    story::ShownScreen screen;
};
struct ExpectCodeBox {
    bool shown;
};

using Step = std::variant<Click, Type, Press, SetFlag, ExpectPage, ExpectChoices, ExpectSlot, ExpectFlag, ExpectScreen,
                          ExpectCodeBox>;

bool isExpectation(const Step &step);

struct Line {
    int number;
    Step step;
};

// Where a script went wrong: its line (0: before the first line) and what.
struct Failure {
    int line;
    QString message;
};

struct Script {
    std::vector<Line> lines;
    std::optional<Failure> failure;  // the first line that could not be read
};

Script parseScript(const QString &text);

} // namespace walk
} // namespace storytool
