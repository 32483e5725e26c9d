// The story screen inside the whole game: played with the mouse and the
// keyboard only, from the first page to every ending, with files that fail.
#include "test_game.h"

#include "shell/ui/layout_units.h"
#include "story/ui/engine_screen.h"

#include <QTimer>
#include <QtTest>

#include <functional>
#include <vector>

using story::EngineScreen;
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

Step typed(const char *word)
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

const std::vector<Walkthrough> &walkthroughs()
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

QString pageText(int page)
{
    return QStringLiteral("page %1\r\n").arg(page);
}

EngineScreen &openStory(TestGame &game)
{
    game.screens.Show(ScreenId::Engine);
    return game.screen<EngineScreen>(ScreenId::Engine);
}

QList<tess::Label *> choiceSlots(EngineScreen &screen)
{
    return {&screen.Label2, &screen.Label3, &screen.Label4};
}

QString choices(EngineScreen &screen)
{
    QStringList shown;
    for (const tess::Label *slot : choiceSlots(screen))
        shown << (slot->isHidden() ? QStringLiteral("—") : slot->text());
    return shown.join(QStringLiteral(" / "));
}

tess::Label *visibleSlotReading(EngineScreen &screen, const QString &caption)
{
    for (tess::Label *slot : choiceSlots(screen)) {
        if (!slot->isHidden() && slot->text() == caption)
            return slot;
    }
    return nullptr;
}

// Clicks the visible slot that reads the caption; false when none does.
[[nodiscard]] bool clickChoice(EngineScreen &screen, const QString &caption)
{
    tess::Label *slot = visibleSlotReading(screen, caption);
    if (!slot)
        return false;
    QTest::mouseClick(slot, Qt::LeftButton);
    TestGame::settle();
    return true;
}

QByteArray noSuchChoice(EngineScreen &screen, const QString &caption)
{
    return QStringLiteral("no visible slot reads \"%1\"; the slots read %2 on %3")
        .arg(caption, choices(screen), screen.Label1.text().trimmed())
        .toUtf8();
}

// Plays the steps one by one; the pane after every step goes to `panes`.
// Returns an empty text, or why the route could not be followed.
QByteArray play(EngineScreen &screen, const Route &route, QSet<QString> *panes = nullptr)
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

QByteArray flagLetters(const TestGame &game)
{
    QByteArray letters;
    for (Flag flag : story::kAllFlags) {
        const QByteArray value = game.flag(flag);
        letters += value.size() == 3 && value.endsWith("\r\n") ? value.left(1) : QByteArray("?");
    }
    return letters;
}

// Everything the story keeps, in words, so that a difference reads plainly.
QStringList storyState(const TestGame &game, EngineScreen &screen)
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

class StoryScreenTest : public QObject {
    Q_OBJECT
private slots:
    // --- Playing the story through -------------------------------------

    void everyWalkthroughFromPageOneEndsWhereItsClicksLead_data()
    {
        QTest::addColumn<Route>("route");
        QTest::addColumn<int>("finalPage");
        QTest::addColumn<QString>("finalChoices");
        QTest::addColumn<ScreenId>("finalScreen");
        QTest::addColumn<QByteArray>("finalFlags");
        for (const Walkthrough &walk : walkthroughs())
            QTest::newRow(walk.name) << walk.route << walk.finalPage << walk.choices << walk.screen << walk.flags;
    }

    void everyWalkthroughFromPageOneEndsWhereItsClicksLead()
    {
        QFETCH(Route, route);
        QFETCH(int, finalPage);
        QFETCH(QString, finalChoices);
        QFETCH(ScreenId, finalScreen);
        QFETCH(QByteArray, finalFlags);
        TestGame game;
        EngineScreen &screen = openStory(game);
        QCOMPARE(screen.Label1.text(), pageText(1));

        const QByteArray stuck = play(screen, route);
        QVERIFY2(stuck.isEmpty(), stuck.constData());

        QCOMPARE(screen.Label1.text(), pageText(finalPage));
        QCOMPARE(choices(screen), finalChoices);
        QCOMPARE(flagLetters(game), finalFlags);
        QVERIFY(game.screens.isShown(finalScreen));
        QVERIFY(game.screens.isLoaded(ScreenId::Engine));
        QCOMPARE(game.screens.isShown(ScreenId::Engine), finalScreen == ScreenId::Engine);
        QCOMPARE(game.log.entries, finalScreen == ScreenId::GameOver ? kGameOverMusic : kStoryMusic);
        QVERIFY(game.alerts.messages.isEmpty());
        QVERIFY(game.process.statuses.isEmpty());
    }

