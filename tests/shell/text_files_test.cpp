// The game's text files: the code page, line ends, the line loader and the
// files on disk.
#include "shell/core/quiet_services.h"
#include "memory_files.h"

#include "shell/core/cp1251.h"
#include "shell/core/disk_files.h"
#include "shell/core/text_lines.h"
#include "shell/core/text_loader.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QString loadInto(const QByteArray &file, const QString &before = {})
{
    MemoryFiles files;
    files.content[QStringLiteral("text\\t.tf")] = file;
    tess::QuietPump pump;
    tess::TextLoader loader(files, pump);
    tess::TextHolder target;
    target.value = before;
    loader.AppendTextFile(QStringLiteral("text\\t.tf"), target);
    return target.value;
}

} // namespace

class TextFilesTest : public QObject {
    Q_OBJECT
private slots:
    void cyrillicBytesDecodeToTheirLetters()
    {
        QCOMPARE(tess::decodeCp1251("\xC0\xDF\xE0\xFF"), QStringLiteral("АЯая"));
        QCOMPARE(tess::decodeCp1251("\xA8\xB8\xB9"), QStringLiteral("Ёё№"));
        QCOMPARE(tess::decodeCp1251("\xAB\x97\xBB\x85"), QStringLiteral("«—»…"));
        QCOMPARE(tess::decodeCp1251("plain ASCII\r\n"), QStringLiteral("plain ASCII\r\n"));
    }

    void theUndefinedByteIsFlaggedAndShownAsReplacement()
    {
        QVERIFY(!tess::isValidCp1251("ok\x98"));
        QVERIFY(tess::isValidCp1251("\xC0\xFF\x80\x97"));
        QCOMPARE(tess::decodeCp1251("\x98"), QString(QChar(0xFFFD)));
    }

    void everyDefinedByteRoundTrips()
    {
        QByteArray all;
        for (int byte = 0; byte < 256; ++byte) {
            if (byte != 0x98)
                all.append(char(byte));
        }
        QCOMPARE(tess::encodeCp1251(tess::decodeCp1251(all)), all);
    }

