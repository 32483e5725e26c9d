// How a later start of the game asks the running one to come to the front:
// a call file left in the shared game folder, watched, taken away and
// answered once. The real game is driven through it by
// tests/reliability/two_copies.sh.
#include "shell/core/front_calls.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace tess;

class FrontCallsTest : public QObject {
    Q_OBJECT

private slots:
    void eachCallOfALaterStartIsAnsweredOnceAndTakenAway()
    {
        QTemporaryDir dir;
        int answers = 0;
        FrontCalls calls(dir.path(), [&answers] { ++answers; });
        QVERIFY(calls.listening());
        for (int call = 1; call <= 3; ++call) {
            QVERIFY(FrontCalls::call(dir.path()));
            QTRY_COMPARE(answers, call);
            QVERIFY(!QFile::exists(FrontCalls::callPath(dir.path())));
        }
        // Other changes in the folder are no call.
        QFile other(dir.filePath(QStringLiteral("engdat.tmp")));
        QVERIFY(other.open(QIODevice::WriteOnly));
        other.write("1\r\n");
        other.close();
        QVERIFY(QFile::remove(other.fileName()));
        // A call after them is answered once they have been seen: one more answer, not two.
        QVERIFY(FrontCalls::call(dir.path()));
        QTRY_VERIFY(answers >= 4 && !QFile::exists(FrontCalls::callPath(dir.path())));
        QCOMPARE(answers, 4);
    }

    void aCallThatNoGameTookIsTakenAwayUnansweredAtTheNextStart()
    {
        QTemporaryDir dir;
        QVERIFY(FrontCalls::call(dir.path()));
        QVERIFY(QFile::exists(FrontCalls::callPath(dir.path())));
        int answers = 0;
        FrontCalls calls(dir.path(), [&answers] { ++answers; });
        QVERIFY(!QFile::exists(FrontCalls::callPath(dir.path())));
        // A new call is answered after anything the old one could have caused.
        QVERIFY(FrontCalls::call(dir.path()));
        QTRY_VERIFY(answers >= 1 && !QFile::exists(FrontCalls::callPath(dir.path())));
        QCOMPARE(answers, 1);
    }

    void aCallIsNeverWrittenThroughALink()
    {
        QTemporaryDir dir;
        const QString target = dir.filePath(QStringLiteral("elsewhere"));
        QFile file(target);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("keep");
        file.close();
        QVERIFY(QFile::link(target, FrontCalls::callPath(dir.path())));
        QVERIFY(!FrontCalls::call(dir.path()));
        QVERIFY(QFileInfo(FrontCalls::callPath(dir.path())).isSymLink());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("keep"));
    }

    void aFolderThatCannotBeWatchedIsSaid()
    {
        FrontCalls calls(QDir::tempPath() + QStringLiteral("/no-such-folder-for-tessaranium"), [] {});
        QVERIFY(!calls.listening());
        QVERIFY(!FrontCalls::call(QDir::tempPath() + QStringLiteral("/no-such-folder-for-tessaranium")));
    }
};

QTEST_GUILESS_MAIN(FrontCallsTest)
#include "front_calls_test.moc"
