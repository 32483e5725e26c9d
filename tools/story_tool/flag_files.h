#pragma once
#include "story/core/story_flags.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <cstddef>
#include <optional>

namespace storytool {

// The bytes of the three flag files b, c and bc; no value: the file is missing.
struct FlagFiles {
    std::array<std::optional<QByteArray>, 3> bytes;

    std::optional<QByteArray> &of(story::Flag flag) { return bytes[std::size_t(flag)]; }
    const std::optional<QByteArray> &of(story::Flag flag) const { return bytes[std::size_t(flag)]; }
    bool operator==(const FlagFiles &) const = default;

    // All three files holding the same bytes.
    static FlagFiles alike(const QByteArray &bytes);
};

// A flag file holding one line of text, the way the game writes its flags.
QByteArray flagLine(const QString &value);

// The flags the story screen opens with. The three fixed starts have all
// three files alike: "0" as a new game leaves them, "1" as the console's exit
// leaves them, or empty files, which hold neither value. A missing file is no
// start: every click on Label2 or Label3 would only show an error about it.
struct FlagStart {
    QString name;
    FlagFiles flags;
    QString description;
};
const std::array<FlagStart, 3> &flagStarts();
// The flags as an earlier run left them when it went to the console, whose
// exit keeps them: named by their values, e.g. "b=1 c=0 bc=1".
FlagStart carriedOverStart(const FlagFiles &flags);
// The start of a new game, every flag "0": where a walkthrough begins.
const FlagStart &newGameStart();

// How the tool names the flags and their files in what it prints.
QString flagName(story::Flag flag);
std::optional<story::Flag> flagNamed(QStringView name);
QString flagFileText(const std::optional<QByteArray> &bytes);  // "1", empty, missing, or the bytes
QString flagsText(const FlagFiles &flags);         // b "1", c "0", bc empty

} // namespace storytool
