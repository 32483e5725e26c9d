// A long random run of clicks, keys and hovers on the real story screen, each
// step checked against the story engine played without a window.
#include "story_model.h"

class HostileStoryWalkTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { quietPlatform(); }

    void aLongRandomRunOfClicksKeysAndHoversFollowsTheStoryTablesAtEveryStep()
    {
        Typist typist(seed + 3);
        std::unique_ptr<TestGame> game;
        StoryScreen *screen = nullptr;
        StoryModel model;
        long clicks = 0, hovers = 0, keys = 0, typed = 0, edits = 0, games = 0, applied = 0;
        QSet<QString> pagesSeen;
        QElapsedTimer clock;
        clock.start();

        QStringList guide;  // captions still to follow before the walk goes its own way
        long guided = 0;
        const auto newGame = [&] {
            screen = nullptr;
            game.reset();
            game = std::make_unique<TestGame>();
            game->screens.Show(ScreenId::Engine);
            screen = &game->screen<StoryScreen>(ScreenId::Engine);
            model = StoryModel();
            ++games;
            guide.clear();
            if (typist.chance(40)) {
                const int whole = int(std::size(kRoadToTheCodeBox));
                const int length = typist.chance(50) ? whole : 1 + typist.below(whole);
                for (int i = 0; i < length; ++i)
                    guide << QString::fromUtf8(kRoadToTheCodeBox[i]);
            }
        };
        newGame();

        for (long step = 0; step < storySteps; ++step) {
            int pick = typist.below(100);
            if (pick >= 88 && pick < 94 && !model.state.codeBox)
                pick = 70;  // no box to type into: the pointer moves instead
            QString did;
            model.alert = false;
            std::optional<Slot> guideSlot;
            if (!guide.isEmpty()) {
                for (Slot slot : {Slot::Label2, Slot::Label3, Slot::Label4}) {
                    if (model.state.shown[indexOf(slot)] && model.state.captions[indexOf(slot)] == guide.first())
                        guideSlot = slot;
                }
                guide.removeFirst();
                if (!guideSlot)
                    guide.clear();  // an edited flag took the road away
            }
            if (guideSlot) {
                const QWidget &label = *std::array<QWidget *, 3>{&screen->Label2, &screen->Label3, &screen->Label4}[indexOf(*guideSlot)];
                const QPoint point = label.geometry().center();
                model.click(*guideSlot);
                mouseAt(*screen, QEvent::MouseButtonPress, point);
                mouseAt(*screen, QEvent::MouseButtonRelease, point);
                TestGame::settle();
                ++guided;
                did = QStringLiteral("guided click on slot %1").arg(int(*guideSlot) + 2);
            } else if (pick < 62) {
                // A click on a slot's place, shown or not, or anywhere.
                const QPoint point = somewhere(typist, *screen, pick < 55 ? typist.below(3) : -1);
                const StoryState before = model.state;
                if (const auto slot = slotAt(*screen, point))
                    model.click(*slot);
                applied += before == model.state && model.leaves == StoryModel::Leaves::No ? 0 : 1;
                mouseAt(*screen, QEvent::MouseButtonPress, point);
                mouseAt(*screen, QEvent::MouseButtonRelease, point);
                TestGame::settle();
                ++clicks;
                did = QStringLiteral("click at %1,%2").arg(point.x()).arg(point.y());
            } else if (pick < 80) {
                const QPoint point = somewhere(typist, *screen, typist.chance(60) ? typist.below(3) : -1);
                QWidget *target = screen->childAt(point);
                mouseAt(*screen, QEvent::MouseMove, point);
                if (!target)
                    model.state.lit = StoryState::kAllNormal;
                else if (target == &screen->Label2)
                    model.state.lit = 0;
                else if (target == &screen->Label3)
                    model.state.lit = 1;
                else if (target == &screen->Label4)
                    model.state.lit = 2;
                ++hovers;
                did = QStringLiteral("move to %1,%2").arg(point.x()).arg(point.y());
            } else if (pick < 82) {
                keyTo(*screen, Qt::Key_F8, Qt::NoModifier, QString(), 0xffc5);
                TestGame::settle();
                model.pressF8();
                ++keys;
                did = QStringLiteral("F8");
            } else if (pick == 82 && typist.chance(25)) {
                keyTo(*screen, Qt::Key_Comma, Qt::KeypadModifier, QStringLiteral(","), 0xffac);
                TestGame::settle();
                model.leaves = StoryModel::Leaves::Console;
                ++keys;
                did = QStringLiteral("the console key");
            } else if (pick < 88) {
                // A key the story does not answer, at the window or the pane.
                keyTo(*screen, Qt::Key_A + typist.below(26), Qt::NoModifier, typist.character());
                keyTo(*screen, Qt::Key_Comma, Qt::NoModifier, QStringLiteral(","));
                TestGame::settle();
                ++keys;
                did = QStringLiteral("a key");
            } else if (pick < 94) {
                // Typing into the code box: a password, something near it, or anything.
                clearBox(screen->Text1);
                const int kind = typist.below(4);
                const QString text = kind == 0   ? story::kConsolePassword.toString()
                                     : kind == 1 ? story::kEndingPassword.toString()
                                     : kind == 2 ? typist.nearMiss(story::kConsolePassword)
                                                 : typist.line(20);
                paste(screen->Text1, text);
                model.password = screen->Text1.text();
                ++typed;
                did = QStringLiteral("typed \"%1\"").arg(describe(text));
            } else if (pick < 98) {
                // Someone edits a flag file between two clicks.
                const Flag flag = Flag(typist.below(3));
                static const QByteArray values[] = {"0\r\n", "1\r\n", "", "2\r\n", "1", "0\r\n0\r\n"};
                const QByteArray value = values[typist.below(6)];
                game->files.content[story::StoryFlags::fileOf(flag)] = value;
                model.files[indexOf(flag)] = value;
                ++edits;
                did = QStringLiteral("flag file %1 edited").arg(story::StoryFlags::fileOf(flag));
            } else {
                // A page goes missing for a while, or comes back.
                const int page = 1 + typist.below(story::pageCount(story::gameTables()));
                const QString file = story::StoryEngine::pageFile(page);
                if (model.unreadablePages.contains(page)) {
                    model.unreadablePages.remove(page);
                    game->files.unreadable.remove(file);
                } else {
                    model.unreadablePages.insert(page);
                    game->files.unreadable.insert(file);
                }
                did = QStringLiteral("page %1 %2").arg(page).arg(model.unreadablePages.contains(page) ? "gone" : "back");
            }

            const QString where = QStringLiteral("step %1 (%2)").arg(step).arg(did);
            if (model.leaves != StoryModel::Leaves::No) {
                const ScreenId next = model.leaves == StoryModel::Leaves::Console ? ScreenId::BLNC : ScreenId::GameOver;
                if (!game->screens.isShown(next) || screen->isVisible())
                    QFAIL(qPrintable(where + QStringLiteral(": the story should have given way to the %1").arg(next == ScreenId::BLNC ? "console" : "game over")));
                newGame();
                continue;
            }
            if (game->screens.isShown(ScreenId::BLNC) || game->screens.isShown(ScreenId::GameOver) || !screen->isVisible())
                QFAIL(qPrintable(where + QStringLiteral(": the story left its screen")));
            const StoryState seen = observe(*screen);
            if (!(seen == model.state))
                QFAIL(qPrintable(where + QStringLiteral(":\n  seen     %1\n  expected %2").arg(describe(seen), describe(model.state))));
            for (Flag flag : story::kAllFlags) {
                if (game->flag(flag) != model.files[indexOf(flag)])
                    QFAIL(qPrintable(where + QStringLiteral(": flag file %1 holds \"%2\"").arg(story::StoryFlags::fileOf(flag), describe(QString::fromLatin1(game->flag(flag))))));
            }
            QCOMPARE(game->alerts.messages.isEmpty(), !model.alert);
            game->alerts.messages.clear();
            QVERIFY(game->process.statuses.isEmpty());
            pagesSeen << model.state.pane;
        }
        qInfo("%ld steps in %lld ms: %ld random clicks (%ld changed the story), %ld clicks along the road, %ld hovers, "
              "%ld keys, %ld typed codes, %ld flag edits; %ld games, %lld different pages seen",
              storySteps, clock.elapsed(), clicks, applied, guided, hovers, keys, typed, edits, games,
              qsizetype(pagesSeen.size()));
        // A run this long must get well into the story, not stay on page 1.
        QVERIFY(pagesSeen.size() >= qMin<qsizetype>(20, storySteps / 500));
    }
};

int main(int argc, char *argv[])
{
    return runHostileInputTest<HostileStoryWalkTest>(argc, argv);
}

#include "hostile_story_walk_test.moc"
