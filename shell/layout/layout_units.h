#pragma once
#include <QColor>
#include <QFont>
#include <QRect>
#include <QSize>
#include <QString>

#include "shell/layout/screen_layout.h"

namespace tess {

// Layouts are written in twips (shell/layout): a control's place in pixels.
using layout::pixels;
constexpr QRect twipsRect(int left, int top, int width, int height)
{
    return {pixels(left), pixels(top), pixels(width), pixels(height)};
}
constexpr QRect pixelRect(const layout::TwipsRect &r) { return twipsRect(r.left, r.top, r.width, r.height); }
constexpr QSize twipsSize(const layout::TwipsSize &s) { return {s.width, s.height}; }

// A layout colour: 0x00BBGGRR, or with the top bit set the index of a colour
// of the game's colour scheme (0x80000007 menu text, 0x8000000D highlight,
// 0x80000012 button text).
QColor layoutColor(quint32 value);

// The game's colour scheme, used for the scheme colours above and set as the
// application palette, so the game looks the same on every desktop.
QPalette gamePalette();

// Layout fonts by their Windows names ("MS Sans Serif", "MS Serif"), mapped
// onto the open fonts the game ships with.
QFont layoutFont(const QString &windowsFamily, double points, bool bold = false);
// The default font of every control that names none: MS Sans Serif 8.25 pt.
QFont defaultLayoutFont();

// Registers the bundled fonts; call once at start-up.
void loadBundledFonts();

// The game's window title.
inline const QString kGameTitle = QStringLiteral("Миры \"Tessaranium\"");

} // namespace tess
