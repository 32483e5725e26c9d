#pragma once
#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

namespace tess {

// Layouts are written in twips: 15 twips make one pixel at 96 dots per inch.
constexpr int pixels(int twips) { return twips / 15; }
constexpr QRect twipsRect(int left, int top, int width, int height)
{
    return {pixels(left), pixels(top), pixels(width), pixels(height)};
}

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
