#pragma once
#include "shell/layout/screen_layout.h"

// The five screens around the story, control by control.
namespace tess::layout {

inline constexpr Place kSplashPlaces[] = {
    {"Image1", {2520, 2400, 7065, 4170}},
};
inline constexpr ScreenLayout kSplash{"splash", {11985, 8895}, kSplashPlaces};

inline constexpr Place kMenuPlaces[] = {
    {"Label3", {8040, 3240, 3615, 615}},
    {"Label2", {8040, 4440, 3615, 735}},
    {"Label1", {8040, 5760, 3615, 615}},
};
inline constexpr ScreenLayout kMenu{"menu", {11985, 8895}, kMenuPlaces};

inline constexpr Place kAboutPlaces[] = {
    {"Text1", {720, 3960, 7935, 4455}},
    {"Label2", {8880, 240, 2895, 735}},
    {"Label1", {1800, 1320, 6015, 1815}},
};
inline constexpr ScreenLayout kAbout{"about", {11955, 8865}, kAboutPlaces};

inline constexpr Place kIntroPlaces[] = {
    {"Label1", {2520, 960, 6855, 5895}},
    {"Label2", {4560, 7560, 2775, 615}},
};
inline constexpr ScreenLayout kIntro{"intro", {11970, 8940}, kIntroPlaces};

inline constexpr ScreenLayout kGameOver{"gameover", {11955, 8865}, {}};

} // namespace tess::layout
