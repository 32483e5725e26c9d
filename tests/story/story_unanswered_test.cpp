// Clicks no rule answers: a condition that does not hold, a caption differing
// by case or a trailing space; and which flags each slot re-reads first.
#include "story_rules.h"

class StoryUnansweredTest : public QObject {
    Q_OBJECT
private slots:
    void aConditionThatDoesNotHoldLeavesAllButTheMirrorsAlone_data()
    {
        QTest::addColumn<Unanswered>("click");
        const auto row = [](Slot slot, const QString &caption, const QString &condition,
                            const QMap<Flag, FlagFile> &onFile, const QString &typed = {}) {
            QTest::addRow("%s", qUtf8Printable(ruleName(slot, caption, condition)))
                << Unanswered{slot, caption, onFile, typed};
        };
        const QString bank = QStringLiteral("Виртуал банк");
        const QString planetarium = QStringLiteral("Планетарий");
        const QString club = QStringLiteral("Клуб Elen");
        const QString enterParol = QStringLiteral("Enter parol");
        row(Slot::Label2, bank, QStringLiteral(" with b=1"), flagFiles(kOne, kZero, kZero));
        row(Slot::Label2, bank, QStringLiteral(" with b empty"), flagFiles(kEmpty, kZero, kZero));
        row(Slot::Label2, bank, QStringLiteral(" with b=« 1»"), flagFiles(kSpaceOne, kZero, kZero));
        row(Slot::Label2, planetarium, QStringLiteral(" with bc empty"), flagFiles(kZero, kZero, kEmpty));
        row(Slot::Label2, planetarium, QStringLiteral(" with bc=«01»"), flagFiles(kZero, kZero, kZeroThenOne));
        row(Slot::Label2, planetarium, QStringLiteral(" with bc=« 1»"), flagFiles(kZero, kZero, kSpaceOne));
        row(Slot::Label3, club, QStringLiteral(" with c empty"), flagFiles(kZero, kEmpty, kZero));
        row(Slot::Label3, club, QStringLiteral(" with c=«01»"), flagFiles(kZero, kZeroThenOne, kZero));
        const auto allZero = flagFiles(kZero, kZero, kZero);
        row(Slot::Label3, enterParol, QStringLiteral(" with «Zolv» typed"), allZero, QStringLiteral("Zolv"));
        row(Slot::Label3, enterParol, QStringLiteral(" with «zolv » typed"), allZero, QStringLiteral("zolv "));
        row(Slot::Label3, enterParol, QStringLiteral(" with nothing typed"), allZero, QString());
        const QString ending = story::kEndingPassword.toString();
        row(Slot::Label3, enterParol, QStringLiteral(" with the ending password in capitals typed"), allZero,
            ending.toUpper());
        row(Slot::Label3, enterParol, QStringLiteral(" with the ending password and a space typed"), allZero,
            ending + u' ');
    }

    void aConditionThatDoesNotHoldLeavesAllButTheMirrorsAlone() { clickChangesOnlyTheMirrors(); }

    void aCaptionDifferingByCaseOrTrailingSpaceMatchesNothing_data()
    {
        QTest::addColumn<Unanswered>("click");
        for (Slot slot : kSlots) {
            for (const Rule &rule : scriptOf(slot)) {
                // The rule's own condition holds: only the caption is off.
                QMap<Flag, FlagFile> onFile = flagFiles(kZero, kZero, kZero);
                QString typedText;
                if (rule.need.kind == Need::FlagReads)
                    onFile[rule.need.flag] = rule.need.value == u"1" ? kOne : kZero;
                if (rule.need.kind == Need::Typed)
                    typedText = rule.need.value.toString();
                const QString caption = rule.caption.toString();
                QString otherCase = caption.toUpper();
                if (otherCase == caption)
                    otherCase = caption.toLower();
                if (otherCase != caption) {
                    QTest::addRow("%s", qUtf8Printable(ruleName(slot, otherCase, needText(rule.need))))
                        << Unanswered{slot, otherCase, onFile, typedText};
                }
                const QString spaced = caption + u' ';
                QTest::addRow("%s", qUtf8Printable(ruleName(slot, spaced, needText(rule.need))))
                    << Unanswered{slot, spaced, onFile, typedText};
            }
        }
    }

    void aCaptionDifferingByCaseOrTrailingSpaceMatchesNothing() { clickChangesOnlyTheMirrors(); }

    void label2RereadsAllThreeFlagsLabel3OnlyCLabel4None_data()
    {
        QTest::addColumn<Slot>("slot");
        for (Slot slot : kSlots)
            QTest::addRow("%s", qUtf8Printable(slotName(slot))) << slot;
    }

    // Three different values on file, so each mirror shows whether its own
    // file was read.
    void label2RereadsAllThreeFlagsLabel3OnlyCLabel4None()
    {
        QFETCH(Slot, slot);
        StoryScreen screen(slot, QStringLiteral("no such choice"), true);
        screen.setFlag(Flag::b, kOne);
        screen.setFlag(Flag::c, kZeroThenOne);
        screen.setFlag(Flag::bc, kEmpty);

        screen.engine.click(slot);

        const QMap<Flag, QString> label2{{Flag::b, QStringLiteral("1")}, {Flag::c, QStringLiteral("01")}, {Flag::bc, QString()}};
        const QMap<Flag, QString> label3{{Flag::b, kStale}, {Flag::c, QStringLiteral("01")}, {Flag::bc, kStale}};
        const QMap<Flag, QString> label4{{Flag::b, kStale}, {Flag::c, kStale}, {Flag::bc, kStale}};
        const QMap<Slot, QMap<Flag, QString>> expected{{Slot::Label2, label2}, {Slot::Label3, label3}, {Slot::Label4, label4}};
        QCOMPARE(screen.state().mirrors, expected.value(slot));
    }

    void label4RulesApplyWithNoFlagFileAtAll()
    {
        StoryScreen screen(Slot::Label4, QStringLiteral(">Далее"), true);
        for (Flag flag : story::kAllFlags)
            screen.files.content.remove(story::StoryFlags::fileOf(flag));

        screen.engine.click(Slot::Label4);

        QCOMPARE(screen.engine.state().pane, pageText(15));
        QCOMPARE(screen.engine.state().choice(Slot::Label4).caption, QStringLiteral(">>Далее"));
        QVERIFY(screen.alerts.messages.isEmpty());
    }
};

QTEST_GUILESS_MAIN(StoryUnansweredTest)
#include "story_unanswered_test.moc"
