#pragma once
#include "story/core/choice_rule.h"

namespace story {

// The story of the game: the rules of the three choice slots.
const ChoiceTables &gameTables();

// The captions the story screen starts with, page 1 under them.
struct Opening {
    QStringView label2;
    QStringView label3;
    QStringView label4;
    int page;
};
inline constexpr Opening kOpening{u"Виртуальный ресторан", u"Подводный мир", u"Остров Сокровищ", 1};

// F8 jumps to the last page with the single choice "Конец".
inline constexpr int kFinalPage = 57;
inline constexpr QStringView kFinalCaption = u"Конец";

// How many pages the tables tell of: the highest page a rule or F8 shows.
int pageCount(const ChoiceTables &tables);

} // namespace story
