// The second choice slot: the rules of a click on Label3, tested in order.
#include "story/core/label_rules.h"
#include "story/core/passwords.h"

namespace story {
namespace {
using namespace script;

// A click on Label3 re-reads flag c first.
constexpr Flag kLabel3Flags[] = {Flag::c};

constexpr ChoiceRule kLabel3Rules[] = {
//   caption clicked                  condition                       page      flag write  Label2                                 Label3                                   Label4                     other
    {u"Назад",                        always,                         3,        noWrite,    shown(u"Виртуальный ресторан"),        shown(u"Подводный мир"),                 shown(u"Остров Сокровищ")},
    {u"Остаться еще на полчаса",      always,                         5,        noWrite,    text(u"Назад"),                        hidden,                                  hidden},
    {u"Подводный мир",                always,                         6,        noWrite,    text(u"Подойти к ней"),                shown(u"Уйти"),                          hidden},
    {u"Покинуть мир",                 always,                         8,        noWrite,    hidden,                                shown(u"Ответить"),                      hidden},
    {u"Уйти",                         always,                         8,        noWrite,    hidden,                                shown(u"Ответить"),                      hidden},
    {u"Ответить",                     always,                         9,        noWrite,    shown(u"Посмотреть остальные сообщения"), shown(u"Получить данные"),            shown(u"Закрыть")},
    {u"Получить данные",              always,                         11,       noWrite,    hidden,                                hidden,                                  shown(u"Закрыть")},
    {u"Далее",                        always,                         13,       noWrite,    shown(u"Виртуал Сити"),                hidden,                                  hidden},
    {u"Войти в главное меню",         always,                         15,       noWrite,    shown(u"Виртуал банк"),                shown(u"Центр Zuvodu LNC Control"),      shown(u">Далее")},
    {u"<<<<Назад",                    always,                         15,       noWrite,    shown(u"Виртуал банк"),                shown(u"Центр Zuvodu LNC Control"),      shown(u">Далее")},
    {u"100|48",                       always,                         18,       noWrite,    hidden,                                shown(u"Центр Zuvodu LNC Control"),      shown(u">>Далее")},
    {u"Центр Zuvodu LNC Control",     always,                         19,       noWrite,    hidden,                                shown(u"Центр Zuvodu LNC Control"),      shown(u">>Далее")},
    {u"Клуб Elen",                    flagIs(Flag::c, u"0"),          20,       noWrite,    shown(u"Ресторан Vibi"),               hidden,                                  shown(u">>>Далее")},
    {u"Клуб Elen",                    flagIs(Flag::c, u"1"),          20,       noWrite,    shown(u"Ресторан Vibi"),               shown(u"Ввести код доступа: 8859"),      shown(u">>Далее")},
    {u"Поднять бумажку",              always,                         22,       noWrite,    shown(u"Музей"),                       hidden,                                  shown(u">>>>Далее")},
    {u"Парк юрского периода",         always,                         19,       noWrite,    hidden,                                shown(u"Парк юрского периода"),          shown(u">>>>Далее")},
    {u"Офис Melisa",                  always,                         19,       noWrite,    shown(u"Клиника EnemaLife"),           hidden,                                  shown(u">>>>Далее")},
    {u"Ввести код доступа: 8859",     always,                         25,       noWrite,    shown(u"дальше>>"),                    hidden,                                  hidden},
    {u"Вернуться домой",              always,                         26,       noWrite,    shown(u"Прочесть сообщения"),          hidden,                                  hidden},
    {u"Остаться",                     always,                         31,       noWrite,    shown(u"Ехать"),                       hidden,                                  hidden},
    {u"Остаться отдохнуть",           always,                         33,       noWrite,    shown(u"Конец"),                       hidden,                                  hidden},
    {u"Оторваться",                   always,                         36,       noWrite,    shown(u">>>"),                         hidden,                                  hidden},
    {u"11 часов",                     always,                         samePage, noWrite,    unchanged,                             unchanged,                               unchanged,                 Other::GameOver},
    {u"Уйти от сюда",                 always,                         40,       noWrite,    shown(u"Конец"),                       hidden,                                  hidden},
    {u"[HOST#35]",                    always,                         42,       noWrite,    shown(u">Назад<"),                     hidden,                                  hidden},
    {u"Поднять",                      always,                         45,       noWrite,    shown(u"Конец"),                       hidden,                                  hidden},
    {u"8 слов",                       always,                         47,       noWrite,    shown(u"Конец"),                       hidden,                                  hidden},
    {u"Замок",                        always,                         42,       noWrite,    shown(u">>Назад<<"),                   hidden,                                  hidden},
    {u"Доложить о виртах",            always,                         53,       noWrite,    shown(u"Конец"),                       hidden,                                  hidden},
    {u"Да...",                        always,                         55,       noWrite,    shown(u"Конец"),                       hidden,                                  hidden},
    {u"Enter parol",                  passwordIs(kEndingPassword),    57,       noWrite,    hidden,                                shown(u"Конец"),                         hidden},
    {u"Enter parol",                  passwordIs(kConsolePassword),   samePage, noWrite,    unchanged,                             unchanged,                               unchanged,                 Other::OpenConsole},
    {u"Конец",                        always,                         samePage, noWrite,    unchanged,                             unchanged,                               unchanged,                 Other::GameOver},
};

} // namespace

const ChoiceTable kLabel3Table{Slot::Label3, kLabel3Flags, kLabel3Rules};

} // namespace story
