#include "shell/layout/layout_units.h"

#include <QFontDatabase>
#include <QPalette>

#include <cmath>

namespace tess {
namespace {

constexpr quint32 kSchemeBit = 0x80000000u;

// The scheme: a night-blue desktop on which the game's art was drawn.
const QColor kSchemeText(0xd8, 0xe4, 0xec);
const QColor kSchemeHighlight(0x5f, 0xb4, 0xff);
const QColor kSchemeWindow(0x10, 0x1a, 0x24);
const QColor kSchemeBase(0x0b, 0x14, 0x1c);

QPalette::ColorRole schemeRole(quint32 index)
{
    switch (index) {
    case 5:  // window
        return QPalette::Base;
    case 13:  // highlight
        return QPalette::Highlight;
    case 14:  // highlighted text
        return QPalette::HighlightedText;
    case 15:  // button face
        return QPalette::Button;
    case 18:  // button text
        return QPalette::ButtonText;
    default:  // 7 menu text, 8 window text and the rest
        return QPalette::WindowText;
    }
}

} // namespace

QPalette gamePalette()
{
    QPalette palette;
    palette.setColor(QPalette::Window, kSchemeWindow);
    palette.setColor(QPalette::WindowText, kSchemeText);
    palette.setColor(QPalette::Base, kSchemeBase);
    palette.setColor(QPalette::AlternateBase, kSchemeWindow);
    palette.setColor(QPalette::Text, kSchemeText);
    palette.setColor(QPalette::Button, kSchemeWindow);
    palette.setColor(QPalette::ButtonText, kSchemeText);
    palette.setColor(QPalette::Highlight, kSchemeHighlight);
    palette.setColor(QPalette::HighlightedText, kSchemeBase);
    palette.setColor(QPalette::ToolTipBase, kSchemeWindow);
    palette.setColor(QPalette::ToolTipText, kSchemeText);
    return palette;
}

QColor layoutColor(quint32 value)
{
    if (value & kSchemeBit)
        return gamePalette().color(schemeRole(value & ~kSchemeBit));
    return QColor(int(value & 0xff), int((value >> 8) & 0xff), int((value >> 16) & 0xff));
}

QFont layoutFont(const QString &windowsFamily, double points, bool bold)
{
    const bool serif = windowsFamily.contains(QStringLiteral("Serif"))
                       && !windowsFamily.contains(QStringLiteral("Sans"));
    QFont font(serif ? QStringLiteral("PT Serif") : QStringLiteral("PT Sans"));
    // Sizes in pixels at 96 dots per inch, so the layout holds on any screen.
    font.setPixelSize(int(std::lround(points * 96.0 / 72.0)));
    font.setBold(bold);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

QFont defaultLayoutFont()
{
    return layoutFont(QStringLiteral("MS Sans Serif"), 8.25);
}

void loadBundledFonts()
{
    for (const char *file : {":/fonts/PTS55F.ttf", ":/fonts/PTS75F.ttf", ":/fonts/PTF55F.ttf"})
        QFontDatabase::addApplicationFont(QString::fromLatin1(file));
}

} // namespace tess
