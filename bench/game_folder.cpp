#include "game_folder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace bench {

GameFolder::GameFolder(bool withMusic)
{
    char folder[] = "/tmp/bench-game-XXXXXX";
    if (!mkdtemp(folder))
        throw std::runtime_error("cannot make a temporary game folder");
    path_ = folder;
    for (const fs::directory_entry &entry : fs::directory_iterator(BENCH_GAME_DIR)) {
        const fs::path target = fs::path(path_) / entry.path().filename();
        if (!withMusic && entry.path().filename() == "sound")
            fs::create_directory(target);
        else
            fs::copy(entry.path(), target, fs::copy_options::recursive);
    }
    resetFlags();
}

GameFolder::~GameFolder()
{
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

void GameFolder::resetFlags() const
{
    for (const char *flag : {"b", "c", "bc"})
        std::ofstream(path_ + "/engdat/" + flag + ".gdf", std::ios::binary | std::ios::trunc) << "0\r\n";
}

} // namespace bench