    void everyPageOfTheStoryIsShownOnSomeWalkthrough()
    {
        QSet<QString> panes;
        for (const Walkthrough &walk : walkthroughs()) {
            TestGame game;
            EngineScreen &screen = openStory(game);
            panes << screen.Label1.text();
            const QByteArray stuck = play(screen, walk.route, &panes);
            QVERIFY2(stuck.isEmpty(), stuck.constData());
        }
        QStringList missing;
        for (int page = 1; page <= 57; ++page) {
            if (!panes.contains(pageText(page)))
                missing << QString::number(page);
        }
        QVERIFY2(missing.isEmpty(), qPrintable(QStringLiteral("never shown: ") + missing.join(u' ')));
    }

    void theBankCodeAndThePlanetariumCardWriteTheirFlagsOnTheClickThatChoosesThem()
    {
        TestGame game;
        EngineScreen &screen = openStory(game);
        QByteArray stuck = play(screen, kPrologue + Route{"Виртуал банк"});
        QVERIFY2(stuck.isEmpty(), stuck.constData());
        QCOMPARE(flagLetters(game), QByteArray("100"));
        QVERIFY(clickChoice(screen, "104|8"));
        QCOMPARE(game.flag(Flag::bc), QByteArray("1\r\n"));
        QCOMPARE(flagLetters(game), QByteArray("101"));
        stuck = play(screen, Route{">Далее", ">>Далее", ">>>Далее", ">>>>Далее", "Планетарий"});
        QVERIFY2(stuck.isEmpty(), stuck.constData());
        QCOMPARE(choices(screen), QStringLiteral("Ввести код карты: 7183 / <<<<Назад / —"));
        QVERIFY(clickChoice(screen, "Ввести код карты: 7183"));
        QCOMPARE(game.flag(Flag::c), QByteArray("1\r\n"));
        QCOMPARE(flagLetters(game), QByteArray("111"));
    }

    // --- Hover highlight -------------------------------------------------

    void aDoubleClickOnAChoiceTakesItOnceAndSkipsNoPage()
    {
        TestGame game;
        EngineScreen &screen = openStory(game);
        // What the window system sends for a double click: press, release,
        // double-click press, release.
        QTest::mouseClick(&screen.Label3, Qt::LeftButton);  // «Подводный мир»
        QTest::mouseDClick(&screen.Label3, Qt::LeftButton);
        QTest::mouseRelease(&screen.Label3, Qt::LeftButton);
        TestGame::settle();
        QCOMPARE(screen.Label1.text(), pageText(6));
        QCOMPARE(choices(screen), QStringLiteral("Подойти к ней / Уйти / —"));
    }

    void beforeAnyPointerMoveTheSlotsKeepTheirLaidOutColour()
    {
        TestGame game;
        EngineScreen &screen = openStory(game);
        for (const tess::Label *slot : choiceSlots(screen))
            QCOMPARE(slot->foreground(), tess::layoutColor(0x80000012));
    }

    void theSlotUnderThePointerAloneIsHighlightedAndTheBackgroundClearsAll()
    {
        const QColor normal(0x00, 0xAA, 0xA4);
        const QColor highlight(0x05, 0xFD, 0xF4);
        TestGame game;
        EngineScreen &screen = openStory(game);
        const auto colours = [&] {
            return QList<QColor>{screen.Label2.foreground(), screen.Label3.foreground(), screen.Label4.foreground()};
        };

        QTest::mouseMove(&screen.Label2);
        QCOMPARE(colours(), (QList<QColor>{highlight, normal, normal}));
        QTest::mouseMove(&screen.Label3);
        QCOMPARE(colours(), (QList<QColor>{normal, highlight, normal}));
        QTest::mouseMove(&screen.Label4);
        QCOMPARE(colours(), (QList<QColor>{normal, normal, highlight}));
        QTest::mouseMove(&screen, QPoint(20, 20));
        QCOMPARE(colours(), (QList<QColor>{normal, normal, normal}));
    }

