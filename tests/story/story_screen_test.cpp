#include <QtTest>
class T : public QObject { Q_OBJECT };
QTEST_MAIN(T)
#include "story_screen_test.moc"
