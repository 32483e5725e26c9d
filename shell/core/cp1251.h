#pragma once
#include <QByteArray>
#include <QString>

namespace tess {

// The game's text files are written in the Windows Cyrillic code page.
// Bytes that the code page leaves undefined (0x98) decode to U+FFFD.
QString decodeCp1251(QByteArrayView bytes);

// Characters outside the code page encode as '?'.
QByteArray encodeCp1251(QStringView text);

// True when every byte is a defined character of the code page.
bool isValidCp1251(QByteArrayView bytes);

} // namespace tess