    void movingOverTheStoryPaneChangesNoColour()
    {
        TestGame game;
        EngineScreen &screen = openStory(game);
        QTest::mouseMove(&screen.Label3, QPoint(5, 5));
        QCOMPARE(screen.Label3.foreground(), EngineScreen::kHighlightColour);
        QTest::mouseMove(&screen.Label1);
        QCOMPARE(screen.Label2.foreground(), EngineScreen::kNormalColour);
        QCOMPARE(screen.Label3.foreground(), EngineScreen::kHighlightColour);
        QCOMPARE(screen.Label4.foreground(), EngineScreen::kNormalColour);
    }

    // --- Keys ------------------------------------------------------------

    void f8ShowsTheLastPageWithOnlyTheEndChoiceWhateverModifiersAreHeld_data()
    {
        QTest::addColumn<Route>("before");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::newRow("on page 1") << Route{} << Qt::KeyboardModifiers(Qt::NoModifier);
        QTest::newRow("on page 1 with Shift") << Route{} << Qt::KeyboardModifiers(Qt::ShiftModifier);
        QTest::newRow("on page 1 with Ctrl") << Route{} << Qt::KeyboardModifiers(Qt::ControlModifier);
        QTest::newRow("after the bank with Shift+Ctrl")
            << kPrologue + Route{"Виртуал банк"} << (Qt::ShiftModifier | Qt::ControlModifier);
    }

    void f8ShowsTheLastPageWithOnlyTheEndChoiceWhateverModifiersAreHeld()
    {
        QFETCH(Route, before);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        TestGame game;
        EngineScreen &screen = openStory(game);
        const QByteArray stuck = play(screen, before);
        QVERIFY2(stuck.isEmpty(), stuck.constData());
        const QByteArray flags = flagLetters(game);

        QTest::keyClick(&screen, Qt::Key_F8, modifiers);
        TestGame::settle();
        QCOMPARE(screen.Label1.text(), pageText(57));
        QCOMPARE(choices(screen), QStringLiteral("Конец / — / —"));
        QCOMPARE(flagLetters(game), flags);
        QCOMPARE(game.log.entries, kStoryMusic);

        QVERIFY(clickChoice(screen, "Конец"));
        QVERIFY(game.screens.isShown(ScreenId::GameOver));
        QVERIFY(!game.screens.isShown(ScreenId::Engine));
        QCOMPARE(game.log.entries, kGameOverMusic);
    }

    void theKeypadCommaHidesTheStoryUntouchedAndOpensTheConsole()
    {
        TestGame game;
        EngineScreen &screen = openStory(game);
        const QByteArray stuck = play(screen, kPrologue + Route{"Виртуал банк"});
        QVERIFY2(stuck.isEmpty(), stuck.constData());
        const QStringList before = storyState(game, screen);

        QTest::keyClick(&screen, Qt::Key_Comma, Qt::KeypadModifier);
        TestGame::settle();
        QVERIFY(game.screens.isShown(ScreenId::BLNC));
        QVERIFY(game.screens.isLoaded(ScreenId::Engine));
        QVERIFY(!game.screens.isShown(ScreenId::Engine));
        QCOMPARE(storyState(game, screen), before);
        QCOMPARE(game.log.entries, kStoryMusic);
    }

    void aPlainCommaDoesNothing()
    {
        TestGame game;
        EngineScreen &screen = openStory(game);
        const QStringList before = storyState(game, screen);
        QTest::keyClick(&screen, Qt::Key_Comma);
        TestGame::settle();
        QVERIFY(game.screens.isShown(ScreenId::Engine));
        QVERIFY(!game.screens.isLoaded(ScreenId::BLNC));
        QCOMPARE(storyState(game, screen), before);
    }

