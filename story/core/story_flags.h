#pragma once
#include "shell/core/progress_reset.h"

#include <QString>

#include <array>

namespace tess {
class Files;
}

namespace story {

// The three facts the story keeps between pages and between runs.
enum class Flag { b, c, bc };

inline constexpr std::array kAllFlags{Flag::b, Flag::c, Flag::bc};

// Each flag is a one-line file in engdat\: "0" or "1" followed by CR LF.
class StoryFlags final : public tess::ProgressReset {
public:
    explicit StoryFlags(tess::Files &files);

    static QString fileOf(Flag flag);

    // The concatenation of the file's lines, without their ends. Throws
    // tess::FileError when the file cannot be read.
    QString read(Flag flag);
    // Replaces the file with the value and CR LF. Throws tess::FileError.
    void write(Flag flag, int value);
    // Writes 0 into b, c and bc, in this order: a new game.
    void resetProgress() override;

private:
    tess::Files &files_;
};

} // namespace story
