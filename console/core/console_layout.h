#pragma once
#include "shell/layout/screen_layout.h"

namespace console {

// The console screen: the command line, the two buttons drawn in the picture
// (Label3 runs, Label1 clears), the log (Con), the comment (Texcon) and the
// four photos.
inline constexpr tess::layout::Place kConsolePlaces[] = {
    {"Text", {480, 6720, 4575, 345}},
    {"Image4", {7920, 6840, 2250, 1695}},
    {"Image3", {8280, 7200, 1500, 1125}},
    {"Image2", {6840, 6960, 4500, 1365}},
    {"Label1", {5880, 960, 375, 375}},
    {"Label3", {5160, 6600, 1095, 615}},
    {"Image1", {6840, 6840, 4500, 1605}},
    {"Texcon", {6600, 1080, 5055, 5175}},
    {"Con", {480, 1080, 5655, 5175}},
};
inline constexpr tess::layout::ScreenLayout kConsoleLayout{"console", {11955, 8865}, kConsolePlaces};

} // namespace console
