#pragma once
#include "shell/layout/screen_layout.h"

namespace story {

// The story screen: the page (Label1), the three choice slots, the hidden flag
// mirrors and the code box.
inline constexpr tess::layout::Place kStoryPlaces[] = {
    {"Text1", {7800, 7560, 3015, 285}},
    {"Label13", {5640, 3960, 495, 375}},
    {"Label12", {4920, 3960, 495, 375}},
    {"Label11", {4920, 3480, 495, 375}},
    {"Label4", {7080, 8520, 4455, 255}},
    {"Label3", {7080, 8040, 4455, 255}},
    {"Label2", {7080, 7560, 4455, 255}},
    {"Label1", {6840, 120, 4935, 6975}},
};
inline constexpr tess::layout::ScreenLayout kStoryLayout{"story", {12000, 8970}, kStoryPlaces};

} // namespace story
