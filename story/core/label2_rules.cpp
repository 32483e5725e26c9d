// The first choice slot: the rules of a click on Label2, tested in order.
#include "story/core/label_rules.h"

namespace story {
namespace {
using namespace script;

// A click on Label2 re-reads all three flags first.
constexpr Flag kLabel2Flags[] = {Flag::c, Flag::b, Flag::bc};

constexpr ChoiceRule kLabel2Rules[] = {
//   caption clicked                         condition                 page  flag write         Label2                                   Label3                               Label4                    other
    {u"Виртуальный ресторан",                always,                   2,    noWrite,           hidden,                                  text(u"Назад"),                      hidden},
    {u"Назад",                               always,                   3,    noWrite,           shown(u"Виртуальный ресторан"),          shown(u"Подводный мир"),             shown(u"Остров Сокровищ")},
    {u"Подойти к ней",                       always,                   7,    noWrite,           hidden,                                  shown(u"Покинуть мир"),              hidden},
    {u"Посмотреть остальные сообщения",      always,                   10,   noWrite,           hidden,                                  shown(u"Получить данные"),           shown(u"Закрыть")},
    {u"Виртуал Сити",                        always,                   14,   noWrite,           hidden,                                  shown(u"Войти в главное меню"),      hidden},
    {u"Виртуал банк",                        flagIs(Flag::b, u"0"),    16,   sets(Flag::b, 1),  shown(u"104|8"),                         shown(u"100|48"),                    shown(u"100|4|8")},
    {u"104|8",                               always,                   17,   sets(Flag::bc, 1), hidden,                                  shown(u"Центр Zuvodu LNC Control"),  shown(u">Далее")},
    {u"Ресторан Vibi",                       always,                   19,   noWrite,           hidden,                                  shown(u"Клуб Elen"),                 shown(u">>Далее")},
    {u"Музей",                               always,                   21,   noWrite,           hidden,                                  shown(u"Поднять бумажку"),           shown(u">>>Далее")},
    {u"Клиника EnemaLife",                   always,                   19,   noWrite,           hidden,                                  shown(u"Офис Melisa"),               shown(u">>>>Далее")},
    {u"Планетарий",                          flagIs(Flag::bc, u"1"),   23,   noWrite,           shown(u"Ввести код карты: 7183"),        shown(u"<<<<Назад"),                 hidden},
    {u"Планетарий",                          flagIs(Flag::bc, u"0"),   23,   noWrite,           hidden,                                  shown(u"<<<<Назад"),                 hidden},
    {u"Ввести код карты: 7183",              always,                   24,   sets(Flag::c, 1),  hidden,                                  shown(u"Вернуться домой"),           shown(u">>>>Далее")},
    {u"дальше>>",                            always,                   27,   noWrite,           shown(u"Просмотреть сообщения"),         hidden,                              hidden},
    {u"Прочесть сообщения",                  always,                   28,   noWrite,           shown(u"Закрыть меню контролера"),       hidden,                              hidden},
    {u"Просмотреть сообщения",               always,                   29,   noWrite,           shown(u"Закрыть контролер"),             hidden,                              hidden},
    {u"Закрыть меню контролера",             always,                   30,   noWrite,           shown(u"Ехать"),                         shown(u"Остаться"),                  hidden},
    {u"Закрыть контролер",                   always,                   32,   noWrite,           shown(u"Ехать"),                         shown(u"Остаться отдохнуть"),        hidden},
    {u"Конец",                               always,                   samePage, noWrite,       unchanged,                               unchanged,                           unchanged,                Other::GameOver},
    {u"Ехать",                               always,                   34,   noWrite,           shown(u"Отстановиться"),                 shown(u"Оторваться"),                hidden},
    {u"Отстановиться",                       always,                   35,   noWrite,           shown(u"Конец"),                         hidden,                              hidden},
    {u">>>",                                 always,                   37,   noWrite,           shown(u"Войти в здание"),                hidden,                              hidden},
    {u"Войти в здание",                      always,                   38,   noWrite,           shown(u"1 час"),                         shown(u"11 часов"),                  shown(u"17 часов")},
    {u"1 час",                               always,                   39,   noWrite,           shown(u"[киберкресло]"),                 shown(u"Уйти от сюда"),              hidden},
    {u"[киберкресло]",                       always,                   41,   noWrite,           shown(u"[HOST#46]"),                     shown(u"[HOST#35]"),                 shown(u"[HOST#478]")},
    {u">Назад<",                             always,                   43,   noWrite,           shown(u"[HOST#46]"),                     shown(u"[HOST#35]"),                 shown(u"[HOST#478]")},
    {u"[HOST#46]",                           always,                   46,   noWrite,           shown(u"14 слов"),                       shown(u"8 слов"),                    shown(u"10 слов")},
    {u"14 слов",                             always,                   48,   noWrite,           shown(u"Дом у дороги"),                  shown(u"Замок"),                     shown(u"Домик-башня")},
    {u">>Назад<<",                           always,                   49,   noWrite,           shown(u"Дом у дороги"),                  shown(u"Замок"),                     shown(u"Домик-башня")},
    {u"Дом у дороги",                        always,                   51,   noWrite,           shown(u"->"),                            hidden,                              hidden},
    {u"->",                                  always,                   52,   noWrite,           shown(u"Ехать на Ивин роуч 47"),         shown(u"Доложить о виртах"),         hidden},
    {u"Ехать на Ивин роуч 47",               always,                   54,   noWrite,           shown(u"Нет..."),                        shown(u"Да..."),                     hidden},
    {u"Нет...",                              always,                   56,   noWrite,           hidden,                                  shown(u"Enter parol"),               hidden,                   Other::ShowPasswordBox},
};

} // namespace

const ChoiceTable kLabel2Table{Slot::Label2, kLabel2Flags, kLabel2Rules};

} // namespace story