    void keysTypedIntoTheCodeBoxStayThereAndAreNoShortcuts()
    {
        TestGame game;
        EngineScreen &screen = openStory(game);
        const QByteArray stuck = play(screen, kToTheCodeBox);
        QVERIFY2(stuck.isEmpty(), stuck.constData());
        QVERIFY(!screen.Text1.isHidden());
        screen.Text1.setFocus();
        const QStringList before = storyState(game, screen);

        QTest::keyClick(&screen.Text1, Qt::Key_F8);
        QTest::keyClick(&screen.Text1, Qt::Key_Comma, Qt::KeypadModifier);
        TestGame::settle();
        QCOMPARE(storyState(game, screen), before);
        QCOMPARE(screen.Text1.text(), QStringLiteral(","));
        QVERIFY(game.screens.isShown(ScreenId::Engine));
        QVERIFY(!game.screens.isLoaded(ScreenId::BLNC));
    }

    // --- Closing ---------------------------------------------------------

    void closingTheStoryScreenResetsTheFlagsAndEndsTheProgramWhateverTheReason_data()
    {
        QTest::addColumn<CloseReason>("reason");
        QTest::newRow("close box") << CloseReason::User;
        QTest::newRow("unload by code") << CloseReason::Program;
        QTest::newRow("session end") << CloseReason::SessionEnd;
        QTest::newRow("task manager") << CloseReason::TaskManager;
    }

    void closingTheStoryScreenResetsTheFlagsAndEndsTheProgramWhateverTheReason()
    {
        QFETCH(CloseReason, reason);
        TestGame game;
        for (Flag flag : story::kAllFlags)
            game.files.content[story::StoryFlags::fileOf(flag)] = "1\r\n";
        openStory(game);

        game.screens.requestClose(ScreenId::Engine, reason);
        TestGame::settle();
        for (Flag flag : story::kAllFlags)
            QCOMPARE(game.flag(flag), QByteArray("0\r\n"));
        QVERIFY(!game.screens.isLoaded(ScreenId::Engine));
        QVERIFY(!game.process.statuses.isEmpty());
        QCOMPARE(game.process.statuses.first(), 0);
        QCOMPARE(game.log.entries.mid(0, 3), (QStringList{"play sound\\trackgp.mp3", "restore cursor", "end 0"}));
    }

    // --- Files that fail -------------------------------------------------

    void aMissingPageFileMakesTheClickApplyNothingUntilItIsBack()
    {
        TestGame game;
        EngineScreen &screen = openStory(game);
        const QByteArray stuck = play(screen, kPrologue);
        QVERIFY2(stuck.isEmpty(), stuck.constData());
        const QByteArray page = game.files.content.take("text\\gt16.tf");
        const QStringList before = storyState(game, screen);

        QVERIFY(clickChoice(screen, "Виртуал банк"));
        QCOMPARE(storyState(game, screen), before);
        QCOMPARE(game.alerts.messages.size(), 1);
        QVERIFY2(game.alerts.messages.first().contains("text\\gt16.tf"), qPrintable(game.alerts.messages.first()));
        QVERIFY(game.screens.isShown(ScreenId::Engine));
        QVERIFY(game.process.statuses.isEmpty());

        game.files.content["text\\gt16.tf"] = page;
        QVERIFY(clickChoice(screen, "Виртуал банк"));
        QCOMPARE(screen.Label1.text(), pageText(16));
        QCOMPARE(choices(screen), QStringLiteral("104|8 / 100|48 / 100|4|8"));
        QCOMPARE(game.flag(Flag::b), QByteArray("1\r\n"));
    }

