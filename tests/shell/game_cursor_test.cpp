// The game cursor over the application: installed on every visit of the menu,
// given back once, and never mistaken for the player's own arrow.
#include "shell/desktop/game_cursor.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

namespace {

// A Windows cursor: an ICO container whose type is 2 and whose entry holds
// the hotspot where an icon keeps planes and bit count.
QByteArray cursorFile(QColor colour, quint16 hotX, quint16 hotY)
{
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "ICO");
    qToLittleEndian<quint16>(2, bytes.data() + 2);
    qToLittleEndian<quint16>(hotX, bytes.data() + 10);
    qToLittleEndian<quint16>(hotY, bytes.data() + 12);
    return bytes;
}

QByteArray chunk(const char *id, const QByteArray &data)
{
    QByteArray size(4, '\0');
    qToLittleEndian<quint32>(quint32(data.size()), size.data());
    return QByteArray(id, 4) + size + data + (data.size() % 2 ? QByteArray(1, '\0') : QByteArray());
}

QByteArray animatedFile()
{
    QByteArray header(36, '\0');
    qToLittleEndian<quint32>(36, header.data());
    qToLittleEndian<quint32>(2, header.data() + 4);
    qToLittleEndian<quint32>(2, header.data() + 8);
    qToLittleEndian<quint32>(3, header.data() + 28);  // three jiffies a frame
    const QByteArray body = QByteArray("ACON") + chunk("anih", header)
                            + chunk("LIST", QByteArray("fram") + chunk("icon", cursorFile(Qt::red, 1, 1))
                                                + chunk("icon", cursorFile(Qt::blue, 9, 9)));
    QByteArray size(4, '\0');
    qToLittleEndian<quint32>(quint32(body.size()), size.data());
    return QByteArray("RIFF") + size + body;
}

QString writeFile(const QTemporaryDir &dir, const QByteArray &bytes)
{
    const QString path = dir.filePath(QStringLiteral("cur.cgf"));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    return path;
}

} // namespace

class GameCursorTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup()
    {
        while (QGuiApplication::overrideCursor())
            QGuiApplication::restoreOverrideCursor();
    }

    void theGameCursorReplacesTheArrowWithItsHotspot()
    {
        QTemporaryDir dir;
        tess::GameCursor cursor(writeFile(dir, cursorFile(Qt::cyan, 3, 4)));
        cursor.InstallGameCursor();
        QVERIFY(QGuiApplication::overrideCursor());
        QCOMPARE(QGuiApplication::overrideCursor()->hotSpot(), QPoint(3, 4));
        QCOMPARE(QGuiApplication::overrideCursor()->pixmap().size(), QSize(32, 32));
    }

    void manyVisitsOfTheMenuStillGiveBackThePlayersArrow()
    {
        QTemporaryDir dir;
        tess::GameCursor cursor(writeFile(dir, cursorFile(Qt::cyan, 3, 4)));
        for (int visit = 0; visit < 5; ++visit)
            cursor.InstallGameCursor();
        cursor.RestoreSystemCursor();
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    void restoringTwiceRestoresOnce()
    {
        QTemporaryDir dir;
        tess::GameCursor cursor(writeFile(dir, cursorFile(Qt::cyan, 0, 0)));
        cursor.InstallGameCursor();
        cursor.RestoreSystemCursor();
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);  // somebody else's
        cursor.RestoreSystemCursor();
        QVERIFY(QGuiApplication::overrideCursor());
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    }

    void aMissingOrBrokenFileLeavesTheArrowAsItIs_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("exists");
        QTest::newRow("missing") << QByteArray() << false;
        QTest::newRow("empty") << QByteArray() << true;
        QTest::newRow("junk") << QByteArray("this is no cursor") << true;
        QTest::newRow("header without picture") << cursorFile(Qt::red, 0, 0).left(22) << true;
    }
    void aMissingOrBrokenFileLeavesTheArrowAsItIs()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, exists);
        QTemporaryDir dir;
        const QString path = exists ? writeFile(dir, bytes) : dir.filePath(QStringLiteral("none.cgf"));
        tess::GameCursor cursor(path);
        cursor.InstallGameCursor();
        QVERIFY(!QGuiApplication::overrideCursor());
        cursor.RestoreSystemCursor();
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    void anAnimatedCursorCyclesItsFrames()
    {
        QTemporaryDir dir;
        tess::GameCursor cursor(writeFile(dir, animatedFile()));
        cursor.InstallGameCursor();
        QVERIFY(QGuiApplication::overrideCursor());
        QCOMPARE(QGuiApplication::overrideCursor()->hotSpot(), QPoint(1, 1));
        QTRY_COMPARE(QGuiApplication::overrideCursor()->hotSpot(), QPoint(9, 9));
        QTRY_COMPARE(QGuiApplication::overrideCursor()->hotSpot(), QPoint(1, 1));
        cursor.RestoreSystemCursor();
        QVERIFY(!QGuiApplication::overrideCursor());
    }
};

QTEST_MAIN(GameCursorTest)
#include "game_cursor_test.moc"
