// Player input that arrives while a text file is being shown waits for it.
#include "shell/core/input_gate.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QtTest>

namespace {

class Receiver : public QObject {
public:
    QStringList *seen = nullptr;
    bool event(QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::KeyPress:
            *seen << QStringLiteral("key %1").arg(static_cast<QKeyEvent *>(event)->key());
            return true;
        case QEvent::MouseButtonPress:
            *seen << QStringLiteral("press");
            return true;
        case QEvent::MouseMove:
            *seen << QStringLiteral("move");
            return true;
        default:
            return QObject::event(event);
        }
    }
};

void sendKey(QObject &to, int key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(&to, &press);
}

void sendMouse(QObject &to, QEvent::Type type)
{
    QMouseEvent event(type, QPointF(1, 1), QPointF(1, 1), Qt::LeftButton,
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&to, &event);
}

} // namespace

class InputGateTest : public QObject {
    Q_OBJECT
private slots:
    void inputOutsideALoadIsHandledAtOnce()
    {
        tess::InputGate gate;
        QStringList seen;
        Receiver receiver;
        receiver.seen = &seen;
        sendKey(receiver, Qt::Key_F8);
        gate.deliver([&] { seen << QStringLiteral("close"); });
        QCOMPARE(seen, (QStringList{"key " + QString::number(Qt::Key_F8), "close"}));
    }

    void clicksKeysAndClosesDuringALoadWaitAndKeepTheirOrder()
    {
        tess::InputGate gate;
        QStringList seen;
        Receiver receiver;
        receiver.seen = &seen;

        gate.holdInput();
        sendMouse(receiver, QEvent::MouseButtonPress);
        sendMouse(receiver, QEvent::MouseMove);
        gate.deliver([&] { seen << QStringLiteral("close"); });
        sendKey(receiver, Qt::Key_A);
        gate.processPendingEvents();
        QCOMPARE(seen, QStringList{"move"});  // hovering stays live

        gate.releaseInput();
        QCOMPARE(seen, QStringList{"move"});  // not inside the handler that loaded
        QCoreApplication::processEvents();
        QCOMPARE(seen, (QStringList{"move", "press", "close", "key " + QString::number(Qt::Key_A)}));
    }

    void nestedLoadsReleaseOnlyWhenTheOuterOneEnds()
    {
        tess::InputGate gate;
        QStringList seen;
        gate.holdInput();
        gate.holdInput();
        gate.deliver([&] { seen << QStringLiteral("late"); });
        gate.releaseInput();
        QCoreApplication::processEvents();
        QVERIFY(seen.isEmpty());
        gate.releaseInput();
        QCoreApplication::processEvents();
        QCOMPARE(seen, QStringList{"late"});
    }

    void aReplayedClickThatLoadsAgainHoldsTheRest()
    {
        tess::InputGate gate;
        QStringList seen;
        gate.holdInput();
        gate.deliver([&] {
            seen << QStringLiteral("first");
            gate.holdInput();  // this click shows another page
        });
        gate.deliver([&] { seen << QStringLiteral("second"); });
        gate.releaseInput();
        QCoreApplication::processEvents();
        QCOMPARE(seen, QStringList{"first"});
        gate.releaseInput();
        QCoreApplication::processEvents();
        QCOMPARE(seen, (QStringList{"first", "second"}));
    }

    void inputForAnObjectThatIsGoneIsDropped()
    {
        tess::InputGate gate;
        QStringList seen;
        auto *receiver = new Receiver;
        receiver->seen = &seen;
        gate.holdInput();
        sendKey(*receiver, Qt::Key_B);
        delete receiver;
        gate.releaseInput();
        QCoreApplication::processEvents();
        QVERIFY(seen.isEmpty());
    }

    // The window system gets its turn during a load every few milliseconds,
    // not after every line: a page of short lines is drawn once, not once
    // per line, and the pointer still answers at once.
    void duringALoadTheWindowSystemsTurnComesAfterAFewMilliseconds()
    {
        tess::InputGate gate;
        gate.holdInput();
        const auto turnsIn = [&gate](int lines) {
            int turns = 0;
            for (int line = 0; line < lines; ++line)
                turns += gate.turnIsDue() ? 1 : 0;
            return turns;
        };
        // The clock is read every 16 lines; a load just begun is not due.
        QCOMPARE(turnsIn(15), 0);
        QTest::qSleep(10);
        QCOMPARE(turnsIn(16), 1);
        gate.processPendingEvents();
        QCOMPARE(turnsIn(15), 0);
        gate.releaseInput();
    }
};

QTEST_MAIN(InputGateTest)
#include "input_gate_test.moc"
