// The third choice slot: the rules of a click on Label4, tested in order.
#include "story/core/label_rules.h"

namespace story {
namespace {
using namespace script;

constexpr ChoiceRule kLabel4Rules[] = {
//   caption clicked          condition  page      flag write  Label2                             Label3                                 Label4                other
    {u"Остров Сокровищ",      always,    4,        noWrite,    text(u"Назад"),                    text(u"Остаться еще на полчаса"),      hidden},
    {u"Закрыть",              always,    12,       noWrite,    hidden,                            shown(u"Далее"),                       hidden},
    {u">Далее",               always,    15,       noWrite,    shown(u"Ресторан Vibi"),           shown(u"Клуб Elen"),                   shown(u">>Далее")},
    {u">>Далее",              always,    15,       noWrite,    shown(u"Музей"),                   shown(u"Парк юрского периода"),        shown(u">>>Далее")},
    {u">>>Далее",             always,    15,       noWrite,    shown(u"Клиника EnemaLife"),       shown(u"Офис Melisa"),                 shown(u">>>>Далее")},
    {u">>>>Далее",            always,    15,       noWrite,    shown(u"Планетарий"),              shown(u"<<<<Назад"),                   hidden},
    {u"100|4|8",              always,    18,       noWrite,    hidden,                            shown(u"Центр Zuvodu LNC Control"),    shown(u">Далее")},
    {u"17 часов",             always,    samePage, noWrite,    unchanged,                         unchanged,                             unchanged,            Other::GameOver},
    {u"[HOST#478]",           always,    44,       noWrite,    shown(u">Назад<"),                 shown(u"Поднять"),                     hidden},
    {u"10 слов",              always,    47,       noWrite,    shown(u"Конец"),                   hidden,                                hidden},
    {u"Домик-башня",          always,    50,       noWrite,    shown(u"Конец"),                   hidden,                                hidden},
};

} // namespace

// A click on Label4 reads no flag.
const ChoiceTable kLabel4Table{Slot::Label4, {}, kLabel4Rules};

} // namespace story
