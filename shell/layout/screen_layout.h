#pragma once
#include <span>
#include <string_view>

// Where a screen's window and controls are, in twips as the screen's form lays
// them out: the one statement of each layout, read by the screens, the tests'
// click helpers (tests/lib/layout_points) and the picture generator
// (tools/generators/pictures/layout.py, which reads the tables' rows as written: one
// `{"Control", {left, top, width, height}},` per line).
namespace tess::layout {

// 15 twips make one pixel at 96 dots per inch.
inline constexpr int kTwipsPerPixel = 15;
constexpr int pixels(int twips) { return twips / kTwipsPerPixel; }

struct TwipsRect {
    int left, top, width, height;
};

struct TwipsSize {
    int width, height;
};

struct PixelPoint {
    int x, y;
};

struct Place {
    std::string_view control;
    TwipsRect rect;
};

struct ScreenLayout {
    std::string_view screen;
    TwipsSize client;  // the window's inside
    std::span<const Place> places;

    // A control's place; naming a control the screen lacks fails the build.
    consteval TwipsRect at(std::string_view control) const
    {
        for (const Place &place : places)
            if (place.control == control)
                return place.rect;
        throw "the layout has no such control";
    }

    // The window's width in pixels: the game's windows are told apart by it.
    constexpr int pixelWidth() const { return pixels(client.width); }

    // The middle of a control in window pixels, where a click on it lands.
    consteval PixelPoint middle(std::string_view control) const
    {
        const TwipsRect rect = at(control);
        return {pixels(rect.left) + pixels(rect.width) / 2, pixels(rect.top) + pixels(rect.height) / 2};
    }
};

} // namespace tess::layout