    void aFlagFileThatCannotBeReadStopsOnlyTheSlotsThatReadIt_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("readsTheFlag");
        QTest::addColumn<int>("page");
        QTest::newRow("Label2 reads every flag") << QStringLiteral("Виртуальный ресторан") << true << 2;
        QTest::newRow("Label3 reads flag c") << QStringLiteral("Подводный мир") << true << 6;
        QTest::newRow("Label4 reads no flag") << QStringLiteral("Остров Сокровищ") << false << 4;
    }

    void aFlagFileThatCannotBeReadStopsOnlyTheSlotsThatReadIt()
    {
        QFETCH(QString, caption);
        QFETCH(bool, readsTheFlag);
        QFETCH(int, page);
        TestGame game;
        EngineScreen &screen = openStory(game);
        const QByteArray flag = game.files.content.take("engdat\\c.gdf");
        const QStringList before = storyState(game, screen);

        QVERIFY(clickChoice(screen, caption));
        if (readsTheFlag) {
            QCOMPARE(storyState(game, screen), before);
            QCOMPARE(game.alerts.messages.size(), 1);
            QVERIFY2(game.alerts.messages.first().contains("engdat\\c.gdf"), qPrintable(game.alerts.messages.first()));
            QVERIFY(game.process.statuses.isEmpty());
            game.files.content["engdat\\c.gdf"] = flag;
            QVERIFY(clickChoice(screen, caption));
        } else {
            QVERIFY(game.alerts.messages.isEmpty());
        }
        QCOMPARE(screen.Label1.text(), pageText(page));
    }

    void aFlagThatCannotBeWrittenUndoesTheClickAndTheNextTryWorks()
    {
        TestGame game;
        EngineScreen &screen = openStory(game);
        const QByteArray stuck = play(screen, kPrologue);
        QVERIFY2(stuck.isEmpty(), stuck.constData());
        game.files.unwritable << "engdat\\b.gdf";
        const QStringList before = storyState(game, screen);

        QVERIFY(clickChoice(screen, "Виртуал банк"));
        QCOMPARE(storyState(game, screen), before);
        QCOMPARE(game.alerts.messages.size(), 1);
        QVERIFY2(game.alerts.messages.first().contains("engdat\\b.gdf"), qPrintable(game.alerts.messages.first()));
        QVERIFY(game.process.statuses.isEmpty());

        game.files.unwritable.clear();
        QVERIFY(clickChoice(screen, "Виртуал банк"));
        QCOMPARE(screen.Label1.text(), pageText(16));
        QCOMPARE(choices(screen), QStringLiteral("104|8 / 100|48 / 100|4|8"));
        QCOMPARE(game.flag(Flag::b), QByteArray("1\r\n"));
    }

    // --- Input while a page is shown line by line ------------------------

    void inputDuringAPageLoadWaitsForItAndActsAsIfItCameAfter_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<int>("page");
        QTest::newRow("click on Label3") << QStringLiteral("click Label3") << 3;
        QTest::newRow("F8") << QStringLiteral("F8") << 57;
    }

    void inputDuringAPageLoadWaitsForItAndActsAsIfItCameAfter()
    {
        QFETCH(QString, input);
        QFETCH(int, page);
        const auto give = [&input](EngineScreen &screen) {
            if (input == QLatin1String("F8"))
                QTest::keyClick(&screen, Qt::Key_F8);
            else
                QTest::mouseClick(&screen.Label3, Qt::LeftButton);
        };
        QByteArray longPage;
        QString firstTurn;
        for (int line = 1; line <= 40; ++line) {
            longPage += "line " + QByteArray::number(line) + "\r\n";
            if (line <= 16)
                firstTurn += QStringLiteral("line %1\r\n").arg(line);
        }

        TestGame during;
        // The window system's turn comes at the first look at the clock,
        // after the 16th line, instead of after 8 ms.
        during.gate.setTurnInterval(0);
        during.files.content["text\\gt2.tf"] = longPage;
        EngineScreen &screen = openStory(during);
        QStringList seenInside;
        // Fires while the pane fills, at the load's first turn.
        QTimer::singleShot(0, &screen, [&] {
            give(screen);
            seenInside << screen.Label1.text() << choices(screen);
        });
        QVERIFY(clickChoice(screen, "Виртуальный ресторан"));
        QCOMPARE(seenInside, (QStringList{firstTurn, "Виртуальный ресторан / Подводный мир / Остров Сокровищ"}));

        TestGame after;
        after.files.content["text\\gt2.tf"] = longPage;
        EngineScreen &reference = openStory(after);
        QVERIFY(clickChoice(reference, "Виртуальный ресторан"));
        give(reference);
        TestGame::settle();

        QCOMPARE(screen.Label1.text(), pageText(page));
        QCOMPARE(storyState(during, screen), storyState(after, reference));
        QCOMPARE(during.log.entries, after.log.entries);
    }
};

QTEST_MAIN(StoryScreenTest)
#include "story_screen_test.moc"
