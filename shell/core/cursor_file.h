#pragma once
#include <QByteArray>
#include <QPoint>

#include <vector>

namespace tess {

// One picture of a Windows cursor file, still in its ICO container form.
struct CursorFrame {
    QByteArray image;   // a complete .cur/.ico file holding this picture
    QPoint hotspot;
    int delayMs = 0;    // how long an animated cursor shows it; 0 when static
};

// Reads a static (.cur) or animated (.ani) Windows cursor, whatever the file
// is called. Returns no frames when the bytes are not a cursor.
std::vector<CursorFrame> parseCursorFile(QByteArrayView bytes);

} // namespace tess
