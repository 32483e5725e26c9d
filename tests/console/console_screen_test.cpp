#include <QtTest>
class T : public QObject { Q_OBJECT };
QTEST_MAIN(T)
#include "console_screen_test.moc"
