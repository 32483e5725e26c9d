// The shipped story: every page file is there, in the game's code page with
// CR LF line ends, and fits the story pane as the screen lays it out; and the
// pages keep the story's hints fair.
#include "app/game.h"
#include "shell/core/cp1251.h"
#include "shell/layout/caption_layout.h"
#include "shell/layout/layout_units.h"
#include "story/core/choice_tables.h"
#include "story/core/passwords.h"
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

QString page(int number)
{
    return tess::decodeCp1251(shipped(QStringLiteral("text/gt%1.tf").arg(number)));
}

// The page's text as one line of single spaces, so a quotation reads the same
// however the page happens to break it.
QString flowed(const QString &text)
{
    return text.simplified();
}

// The first message of the others, as Kelmar's letter quotes it, whatever
// quotation marks the letter sets it in.
QString firstMessage()
{
    const QString letter = flowed(page(9));
    const qsizetype from = letter.indexOf(QStringLiteral("Мы слышим вас."));
    const qsizetype to = letter.indexOf(QStringLiteral("дверь"), from);
    if (from < 0 || to < 0)
        return {};
    return letter.mid(from, to + 5 - from);
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
        for (int page = 1; page <= story::pageCount(story::gameTables()); ++page)
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

    // The console password is the museum note's alone: no other page, the one
    // beside the code box included, may hand it to a player who never picked
    // the note up. The note spells it as it is typed: letters set apart would
    // invite typing the spaces too, which the code box refuses.
    void onlyTheMuseumNoteGivesTheConsolePassword()
    {
        const QString word = story::kConsolePassword.toString();
        QString spaced;
        for (QChar c : word)
            spaced += (spaced.isEmpty() ? QString() : QStringLiteral(" ")) + c;
        QVERIFY2(flowed(page(22)).contains(word), "the museum note no longer gives the password as it is typed");
        for (int number = 1; number <= story::pageCount(story::gameTables()); ++number) {
            const QString text = flowed(page(number));
            QVERIFY2(!text.contains(spaced),
                     qPrintable(QStringLiteral("page %1 spells the console password with spaces").arg(number)));
            QVERIFY2(number == 22 || !text.contains(word),
                     qPrintable(QStringLiteral("page %1 gives the console password away").arg(number)));
        }
    }

    // The fog of host 46 asks how many words the first message had; the
    // answer the story accepts must be the true count of the message as
    // Kelmar's first letter quotes it. Every way to the hosts passes that
    // letter (the notes' continuity check holds the routes).
    void theFirstMessageIsCountableWhereItIsAsked()
    {
        const QString message = firstMessage();
        QVERIFY2(!message.isEmpty(), "page 9 no longer quotes the first message");
        const QStringList words = message.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        QCOMPARE(words.size(), 14);  // the caption that goes on is «14 слов»
    }

    void theStoryFlagsShipReset()
    {
        for (const char *flag : {"engdat/b.gdf", "engdat/c.gdf", "engdat/bc.gdf"})
            QCOMPARE(shipped(QString::fromLatin1(flag)), QByteArray("0\r\n"));
    }
};

QTEST_MAIN(StoryPagesTest)
#include "story_pages_test.moc"
