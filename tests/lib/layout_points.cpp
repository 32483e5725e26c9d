// Prints every screen's layout in window pixels, one line a place:
//   SCREEN window 0 0 WIDTH HEIGHT
//   SCREEN CONTROL X Y WIDTH HEIGHT
// so the scripts that drive the real game (tests/lib/real_game.sh) and the
// picture generator (tools/generators/pictures/layout.py) click and draw where the
// screens put their controls. Headers alone: built with a bare compiler.
#include "console/core/console_layout.h"
#include "shell/layout/shell_layouts.h"
#include "story/core/story_layout.h"

#include <cstdio>

namespace {

using namespace tess::layout;

void print(const ScreenLayout &layout)
{
    const auto name = [&] { return int(layout.screen.size()); };
    std::printf("%.*s window 0 0 %d %d\n", name(), layout.screen.data(), pixels(layout.client.width),
                pixels(layout.client.height));
    for (const Place &place : layout.places)
        std::printf("%.*s %.*s %d %d %d %d\n", name(), layout.screen.data(), int(place.control.size()),
                    place.control.data(), pixels(place.rect.left), pixels(place.rect.top),
                    pixels(place.rect.width), pixels(place.rect.height));
}

} // namespace

int main()
{
    for (const ScreenLayout *layout :
         {&kSplash, &kMenu, &kAbout, &kIntro, &story::kStoryLayout, &kGameOver, &console::kConsoleLayout})
        print(*layout);
}
