// Reading Windows cursor files, static and animated, whatever their name.
#include "shell/core/cursor_file.h"

#include <QtEndian>
#include <QtTest>

namespace {

QByteArray le16(quint16 value)
{
    QByteArray bytes(2, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

QByteArray le32(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

// An ICO container of one entry; the picture bytes do not matter here.
QByteArray iconContainer(quint16 type, quint16 hotX, quint16 hotY, char tag)
{
    QByteArray image(8, tag);
    return le16(0) + le16(type) + le16(1)
           + QByteArray("\x20\x20\x00\x00", 4) + le16(hotX) + le16(hotY) + le32(quint32(image.size())) + le32(22)
           + image;
}

QByteArray chunk(const char *id, const QByteArray &data)
{
    QByteArray bytes = QByteArray(id, 4) + le32(quint32(data.size())) + data;
    if (data.size() % 2)
        bytes.append('\0');
    return bytes;
}

QByteArray animated(quint32 defaultRate, const QList<quint32> &rates, const QList<quint32> &sequence)
{
    QByteArray header = le32(36) + le32(2) + le32(quint32(sequence.isEmpty() ? 2 : sequence.size()));
    header += le32(32) + le32(32) + le32(32) + le32(1) + le32(defaultRate) + le32(3);
    QByteArray body = QByteArray("ACON") + chunk("anih", header);
    auto dwords = [](const QList<quint32> &values) {
        QByteArray bytes;
        for (quint32 value : values)
            bytes += le32(value);
        return bytes;
    };
    if (!rates.isEmpty())
        body += chunk("rate", dwords(rates));
    if (!sequence.isEmpty())
        body += chunk("seq ", dwords(sequence));
    body += chunk("LIST", QByteArray("fram") + chunk("icon", iconContainer(2, 1, 2, 'a'))
                              + chunk("icon", iconContainer(2, 3, 4, 'b')));
    return QByteArray("RIFF") + le32(quint32(body.size())) + body;
}

} // namespace

class CursorFileTest : public QObject {
    Q_OBJECT
private slots:
    void aStaticCursorIsOneFrameWithItsHotspot()
    {
        const QByteArray file = iconContainer(2, 5, 7, 'x');
        const auto frames = tess::parseCursorFile(file);
        QCOMPARE(frames.size(), std::size_t(1));
        QCOMPARE(frames[0].hotspot, QPoint(5, 7));
        QCOMPARE(frames[0].image, file);
        QCOMPARE(frames[0].delayMs, 0);
    }

    void anIconFileServesAsACursorWithItsCornerAsHotspot()
    {
        const auto frames = tess::parseCursorFile(iconContainer(1, 5, 7, 'x'));
        QCOMPARE(frames.size(), std::size_t(1));
        QCOMPARE(frames[0].hotspot, QPoint(0, 0));
    }

    void anAnimatedCursorFollowsItsSequenceAndRates()
    {
        const auto frames = tess::parseCursorFile(animated(6, {12, 6, 30}, {1, 0, 1}));
        QCOMPARE(frames.size(), std::size_t(3));
        QCOMPARE(frames[0].hotspot, QPoint(3, 4));
        QCOMPARE(frames[1].hotspot, QPoint(1, 2));
        QCOMPARE(frames[0].delayMs, 12 * 16);
        QCOMPARE(frames[2].delayMs, 30 * 16);
    }

    void anAnimatedCursorWithoutSequenceShowsItsFramesInOrderAtTheDefaultRate()
    {
        const auto frames = tess::parseCursorFile(animated(10, {}, {}));
        QCOMPARE(frames.size(), std::size_t(2));
        QCOMPARE(frames[0].hotspot, QPoint(1, 2));
        QCOMPARE(frames[1].delayMs, 160);
    }

    void anythingElseIsNoCursor_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("text") << QByteArray("not a cursor at all");
        QTest::newRow("bitmap type") << iconContainer(3, 0, 0, 'x');
        QTest::newRow("entry cut off") << iconContainer(2, 1, 1, 'x').left(12);
        QTest::newRow("riff cut short") << animated(6, {}, {}).left(40);
        QTest::newRow("sequence past the frames") << animated(6, {}, {0, 7});
        QTest::newRow("chunk larger than the file") << QByteArray("RIFF\x10\0\0\0ACONanih\xff\xff\xff\x7f", 20);
    }
    void anythingElseIsNoCursor()
    {
        QFETCH(QByteArray, bytes);
        QVERIFY(tess::parseCursorFile(bytes).empty());
    }
};

QTEST_GUILESS_MAIN(CursorFileTest)
#include "cursor_file_test.moc"