    void linesEndAtCrLfOrLoneCrButNotAtLoneLf_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("three lines") << "a\r\nb\r\nc\r\n" << QStringList{"a", "b", "c"};
        QTest::newRow("empty text") << "" << QStringList{};
        QTest::newRow("no final line end") << "a\r\nb" << QStringList{"a", "b"};
        QTest::newRow("lone CR") << "a\rb\r" << QStringList{"a", "b"};
        QTest::newRow("lone LF stays inside") << "a\nb\r\n" << QStringList{"a\nb"};
        QTest::newRow("empty lines count") << "\r\n\r\nx\r\n" << QStringList{"", "", "x"};
        QTest::newRow("CR then CR LF") << "a\r\r\n" << QStringList{"a", ""};
    }
    void linesEndAtCrLfOrLoneCrButNotAtLoneLf()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, lines);
        QCOMPARE(tess::splitTextLines(text), lines);
    }

    void everyKindOfLineEndShowsAsOneBreak()
    {
        QCOMPARE(tess::normalizeLineBreaks(u"a\r\nb\rc\nd"), QStringLiteral("a\nb\nc\nd"));
        QCOMPARE(tess::normalizeLineBreaks(u"\r\n\r\n"), QStringLiteral("\n\n"));
    }

    void theLoaderAppendsEachLineWithCrLf_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::newRow("three lines") << QByteArray("a\r\nb\r\nc\r\n") << QString() << "a\r\nb\r\nc\r\n";
        QTest::newRow("empty file leaves the target") << QByteArray() << "kept" << "kept";
        QTest::newRow("last line without its end") << QByteArray("a\r\nb") << QString() << "a\r\nb\r\n";
        QTest::newRow("lone CR ends a line") << QByteArray("a\rb") << QString() << "a\r\nb\r\n";
        QTest::newRow("code page letters") << QByteArray("\xA8\xEB\xEA\xE0 \xB9""5\r\n") << QString() << "Ёлка №5\r\n";
        QTest::newRow("appends below existing text") << QByteArray("new\r\n") << "old\r\n" << "old\r\nnew\r\n";
    }
    void theLoaderAppendsEachLineWithCrLf()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, before);
        QFETCH(QString, after);
        QCOMPARE(loadInto(file, before), after);
    }

    void theLoaderLetsEventsRunAfterEveryLineWithInputHeld()
    {
        MemoryFiles files;
        files.content[QStringLiteral("t")] = "1\r\n2\r\n3\r\n";
        tess::QuietPump pump;
        tess::TextLoader loader(files, pump);
        struct Watch final : tess::TextTarget {
            tess::QuietPump *pump = nullptr;
            QString value;
            QList<int> holdsSeen;
            QString text() const override { return value; }
            void setText(const QString &text) override { value = text; holdsSeen << pump->holds; }
        } target;
        target.pump = &pump;
        loader.AppendTextFile(QStringLiteral("t"), target);
        QCOMPARE(pump.lines, 3);
        QCOMPARE(target.holdsSeen, (QList<int>{1, 1, 1}));
        QCOMPARE(pump.holds, 0);
    }

    // Between two turns of the window system nothing else runs, so the lines
    // read meanwhile reach the target together; the text is the same for any
    // spacing of the turns, and each turn sees every line read before it.
    void linesBetweenTwoTurnsReachTheTargetTogether_data()
    {
        QTest::addColumn<int>("every");
        QTest::addColumn<QStringList>("seenAtTurns");
        QTest::newRow("a turn after every line") << 1 << QStringList{"a\r\n", "a\r\nb\r\n", "a\r\nb\r\nc\r\n", "a\r\nb\r\nc\r\nd\r\n", "a\r\nb\r\nc\r\nd\r\ne\r\n"};
        QTest::newRow("every second line") << 2 << QStringList{"a\r\nb\r\n", "a\r\nb\r\nc\r\nd\r\n"};
        QTest::newRow("no turn at all") << 99 << QStringList{};
    }
    void linesBetweenTwoTurnsReachTheTargetTogether()
    {
        QFETCH(int, every);
        QFETCH(QStringList, seenAtTurns);
        struct EveryNth final : tess::EventPump {
            int every = 1;
            int lines = 0;
            tess::TextTarget *target = nullptr;
            QStringList seen;
            void holdInput() override {}
            void releaseInput() override {}
            bool turnIsDue() override { return ++lines % every == 0; }
            void processPendingEvents() override { seen << target->text(); }
        } pump;
        pump.every = every;
        MemoryFiles files;
        // Every kind of line end, and a last line without one.
        files.content[QStringLiteral("t")] = "a\r\nb\rc\r\nd\r\ne";
        tess::TextLoader loader(files, pump);
        tess::TextHolder target;
        pump.target = &target;
        loader.AppendTextFile(QStringLiteral("t"), target);
        QCOMPARE(target.value, QStringLiteral("a\r\nb\r\nc\r\nd\r\ne\r\n"));
        QCOMPARE(pump.seen, seenAtTurns);
    }

    void aPageOfManyShortLinesIsShownWhole()
    {
        QByteArray file;
        QString shown;
        for (int i = 0; i < 100000; ++i) {
            file += QByteArray::number(i) + (i % 3 ? "\r\n" : "\r");
            shown += QString::number(i) + QStringLiteral("\r\n");
        }
        QCOMPARE(loadInto(file), shown);
    }

    void aMissingFileLeavesTheTargetUntouched()
    {
        MemoryFiles files;
        tess::QuietPump pump;
        tess::TextLoader loader(files, pump);
        tess::TextHolder target;
        target.value = QStringLiteral("before");
        QVERIFY_THROWS_EXCEPTION(tess::FileError, loader.AppendTextFile(QStringLiteral("text\\gone.tf"), target));
        QCOMPARE(target.value, QStringLiteral("before"));
    }

    void diskFilesUseBackslashPathsUnderTheWorkingFolder()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString previous = QDir::currentPath();
        QDir::setCurrent(dir.path());
        QDir().mkdir(QStringLiteral("engdat"));
        tess::DiskFiles files;
        files.replaceWhole(QStringLiteral("engdat\\b.gdf"), "1\r\n");
        QFile written(dir.filePath(QStringLiteral("engdat/b.gdf")));
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), QByteArray("1\r\n"));
        QCOMPARE(files.readAll(QStringLiteral("engdat\\b.gdf")), QByteArray("1\r\n"));
        // No temporary file is left beside the flag.
        QCOMPARE(QDir(dir.filePath(QStringLiteral("engdat"))).entryList(QDir::Files), QStringList{"b.gdf"});
        QDir::setCurrent(previous);
    }

    void diskFileFailuresNameTheFileAndTheReason()
    {
        QTemporaryDir dir;
        const QString previous = QDir::currentPath();
        QDir::setCurrent(dir.path());
        tess::DiskFiles files;
        try {
            files.readAll(QStringLiteral("text\\gt9.tf"));
            QFAIL("a missing file was read");
        } catch (const tess::FileError &error) {
            QCOMPARE(error.path(), QStringLiteral("text\\gt9.tf"));
            QCOMPARE(error.reason(), QStringLiteral("файл не найден"));
        }
        try {
            files.replaceWhole(QStringLiteral("engdat\\c.gdf"), "0\r\n");
            QFAIL("a flag was written into a missing folder");
        } catch (const tess::FileError &error) {
            QVERIFY(error.message().contains(QStringLiteral("engdat\\c.gdf")));
            QVERIFY(error.reason().contains(QStringLiteral("engdat")));
        }
        QFile huge(QStringLiteral("huge.tf"));
        QVERIFY(huge.open(QIODevice::WriteOnly));
        QVERIFY(huge.resize(50 * 1024 * 1024));
        huge.close();
        try {
            files.readAll(QStringLiteral("huge.tf"));
            QFAIL("a 50 MB file was read as a page");
        } catch (const tess::FileError &error) {
            QVERIFY(error.reason().contains(QStringLiteral("слишком велик")));
        }
        QDir().mkpath(QStringLiteral("text/gt1.tf"));
        QVERIFY_THROWS_EXCEPTION(tess::FileError, files.readAll(QStringLiteral("text\\gt1.tf")));
        QDir::setCurrent(previous);
    }
};

QTEST_GUILESS_MAIN(TextFilesTest)
#include "text_files_test.moc"
