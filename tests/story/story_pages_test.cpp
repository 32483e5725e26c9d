// The shipped story: every page file is there, in the game's code page with
// CR LF line ends, and fits the story pane as the screen lays it out.
#include "shell/app/game.h"
#include "shell/core/cp1251.h"
#include "shell/ui/caption_layout.h"
#include "shell/ui/layout_units.h"
#include "story/ui/story_pane.h"

#include <QApplication>
#include <QFile>
#include <QtTest>

namespace {

QByteArray shipped(const QString &relative)
{
    QFile file(QStringLiteral(TESS_SOURCE_DIR "/") + relative);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every line, the last one included, ends with CR LF; no CR or LF stands alone.
bool endsEveryLineWithCrLf(const QByteArray &bytes)
{
    if (!bytes.endsWith("\r\n"))
        return false;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' && (i + 1 >= bytes.size() || bytes[i + 1] != '\n'))
            return false;
        if (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r'))
            return false;
    }
    return true;
}

} // namespace

class StoryPagesTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { tess::applyGameLook(*qApp); }

    void everyTextFileIsWellFormed_data()
    {
        everyPageFitsTheStoryPane_data();
        QTest::newRow("intro") << QStringLiteral("text/into.tf");
        QTest::newRow("about") << QStringLiteral("text/read.tf");
    }
    void everyTextFileIsWellFormed()
    {
        QFETCH(QString, file);
        const QByteArray bytes = shipped(file);
        QVERIFY2(!bytes.trimmed().isEmpty(), "missing or empty");
        QVERIFY2(tess::isValidCp1251(bytes), "holds a byte the code page leaves undefined");
        QVERIFY2(endsEveryLineWithCrLf(bytes), "a line does not end with CR LF");
        QVERIFY2(!bytes.contains('\0') && !bytes.contains('\t'), "holds a control character");
    }

    void everyPageFitsTheStoryPane_data()
    {
        QTest::addColumn<QString>("file");
        for (int page = 1; page <= 57; ++page)
            QTest::addRow("page %d", page) << QStringLiteral("text/gt%1.tf").arg(page);
    }
    void everyPageFitsTheStoryPane()
    {
        QFETCH(QString, file);
        const QString text = tess::decodeCp1251(shipped(file));
        const int needed = story::storyPaneHeightNeeded(text);
        QVERIFY2(story::fitsStoryPane(text),
                 qPrintable(QStringLiteral("needs %1 px of %2").arg(needed).arg(story::storyPaneRect().height())));
    }

    void theIntroductionFitsItsLabel()
    {
        const QString text = tess::decodeCp1251(shipped(QStringLiteral("text/into.tf")));
        const QRect label = tess::twipsRect(2520, 960, 6855, 5895);
        const int needed = tess::CaptionLayout(tess::defaultLayoutFont(), label.width(), Qt::AlignHCenter).heightOf(text);
        QVERIFY2(needed <= label.height(), qPrintable(QStringLiteral("needs %1 px").arg(needed)));
    }

    void theStoryFlagsShipReset()
    {
        for (const char *flag : {"engdat/b.gdf", "engdat/c.gdf", "engdat/bc.gdf"})
            QCOMPARE(shipped(QString::fromLatin1(flag)), QByteArray("0\r\n"));
    }
};

QTEST_MAIN(StoryPagesTest)
#include "story_pages_test.moc"
