#pragma once
// The story screen inside the whole game, for the tests that play it with the
// mouse and the keyboard only: the walkthroughs from the first page to every
// ending, and the helpers that click, type and read the screen.
#include "story_slots.h"
#include "test_game.h"

#include "shell/layout/layout_units.h"
#include "story/ui/story_screen.h"

#include <QTimer>
#include <QtTest>

#include <functional>
#include <vector>

using story::StoryScreen;
using story::Flag;
using tess::CloseReason;
using tess::ScreenId;

namespace {

// One move of the player: a click on the visible slot with this caption, or
// a word typed into the code box.
struct Step {
    Step() = default;
    Step(const char *caption) : text(QString::fromUtf8(caption)) {}
    bool typed = false;
    QString text;
};
using Route = QList<Step>;

inline Step typed(const char *word)
{
    Step step(word);
    step.typed = true;
    return step;
}

// Page 1 to the city menu, through every page on the way.
const Route kPrologueOnEveryPage{
    "Виртуальный ресторан", "Назад", "Остров Сокровищ", "Остаться еще на полчаса", "Назад",
    "Подводный мир", "Подойти к ней", "Покинуть мир", "Ответить", "Посмотреть остальные сообщения",
    "Получить данные", "Закрыть", "Далее", "Виртуал Сити", "Войти в главное меню",
};
// Page 1 to the city menu, the short way.
const Route kPrologue{
    "Подводный мир", "Уйти", "Ответить", "Получить данные", "Закрыть", "Далее", "Виртуал Сити",
    "Войти в главное меню",
};
// Every place of the city before the bank, back to the first menu.
const Route kCityTour{
    "Центр Zuvodu LNC Control", "Центр Zuvodu LNC Control", ">>Далее", "Музей", "Поднять бумажку",
    ">>>>Далее", "Планетарий", "<<<<Назад", ">Далее", "Ресторан Vibi", "Клуб Elen", ">>>Далее",
    "Клиника EnemaLife", "Офис Melisa", ">>>>Далее", "<<<<Назад", ">Далее", ">>Далее",
    "Парк юрского периода", ">>>>Далее", "<<<<Назад",
};
// The bank's right code opens the planetarium's card: page 24.
const Route kCardCode{
    "Виртуал банк", "104|8", ">Далее", ">>Далее", ">>>Далее", ">>>>Далее", "Планетарий",
    "Ввести код карты: 7183",
};
// From page 24 home, then on the road: page 34.
const Route kHomeRoad{
    "Вернуться домой", "Прочесть сообщения", "Закрыть меню контролера", "Остаться", "Ехать",
};
// From page 24 into the club with the access code: page 32.
const Route kClubRoad{
    ">>>>Далее", "<<<<Назад", ">Далее", "Клуб Elen", "Ввести код доступа: 8859", "дальше>>",
    "Просмотреть сообщения", "Закрыть контролер",
};
const Route kToTheBuilding = kPrologue + kCardCode + kHomeRoad + Route{"Оторваться", ">>>", "Войти в здание"};
const Route kIntoTheChair = kToTheBuilding + Route{"1 час", "[киберкресло]"};
const Route kToTheHouses = kIntoTheChair + Route{"[HOST#46]", "14 слов"};
const Route kToTheReport = kToTheHouses + Route{"Дом у дороги", "->"};
const Route kToTheCodeBox = kToTheReport + Route{"Ехать на Ивин роуч 47", "Нет..."};

struct Walkthrough {
    const char *name;
    Route route;
    int finalPage;
    QString choices;  // Label2 / Label3 / Label4 at the end, "—" for a hidden slot
    ScreenId screen;
    QByteArray flags;  // b, c, bc
};

inline const std::vector<Walkthrough> &walkthroughs()
{
    static const std::vector<Walkthrough> all{
        {"page 33: club access code, rest", kPrologue + kCardCode + kClubRoad + Route{"Остаться отдохнуть", "Конец"},
         33, "Конец / — / —", ScreenId::GameOver, "111"},
        {"page 35: home, stop the car", kPrologueOnEveryPage + kCardCode + kHomeRoad + Route{"Отстановиться", "Конец"},
         35, "Конец / — / —", ScreenId::GameOver, "111"},
        {"11 hours", kPrologue + kCardCode + kClubRoad + Route{"Ехать", "Оторваться", ">>>", "Войти в здание", "11 часов"},
         38, "1 час / 11 часов / 17 часов", ScreenId::GameOver, "111"},
        {"17 hours after a city tour",
         kPrologue + kCityTour + kCardCode + kHomeRoad + Route{"Оторваться", ">>>", "Войти в здание", "17 часов"},
         38, "1 час / 11 часов / 17 часов", ScreenId::GameOver, "111"},
        {"page 40: leave the chair", kToTheBuilding + Route{"1 час", "Уйти от сюда", "Конец"},
         40, "Конец / — / —", ScreenId::GameOver, "111"},
        {"page 45: hosts 35 and 478, pick up",
         kIntoTheChair + Route{"[HOST#35]", ">Назад<", "[HOST#478]", ">Назад<", "[HOST#478]", "Поднять", "Конец"},
         45, "Конец / — / —", ScreenId::GameOver, "111"},
        {"page 47: 8 words", kIntoTheChair + Route{"[HOST#46]", "8 слов", "Конец"},
         47, "Конец / — / —", ScreenId::GameOver, "111"},
        {"page 47: 10 words", kIntoTheChair + Route{"[HOST#46]", "10 слов", "Конец"},
         47, "Конец / — / —", ScreenId::GameOver, "111"},
        {"page 50: castle, tower", kToTheHouses + Route{"Замок", ">>Назад<<", "Домик-башня", "Конец"},
         50, "Конец / — / —", ScreenId::GameOver, "111"},
        {"page 53: report", kToTheReport + Route{"Доложить о виртах", "Конец"},
         53, "Конец / — / —", ScreenId::GameOver, "111"},
        {"page 55: yes", kToTheReport + Route{"Ехать на Ивин роуч 47", "Да...", "Конец"},
         55, "Конец / — / —", ScreenId::GameOver, "111"},
        {"page 57: ending password", kToTheCodeBox + Route{typed("ol"), "Enter parol", "Конец"},
         57, "— / Конец / —", ScreenId::GameOver, "111"},
        {"console password", kToTheCodeBox + Route{typed("zolv"), "Enter parol"},
         56, "— / Enter parol / —", ScreenId::BLNC, "111"},
        {"bank code 100|48 leaves no card", kPrologue + Route{"Виртуал банк", "100|48", ">>Далее", ">>>Далее", ">>>>Далее", "Планетарий"},
         23, "— / <<<<Назад / —", ScreenId::Engine, "100"},
        {"bank code 100|4|8 leaves no access code", kPrologue + Route{"Виртуал банк", "100|4|8", ">Далее", "Клуб Elen"},
         20, "Ресторан Vibi / — / >>>Далее", ScreenId::Engine, "100"},
    };
    return all;
}

inline QString pageText(int page)
{
    return QStringLiteral("page %1\r\n").arg(page);
}

inline StoryScreen &openStory(TestGame &game)
{
    game.screens.Show(ScreenId::Engine);
    return game.screen<StoryScreen>(ScreenId::Engine);
}

inline QByteArray noSuchChoice(StoryScreen &screen, const QString &caption)
{
    return QStringLiteral("no visible slot reads \"%1\"; the slots read %2 on %3")
        .arg(caption, choices(screen), screen.Label1.text().trimmed())
        .toUtf8();
}

// Plays the steps one by one; the pane after every step goes to `panes`.
// Returns an empty text, or why the route could not be followed.
inline QByteArray play(StoryScreen &screen, const Route &route, QSet<QString> *panes = nullptr)
{
    for (const Step &step : route) {
        if (step.typed) {
            QTest::keyClicks(&screen.Text1, step.text);
            TestGame::settle();
        } else if (!clickChoice(screen, step.text)) {
            return noSuchChoice(screen, step.text);
        }
        if (panes)
            *panes << screen.Label1.text();
    }
    return {};
}

inline QByteArray flagLetters(const TestGame &game)
{
    QByteArray letters;
    for (Flag flag : story::kAllFlags) {
        const QByteArray value = game.flag(flag);
        letters += value.size() == 3 && value.endsWith("\r\n") ? value.left(1) : QByteArray("?");
    }
    return letters;
}

// Everything the story keeps, in words, so that a difference reads plainly.
inline QStringList storyState(const TestGame &game, StoryScreen &screen)
{
    QStringList state{QStringLiteral("pane ") + screen.Label1.text(), QStringLiteral("choices ") + choices(screen),
                      QStringLiteral("mirrors %1|%2|%3").arg(screen.Label11.text(), screen.Label12.text(), screen.Label13.text())};
    for (Flag flag : story::kAllFlags)
        state << story::StoryFlags::fileOf(flag) + QStringLiteral(" = ") + QString::fromLatin1(game.flag(flag).toPercentEncoding());
    return state;
}

const QStringList kGameOverMusic{"play sound\\trackgp.mp3", "play sound\\gotrack.mp3", "close sound\\trackgp.mp3"};
const QStringList kStoryMusic{"play sound\\trackgp.mp3"};

} // namespace

Q_DECLARE_METATYPE(Step)
Q_DECLARE_METATYPE(tess::ScreenId)
Q_DECLARE_METATYPE(tess::CloseReason)
Q_DECLARE_METATYPE(Qt::KeyboardModifiers)
