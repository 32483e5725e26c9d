#pragma once
// The console screen in the whole game, for the tests of its layout, its
// command line and buttons, its ways in and out, and its long lines.
#include "test_game.h"

#include "console/core/command_table.h"
#include "console/ui/console_screen.h"
#include "shell/core/text_lines.h"
#include "shell/layout/caption_layout.h"
#include "story/ui/story_screen.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QTextLayout>
#include <QtTest>
#include <QtTest/qtestspontaneevent.h>

using console::ConsoleScreen;
using tess::CloseReason;
using tess::ScreenId;

namespace {

const QString kCatalogues = QStringLiteral("\r\n>[Zuvodu_LNC]\r>[Kelmar_Box]\r>[System]\r>[Tessaranium]\r>[Test_world]");
const QString kOpened = QStringLiteral("\r\n>file open\r");

inline ConsoleScreen &openConsole(TestGame &game)
{
    game.screens.Show(ScreenId::BLNC);
    auto &blnc = game.screen<ConsoleScreen>(ScreenId::BLNC);
    if (!QTest::qWaitForWindowExposed(&blnc))
        qWarning("the console window was not exposed");
    return blnc;
}

// Types as a player does: one key per character. QTest::keyClicks knows only
// Latin-1, so other characters go in as key events that carry their text.
inline void typeInto(QWidget &box, const QString &text)
{
    for (char32_t codePoint : text.toUcs4()) {
        if (codePoint < 0x80)
            QTest::keyClick(&box, char(codePoint));
        else
            QTest::sendKeyEvent(QTest::Click, &box, Qt::Key_unknown, QString::fromUcs4(&codePoint, 1),
                                Qt::NoModifier);
    }
}

// Replaces what the command line holds, the way a player would.
inline void retype(ConsoleScreen &blnc, const QString &line)
{
    QTest::keyClick(&blnc.Text, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&blnc.Text, Qt::Key_Backspace);
    typeInto(blnc.Text, line);
}

inline void clickExecute(ConsoleScreen &blnc)
{
    QTest::mouseClick(&blnc.Label3, Qt::LeftButton);
}

inline void run(ConsoleScreen &blnc, const QString &line)
{
    retype(blnc, line);
    QCOMPARE(blnc.Text.text(), line);
    clickExecute(blnc);
}

// A click at a point of the window, found by the window system as a real
// click is: through the window to the topmost control that takes the mouse.
inline void clickWindowAt(QWidget &window, QPoint point)
{
    QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, point);
}

inline QList<const tess::Picture *> photos(const ConsoleScreen &blnc)
{
    return {&blnc.Image1, &blnc.Image2, &blnc.Image3, &blnc.Image4};
}

inline int visiblePhotos(const ConsoleScreen &blnc)
{
    int shown = 0;
    for (const tess::Picture *photo : photos(blnc))
        shown += photo->isVisible() ? 1 : 0;
    return shown;
}

inline const tess::Picture *photoOf(const ConsoleScreen &blnc, console::Photo photo)
{
    switch (photo) {
    case console::Photo::None:
        return nullptr;
    case console::Photo::Image1:
        return &blnc.Image1;
    case console::Photo::Image2:
        return &blnc.Image2;
    case console::Photo::Image3:
        return &blnc.Image3;
    case console::Photo::Image4:
        return &blnc.Image4;
    }
    return nullptr;
}

inline tess::CaptionLayout layoutOf(const tess::Label &pane)
{
    return tess::CaptionLayout(pane.font(), pane.width(), Qt::AlignLeft);
}

inline int lineHeightOf(const tess::Label &pane)
{
    return QFontMetrics(pane.font()).lineSpacing();
}

// Pixel rows of the label that carry ink when it paints its caption alone.
inline QList<int> inkedRows(tess::Label &pane)
{
    QImage image(pane.size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    pane.render(&image, {}, {}, QWidget::DrawChildren);
    QList<int> rows;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) > 0) {
                rows << y;
                break;
            }
        }
    }
    return rows;
}

// How many text lines hold ink, counting runs of inked rows one line apart.
inline int paintedLines(tess::Label &pane)
{
    const int line = lineHeightOf(pane);
    QSet<int> lines;
    for (int row : inkedRows(pane))
        lines << row / line;
    return int(lines.size());
}

// The lines a pane shows of a caption, as it wraps them.
inline QStringList wrappedLines(const tess::Label &pane, const QString &caption)
{
    QStringList lines;
    QTextOption option(Qt::AlignLeft);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    for (const QString &paragraph : tess::normalizeLineBreaks(caption).split(u'\n')) {
        QTextLayout layout(paragraph, pane.font());
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(pane.width());
            lines << paragraph.mid(line.textStart(), line.textLength());
        }
        layout.endLayout();
    }
    return lines;
}

inline void setAllFlags(TestGame &game, const QByteArray &value)
{
    for (story::Flag flag : story::kAllFlags)
        game.files.content[story::StoryFlags::fileOf(flag)] = value;
}

inline void useTheGamesFonts()
{
    // Measure with the fonts the game itself ships and registers.
    tess::loadBundledFonts();
}

// The story screen on page 56, where the code box asks for the code: the
// click on "Нет..." that leads there, as the player makes it.
inline story::StoryScreen &storyOnPage56(TestGame &game)
{
    game.screens.Show(ScreenId::Engine);
    auto &story = game.screen<story::StoryScreen>(ScreenId::Engine);
    story.Label2.setText(QStringLiteral("Нет..."));
    QTest::mouseClick(&story.Label2, Qt::LeftButton);
    return story;
}

} // namespace
