#pragma once
#include <string>

namespace bench {

// A throw-away copy of the built game folder (executable, text/, sound/,
// cursor/, engdat/) with every story flag at "0", as in a new game.
class GameFolder {
public:
    // Without music the copy has an empty sound/ folder: the game then opens
    // no player at all.
    explicit GameFolder(bool withMusic = true);
    ~GameFolder();
    GameFolder(const GameFolder &) = delete;
    GameFolder &operator=(const GameFolder &) = delete;

    const std::string &path() const { return path_; }
    void resetFlags() const;

private:
    std::string path_;
};

} // namespace bench
