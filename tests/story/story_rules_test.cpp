// The three choice tables, row by row, written out again from the script of
// the story so that a slip in the game's own tables shows up here.
#include "story_rules.h"

class StoryRulesTest : public QObject {
    Q_OBJECT
private slots:
    void everyRuleGivesItsPageFlagSlotsAndScreens_data()
    {
        QTest::addColumn<Slot>("slot");
        QTest::addColumn<Rule>("rule");
        QTest::addColumn<bool>("slotsShownBefore");
        for (Slot slot : kSlots) {
            for (const Rule &rule : scriptOf(slot)) {
                const QString name = ruleName(slot, rule.caption, needText(rule.need));
                QTest::addRow("%s, slots shown before", qUtf8Printable(name)) << slot << rule << true;
                QTest::addRow("%s, slots hidden before", qUtf8Printable(name)) << slot << rule << false;
            }
        }
    }

    void everyRuleGivesItsPageFlagSlotsAndScreens()
    {
        QFETCH(Slot, slot);
        QFETCH(Rule, rule);
        QFETCH(bool, slotsShownBefore);

        StoryScreen screen(slot, rule.caption.toString(), slotsShownBefore);
        screen.meet(rule.need);
        StoryState expected = screen.state();

        for (Flag flag : refreshedBy(slot))
            expected.mirrors[flag] = QString::fromLatin1(expected.flagFiles.value(flag)).chopped(2);
        if (rule.page != noPage)
            expected.pane = pageText(rule.page);
        if (rule.write.present) {
            expected.flagFiles[rule.write.flag] = rule.write.bytes;
            expected.flagWrites = 1;
        }
        change(expected.choices[Slot::Label2], rule.label2);
        change(expected.choices[Slot::Label3], rule.label3);
        change(expected.choices[Slot::Label4], rule.label4);
        switch (rule.then) {
        case nothingElse:
            break;
        case passwordBoxShown:
            expected.passwordBox = true;
            break;
        case gameOverSequence:
            // The switch is made once before the music is closed and once
            // more after it, whatever happened in between.
            expected.screensAndMusic = {QStringLiteral("hide story"), QStringLiteral("show game over"),
                                        kCloseStoryMusic, QStringLiteral("hide story"),
                                        QStringLiteral("show game over")};
            break;
        case consoleOpened:
            expected.screensAndMusic = {QStringLiteral("hide story"), QStringLiteral("show console")};
            break;
        }

        screen.engine.click(slot);

        const QString diff = differences(screen.state(), expected);
        QVERIFY2(diff.isEmpty(), qUtf8Printable(diff));
    }

    // The game's own tables, whatever the script says: each row, its
    // condition met, shows its page (or keeps the pane) and no alert.
    void everyRowOfTheGameShowsItsPage()
    {
        for (Slot slot : kSlots) {
            for (const story::ChoiceRule &rule : story::gameTables().of(slot).rules) {
                StoryScreen screen(slot, rule.caption.toString(), true);
                if (rule.condition.kind == story::Condition::Kind::Flag)
                    screen.setFlag(rule.condition.flag, rule.condition.value == u"1" ? kOne : kZero);
                else if (rule.condition.kind == story::Condition::Kind::Password)
                    screen.typePassword(rule.condition.value.toString());
                screen.engine.click(slot);
                const QString name = ruleName(slot, rule.caption, QString());
                QVERIFY2(rule.page <= story::pageCount(story::gameTables()), qUtf8Printable(name));
                QCOMPARE(screen.engine.state().pane, rule.page == story::script::samePage ? kPaneBefore : pageText(rule.page));
                QVERIFY2(screen.alerts.messages.isEmpty(), qUtf8Printable(name));
            }
        }
    }

    // Every caption a row answers is one the opening or some row puts up.
    void everyCaptionIsPutUpSomewhere()
    {
        QSet<QString> putUp{story::kOpening.label2.toString(), story::kOpening.label3.toString(),
                            story::kOpening.label4.toString(), story::kFinalCaption.toString()};
        for (Slot slot : kSlots) {
            for (const story::ChoiceRule &rule : story::gameTables().of(slot).rules) {
                for (const story::SlotChange *change : {&rule.label2, &rule.label3, &rule.label4})
                    putUp << change->caption.toString();
            }
        }
        for (Slot slot : kSlots) {
            for (const story::ChoiceRule &rule : story::gameTables().of(slot).rules)
                QVERIFY2(putUp.contains(rule.caption.toString()), qUtf8Printable(ruleName(slot, rule.caption, QString())));
        }
    }

    void theEndingPasswordIsTwoLowercaseLatinLetters()
    {
        const QString ending = story::kEndingPassword.toString();
        QCOMPARE(ending.size(), 2);
        for (QChar letter : ending)
            QVERIFY2(letter >= u'a' && letter <= u'z', qUtf8Printable(ending));
    }
};

QTEST_GUILESS_MAIN(StoryRulesTest)
#include "story_rules_test.moc"
