#pragma once
#include <QStringView>

namespace story {

// Typed into the code box under "Enter parol".
inline constexpr QStringView kConsolePassword = u"zolv";  // the research centre's console
inline constexpr QStringView kEndingPassword = u"ol";     // the first letters of «Olade»

} // namespace story
