#pragma once
// The script of the story in its own words: each rule of the three choice
// slots written out again by hand, so that a slip in the game's own tables
// shows up in the tests that hold one against the other.
#include "story/core/choice_rule.h"
#include "story/core/choice_tables.h"
#include "story/core/passwords.h"

#include <QList>

#include <array>
#include <span>

using story::Flag;
using story::Slot;

namespace {

// ---- The script, in its own words -------------------------------------------

// What a rule does to one slot.
struct After {
    enum Kind { Unchanged, Hidden, Text, Shown } kind = Unchanged;
    QStringView caption;
};
constexpr After unchanged{};
constexpr After hidden{After::Hidden, {}};
constexpr After text(QStringView caption) { return {After::Text, caption}; }
constexpr After shown(QStringView caption) { return {After::Shown, caption}; }

// What must hold besides the caption.
struct Need {
    enum Kind { Nothing, FlagReads, Typed } kind = Nothing;
    Flag flag = Flag::b;
    QStringView value;
};
constexpr Need always{};
constexpr Need flagIs(Flag flag, QStringView value) { return {Need::FlagReads, flag, value}; }
constexpr Need typed(QStringView password) { return {Need::Typed, Flag::b, password}; }
constexpr Need typedEndingPassword = typed(story::kEndingPassword);

struct FlagWrite {
    bool present = false;
    Flag flag = Flag::b;
    const char *bytes = nullptr;
};
constexpr FlagWrite noFlag{};
constexpr FlagWrite sets(Flag flag, const char *bytes) { return {true, flag, bytes}; }

enum Then { nothingElse, passwordBoxShown, gameOverSequence, consoleOpened };

constexpr int noPage = 0;

struct Rule {
    QStringView caption;
    Need need;
    int page = noPage;
    FlagWrite write;
    After label2;
    After label3;
    After label4;
    Then then = nothingElse;
};

constexpr Rule kLabel2Script[] = {
    {u"Виртуальный ресторан", always, 2, noFlag, hidden, text(u"Назад"), hidden, nothingElse},
    {u"Назад", always, 3, noFlag, shown(u"Виртуальный ресторан"), shown(u"Подводный мир"), shown(u"Остров Сокровищ"), nothingElse},
    {u"Подойти к ней", always, 7, noFlag, hidden, shown(u"Покинуть мир"), hidden, nothingElse},
    {u"Посмотреть остальные сообщения", always, 10, noFlag, hidden, shown(u"Получить данные"), shown(u"Закрыть"), nothingElse},
    {u"Виртуал Сити", always, 14, noFlag, hidden, shown(u"Войти в главное меню"), hidden, nothingElse},
    {u"Виртуал банк", flagIs(Flag::b, u"0"), 16, sets(Flag::b, "1\r\n"), shown(u"104|8"), shown(u"100|48"), shown(u"100|4|8"), nothingElse},
    {u"104|8", always, 17, sets(Flag::bc, "1\r\n"), hidden, shown(u"Центр Zuvodu LNC Control"), shown(u">Далее"), nothingElse},
    {u"Ресторан Vibi", always, 19, noFlag, hidden, shown(u"Клуб Elen"), shown(u">>Далее"), nothingElse},
    {u"Музей", always, 21, noFlag, hidden, shown(u"Поднять бумажку"), shown(u">>>Далее"), nothingElse},
    {u"Клиника EnemaLife", always, 19, noFlag, hidden, shown(u"Офис Melisa"), shown(u">>>>Далее"), nothingElse},
    {u"Планетарий", flagIs(Flag::bc, u"1"), 23, noFlag, shown(u"Ввести код карты: 7183"), shown(u"<<<<Назад"), hidden, nothingElse},
    {u"Планетарий", flagIs(Flag::bc, u"0"), 23, noFlag, hidden, shown(u"<<<<Назад"), hidden, nothingElse},
    {u"Ввести код карты: 7183", always, 24, sets(Flag::c, "1\r\n"), hidden, shown(u"Вернуться домой"), shown(u">>>>Далее"), nothingElse},
    {u"дальше>>", always, 27, noFlag, shown(u"Просмотреть сообщения"), hidden, hidden, nothingElse},
    {u"Прочесть сообщения", always, 28, noFlag, shown(u"Закрыть меню контролера"), hidden, hidden, nothingElse},
    {u"Просмотреть сообщения", always, 29, noFlag, shown(u"Закрыть контролер"), hidden, hidden, nothingElse},
    {u"Закрыть меню контролера", always, 30, noFlag, shown(u"Ехать"), shown(u"Остаться"), hidden, nothingElse},
    {u"Закрыть контролер", always, 32, noFlag, shown(u"Ехать"), shown(u"Остаться отдохнуть"), hidden, nothingElse},
    {u"Конец", always, noPage, noFlag, unchanged, unchanged, unchanged, gameOverSequence},
    {u"Ехать", always, 34, noFlag, shown(u"Отстановиться"), shown(u"Оторваться"), hidden, nothingElse},
    {u"Отстановиться", always, 35, noFlag, shown(u"Конец"), hidden, hidden, nothingElse},
    {u">>>", always, 37, noFlag, shown(u"Войти в здание"), hidden, hidden, nothingElse},
    {u"Войти в здание", always, 38, noFlag, shown(u"1 час"), shown(u"11 часов"), shown(u"17 часов"), nothingElse},
    {u"1 час", always, 39, noFlag, shown(u"[киберкресло]"), shown(u"Уйти от сюда"), hidden, nothingElse},
    {u"[киберкресло]", always, 41, noFlag, shown(u"[HOST#46]"), shown(u"[HOST#35]"), shown(u"[HOST#478]"), nothingElse},
    {u">Назад<", always, 43, noFlag, shown(u"[HOST#46]"), shown(u"[HOST#35]"), shown(u"[HOST#478]"), nothingElse},
    {u"[HOST#46]", always, 46, noFlag, shown(u"14 слов"), shown(u"8 слов"), shown(u"10 слов"), nothingElse},
    {u"14 слов", always, 48, noFlag, shown(u"Дом у дороги"), shown(u"Замок"), shown(u"Домик-башня"), nothingElse},
    {u">>Назад<<", always, 49, noFlag, shown(u"Дом у дороги"), shown(u"Замок"), shown(u"Домик-башня"), nothingElse},
    {u"Дом у дороги", always, 51, noFlag, shown(u"->"), hidden, hidden, nothingElse},
    {u"->", always, 52, noFlag, shown(u"Ехать на Ивин роуч 47"), shown(u"Доложить о виртах"), hidden, nothingElse},
    {u"Ехать на Ивин роуч 47", always, 54, noFlag, shown(u"Нет..."), shown(u"Да..."), hidden, nothingElse},
    {u"Нет...", always, 56, noFlag, hidden, shown(u"Enter parol"), hidden, passwordBoxShown},
};

constexpr Rule kLabel3Script[] = {
    {u"Назад", always, 3, noFlag, shown(u"Виртуальный ресторан"), shown(u"Подводный мир"), shown(u"Остров Сокровищ"), nothingElse},
    {u"Остаться еще на полчаса", always, 5, noFlag, text(u"Назад"), hidden, hidden, nothingElse},
    {u"Подводный мир", always, 6, noFlag, text(u"Подойти к ней"), shown(u"Уйти"), hidden, nothingElse},
    {u"Покинуть мир", always, 8, noFlag, hidden, shown(u"Ответить"), hidden, nothingElse},
    {u"Уйти", always, 8, noFlag, hidden, shown(u"Ответить"), hidden, nothingElse},
    {u"Ответить", always, 9, noFlag, shown(u"Посмотреть остальные сообщения"), shown(u"Получить данные"), shown(u"Закрыть"), nothingElse},
    {u"Получить данные", always, 11, noFlag, hidden, hidden, shown(u"Закрыть"), nothingElse},
    {u"Далее", always, 13, noFlag, shown(u"Виртуал Сити"), hidden, hidden, nothingElse},
    {u"Войти в главное меню", always, 15, noFlag, shown(u"Виртуал банк"), shown(u"Центр Zuvodu LNC Control"), shown(u">Далее"), nothingElse},
    {u"<<<<Назад", always, 15, noFlag, shown(u"Виртуал банк"), shown(u"Центр Zuvodu LNC Control"), shown(u">Далее"), nothingElse},
    {u"100|48", always, 18, noFlag, hidden, shown(u"Центр Zuvodu LNC Control"), shown(u">>Далее"), nothingElse},
    {u"Центр Zuvodu LNC Control", always, 19, noFlag, hidden, shown(u"Центр Zuvodu LNC Control"), shown(u">>Далее"), nothingElse},
    {u"Клуб Elen", flagIs(Flag::c, u"0"), 20, noFlag, shown(u"Ресторан Vibi"), hidden, shown(u">>>Далее"), nothingElse},
    {u"Клуб Elen", flagIs(Flag::c, u"1"), 20, noFlag, shown(u"Ресторан Vibi"), shown(u"Ввести код доступа: 8859"), shown(u">>Далее"), nothingElse},
    {u"Поднять бумажку", always, 22, noFlag, shown(u"Музей"), hidden, shown(u">>>>Далее"), nothingElse},
    {u"Парк юрского периода", always, 19, noFlag, hidden, shown(u"Парк юрского периода"), shown(u">>>>Далее"), nothingElse},
    {u"Офис Melisa", always, 19, noFlag, shown(u"Клиника EnemaLife"), hidden, shown(u">>>>Далее"), nothingElse},
    {u"Ввести код доступа: 8859", always, 25, noFlag, shown(u"дальше>>"), hidden, hidden, nothingElse},
    {u"Вернуться домой", always, 26, noFlag, shown(u"Прочесть сообщения"), hidden, hidden, nothingElse},
    {u"Остаться", always, 31, noFlag, shown(u"Ехать"), hidden, hidden, nothingElse},
    {u"Остаться отдохнуть", always, 33, noFlag, shown(u"Конец"), hidden, hidden, nothingElse},
    {u"Оторваться", always, 36, noFlag, shown(u">>>"), hidden, hidden, nothingElse},
    {u"11 часов", always, noPage, noFlag, unchanged, unchanged, unchanged, gameOverSequence},
    {u"Уйти от сюда", always, 40, noFlag, shown(u"Конец"), hidden, hidden, nothingElse},
    {u"[HOST#35]", always, 42, noFlag, shown(u">Назад<"), hidden, hidden, nothingElse},
    {u"Поднять", always, 45, noFlag, shown(u"Конец"), hidden, hidden, nothingElse},
    {u"8 слов", always, 47, noFlag, shown(u"Конец"), hidden, hidden, nothingElse},
    {u"Замок", always, 42, noFlag, shown(u">>Назад<<"), hidden, hidden, nothingElse},
    {u"Доложить о виртах", always, 53, noFlag, shown(u"Конец"), hidden, hidden, nothingElse},
    {u"Да...", always, 55, noFlag, shown(u"Конец"), hidden, hidden, nothingElse},
    {u"Enter parol", typedEndingPassword, story::kFinalPage, noFlag, hidden, shown(u"Конец"), hidden, nothingElse},
    {u"Enter parol", typed(u"zolv"), noPage, noFlag, unchanged, unchanged, unchanged, consoleOpened},
    {u"Конец", always, noPage, noFlag, unchanged, unchanged, unchanged, gameOverSequence},
};

constexpr Rule kLabel4Script[] = {
    {u"Остров Сокровищ", always, 4, noFlag, text(u"Назад"), text(u"Остаться еще на полчаса"), hidden, nothingElse},
    {u"Закрыть", always, 12, noFlag, hidden, shown(u"Далее"), hidden, nothingElse},
    {u">Далее", always, 15, noFlag, shown(u"Ресторан Vibi"), shown(u"Клуб Elen"), shown(u">>Далее"), nothingElse},
    {u">>Далее", always, 15, noFlag, shown(u"Музей"), shown(u"Парк юрского периода"), shown(u">>>Далее"), nothingElse},
    {u">>>Далее", always, 15, noFlag, shown(u"Клиника EnemaLife"), shown(u"Офис Melisa"), shown(u">>>>Далее"), nothingElse},
    {u">>>>Далее", always, 15, noFlag, shown(u"Планетарий"), shown(u"<<<<Назад"), hidden, nothingElse},
    {u"100|4|8", always, 18, noFlag, hidden, shown(u"Центр Zuvodu LNC Control"), shown(u">Далее"), nothingElse},
    {u"17 часов", always, noPage, noFlag, unchanged, unchanged, unchanged, gameOverSequence},
    {u"[HOST#478]", always, 44, noFlag, shown(u">Назад<"), shown(u"Поднять"), hidden, nothingElse},
    {u"10 слов", always, 47, noFlag, shown(u"Конец"), hidden, hidden, nothingElse},
    {u"Домик-башня", always, 50, noFlag, shown(u"Конец"), hidden, hidden, nothingElse},
};

inline std::span<const Rule> scriptOf(Slot slot)
{
    switch (slot) {
    case Slot::Label2:
        return kLabel2Script;
    case Slot::Label3:
        return kLabel3Script;
    case Slot::Label4:
        return kLabel4Script;
    }
    Q_UNREACHABLE();
}

// The flags a click on the slot re-reads before it looks at the caption.
inline QList<Flag> refreshedBy(Slot slot)
{
    switch (slot) {
    case Slot::Label2:
        return {Flag::c, Flag::b, Flag::bc};
    case Slot::Label3:
        return {Flag::c};
    case Slot::Label4:
        return {};
    }
    Q_UNREACHABLE();
}

constexpr std::array kSlots{Slot::Label2, Slot::Label3, Slot::Label4};

} // namespace
