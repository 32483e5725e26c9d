// The file services against what a hostile game folder can hold in place of
// a data file: FIFOs, devices, links, files that lie about their size, a
// folder that forbids new files, leftovers of killed writes and another
// copy's lock. Fast, in-process checks of the pieces; the real game is
// driven through the same cases by tests/reliability/hostile_folders.sh.
#include "shell/core/game_folder_lock.h"
#include "shell/core/regular_file.h"
#include "shell/core/whole_file_writer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace tess;

namespace {

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

bool makeFifo(const QString &path)
{
    return ::mkfifo(QFile::encodeName(path).constData(), 0644) == 0;
}

constexpr qint64 kCap = 4 * 1024 * 1024;

} // namespace

class HostileFolderFilesTest : public QObject {
    Q_OBJECT

private slots:
    void onlyRegularFilesAreReadAndNothingWaitsOnAFifoOrADevice()
    {
        QTemporaryDir dir;
        const QString fifo = dir.filePath(QStringLiteral("gt1.tf"));
        QVERIFY(makeFifo(fifo));
        QString why;
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!readRegularFile(fifo, kCap, why));
        QCOMPARE(why, QStringLiteral("это не обычный файл"));
        QVERIFY2(clock.elapsed() < 1000, "a FIFO with no writer was waited on");

        for (const char *device : {"/dev/zero", "/dev/urandom", "/dev/null"}) {
            const QString link = dir.filePath(QStringLiteral("link-%1").arg(QFileInfo(device).fileName()));
            QVERIFY(QFile::link(QString::fromLatin1(device), link));
            why.clear();
            QVERIFY2(!readRegularFile(link, kCap, why), device);
            QCOMPARE(why, QStringLiteral("это не обычный файл"));
        }
        why.clear();
        QVERIFY(!readRegularFile(dir.path(), kCap, why));
        QCOMPARE(why, QStringLiteral("на месте файла лежит папка"));
        why.clear();
        QVERIFY(!readRegularFile(dir.filePath(QStringLiteral("none.tf")), kCap, why));
        QCOMPARE(why, QStringLiteral("файл не найден"));

        // A link to a regular file is read like the file.
        writeFile(dir.filePath(QStringLiteral("real.tf")), "a\r\nb\r\n");
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("real.tf")), dir.filePath(QStringLiteral("linked.tf"))));
        const auto linked = readRegularFile(dir.filePath(QStringLiteral("linked.tf")), kCap, why);
        QVERIFY(linked);
        QCOMPARE(*linked, QByteArray("a\r\nb\r\n"));
    }

    void theCapHoldsForWhatIsReadNotForTheSizeAFileClaims()
    {
        // Files in /proc say they are empty and hold more: a cap trusted to
        // the reported size would read them whole.
        const QString maps = QStringLiteral("/proc/self/maps");
        struct stat status {};
        QVERIFY(::stat("/proc/self/maps", &status) == 0 && S_ISREG(status.st_mode));
        QCOMPARE(qint64(status.st_size), qint64(0));
        QString why;
        QVERIFY(!readRegularFile(maps, 64, why));
        QCOMPARE(why, QStringLiteral("файл слишком велик (больше 0 МБ)"));
        const auto whole = readRegularFile(maps, kCap, why);
        QVERIFY(whole);
        QVERIFY(whole->size() > 64);

        QTemporaryDir dir;
        const QString exact = dir.filePath(QStringLiteral("exact.tf"));
        writeFile(exact, QByteArray(100, 'x'));
        QVERIFY(readRegularFile(exact, 100, why));
        QVERIFY(!readRegularFile(exact, 99, why));
        QVERIFY(why.startsWith(QStringLiteral("файл слишком велик")));
    }

    void aFlagIsNeverWrittenThroughALinkOrIntoAnythingButARegularFile()
    {
        QTemporaryDir dir;
        QDir().mkpath(dir.filePath(QStringLiteral("engdat")));
        const QString flag = dir.filePath(QStringLiteral("engdat/b.gdf"));
        const QString target = dir.filePath(QStringLiteral("precious.txt"));
        writeFile(target, "keep me\n");

        QVERIFY(QFile::link(target, flag));
        QCOMPARE(replaceFileWhole(flag, "0\r\n"), QStringLiteral("на месте файла лежит ссылка на другой файл"));
        QCOMPARE(contentOf(target), QByteArray("keep me\n"));
        QCOMPARE(QFileInfo(flag).symLinkTarget(), target);

        QFile::remove(flag);
        QVERIFY(QFile::link(QStringLiteral("/dev/null"), flag));
        QCOMPARE(replaceFileWhole(flag, "0\r\n"), QStringLiteral("на месте файла лежит ссылка на другой файл"));
        QVERIFY(QFileInfo(QStringLiteral("/dev/null")).exists());

        QFile::remove(flag);
        QVERIFY(makeFifo(flag));
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(replaceFileWhole(flag, "0\r\n"), QStringLiteral("это не обычный файл"));
        QVERIFY(clock.elapsed() < 1000);

        QFile::remove(flag);
        QDir().mkpath(flag);
        QCOMPARE(replaceFileWhole(flag, "0\r\n"), QStringLiteral("на месте файла лежит папка"));
        QDir(flag).removeRecursively();

        // A link in place of the folder is not the game's own folder.
        const QString elsewhere = dir.filePath(QStringLiteral("elsewhere"));
        QDir().mkpath(elsewhere);
        QVERIFY(QFile::link(elsewhere, dir.filePath(QStringLiteral("linked"))));
        QCOMPARE(replaceFileWhole(dir.filePath(QStringLiteral("linked/b.gdf")), "0\r\n"),
                 QStringLiteral("на месте папки «linked» лежит ссылка"));
        QVERIFY(QDir(elsewhere).isEmpty());
        QCOMPARE(replaceFileWhole(dir.filePath(QStringLiteral("gone/b.gdf")), "0\r\n"), QStringLiteral("нет папки «gone»"));

        // The plain case: written whole, the file's permissions kept, no
        // temporary file left.
        writeFile(flag, "1\r\n");
        QFile::setPermissions(flag, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther);
        QCOMPARE(replaceFileWhole(flag, "0\r\n"), QString());
        QCOMPARE(contentOf(flag), QByteArray("0\r\n"));
        struct stat status {};
        QVERIFY(::stat(QFile::encodeName(flag).constData(), &status) == 0);
        QCOMPARE(status.st_mode & 0777, mode_t(0604));
        QCOMPARE(QDir(dir.filePath(QStringLiteral("engdat"))).entryList(QDir::Files | QDir::Hidden), QStringList{"b.gdf"});
    }

    // Permissions stop no write of root's: the folder is made to forbid new
    // files for an unprivileged user, in a child that becomes one.
    void aFolderThatForbidsNewFilesGetsItsWritableFlagsOverwrittenInPlace()
    {
        QTemporaryDir dir;
        const QString engdat = dir.filePath(QStringLiteral("engdat"));
        QDir().mkpath(engdat);
        const QString flag = engdat + QStringLiteral("/c.gdf");
        const QString spoiled = engdat + QStringLiteral("/bc.gdf");
        const QString shared = engdat + QStringLiteral("/b.gdf");
        writeFile(flag, "1\r\n");
        writeFile(spoiled, "1\r\n\r\njunk");
        writeFile(shared, "1\r\n");
        QVERIFY(::link(QFile::encodeName(shared).constData(), QFile::encodeName(dir.filePath(QStringLiteral("hard"))).constData()) == 0);
        const auto everyone = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther | QFile::WriteOther
                              | QFile::ReadGroup | QFile::WriteGroup;
        for (const QString &file : {flag, spoiled, shared})
            QFile::setPermissions(file, everyone);
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);
        QFile::setPermissions(engdat, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);

        const pid_t child = ::fork();
        if (child == 0) {
            if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
                ::_exit(10);
            const bool inPlace = replaceFileWhole(flag, "0\r\n").isEmpty();
            const bool cut = replaceFileWhole(spoiled, "0\r\n").isEmpty();
            // A file with a second name elsewhere would change there too.
            const bool sharedRefused = replaceFileWhole(shared, "0\r\n") == file_reason::otherNames();
            const bool missingRefused = replaceFileWhole(engdat + QStringLiteral("/new.gdf"), "0\r\n") == QStringLiteral("нет прав на запись");
            ::_exit(inPlace && cut && sharedRefused && missingRefused ? 0 : 11);
        }
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QFile::setPermissions(engdat, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY2(WIFEXITED(status), "the writer died");
        QCOMPARE(WEXITSTATUS(status), 0);
        QCOMPARE(contentOf(flag), QByteArray("0\r\n"));
        QCOMPARE(contentOf(spoiled), QByteArray("0\r\n"));
        QCOMPARE(contentOf(shared), QByteArray("1\r\n"));
        QCOMPARE(QDir(engdat).entryList(QDir::Files | QDir::Hidden).size(), 3);
    }

    void onlyLeftoversOfKilledWritesAreRemoved()
    {
        QTemporaryDir dir;
        const QStringList flags{"b.gdf", "c.gdf", "bc.gdf"};
        const QStringList leftovers{"b.gdf.aB3dE9", "bc.gdf.ZZZZZZ", "c.gdf.000000"};
        const QStringList others{"b.gdf",         "b.gdf.aB3dE",  "b.gdf.aB3dE9x", "x.gdf.aB3dE9",
                                 "b.gdf.aB-dE9",  "b.gdf.new.42", ".b.gdf.aB3dE9", "b.gdf.ab\xd1\x8f" "de"};
        for (const QString &name : leftovers + others)
            writeFile(dir.filePath(name), "0\r\n");
        const QString precious = dir.filePath(QStringLiteral("precious"));
        writeFile(precious, "keep");
        QVERIFY(QFile::link(precious, dir.filePath(QStringLiteral("c.gdf.Link01"))));
        QVERIFY(makeFifo(dir.filePath(QStringLiteral("b.gdf.Fifo01"))));
        QDir().mkpath(dir.filePath(QStringLiteral("bc.gdf.Dir001")));

        for (const QString &name : leftovers)
            QVERIFY2(isLeftoverTemporary(name, flags), qPrintable(name));
        for (const QString &name : others)
            QVERIFY2(!isLeftoverTemporary(name, flags), qPrintable(name));

        QCOMPARE(removeLeftoverTemporaries(dir.path(), flags), 3);
        for (const QString &name : leftovers)
            QVERIFY2(!QFileInfo::exists(dir.filePath(name)), qPrintable(name));
        for (const QString &name : others)
            QVERIFY2(QFileInfo::exists(dir.filePath(name)), qPrintable(name));
        QVERIFY(QFileInfo(dir.filePath(QStringLiteral("c.gdf.Link01"))).isSymLink());
        QCOMPARE(contentOf(precious), QByteArray("keep"));
        QVERIFY(QFileInfo::exists(dir.filePath(QStringLiteral("b.gdf.Fifo01"))));
        QVERIFY(QFileInfo(dir.filePath(QStringLiteral("bc.gdf.Dir001"))).isDir());
    }

    void theFolderLockIsHeldOnceAndAFileNoRunningGameLocksIsTakenOver()
    {
        QTemporaryDir dir;
        tess::GameFolderLock first(dir.path());
        QCOMPARE(first.claim(), tess::GameFolderLock::Outcome::Claimed);
        tess::GameFolderLock second(dir.path());
        QCOMPARE(second.claim(), tess::GameFolderLock::Outcome::HeldByAnother);
        tess::GameFolderLock::releaseHeld();
        QVERIFY(!QFileInfo::exists(first.path()));

        // Another process's lock holds exactly as long as the process lives,
        // however it ends.
        int ready[2];
        QCOMPARE(::pipe(ready), 0);
        const pid_t holder = ::fork();
        if (holder == 0) {
            tess::GameFolderLock own(dir.path());
            const char claimed = own.claim() == tess::GameFolderLock::Outcome::Claimed ? 'y' : 'n';
            [[maybe_unused]] const auto written = ::write(ready[1], &claimed, 1);
            ::pause();
            ::_exit(0);
        }
        char claimed = 0;
        QCOMPARE(::read(ready[0], &claimed, 1), 1);
        QCOMPARE(claimed, 'y');
        tess::GameFolderLock whileItRuns(dir.path());
        QCOMPARE(whileItRuns.claim(), tess::GameFolderLock::Outcome::HeldByAnother);
        ::kill(holder, SIGKILL);
        QCOMPARE(::waitpid(holder, nullptr, 0), holder);
        ::close(ready[0]);
        ::close(ready[1]);
        QVERIFY(QFileInfo::exists(first.path()));  // the killed game's file stays behind
        tess::GameFolderLock afterKill(dir.path());
        QCOMPARE(afterKill.claim(), tess::GameFolderLock::Outcome::Claimed);
        tess::GameFolderLock::releaseHeld();

        // Whatever a file no game holds says, another machine's game, junk
        // or a copy's, it is taken at once.
        for (const QByteArray &said : {QByteArray("4242\nanother-machine\n"), QByteArray("junk")}) {
            writeFile(first.path(), said);
            tess::GameFolderLock taker(dir.path());
            QCOMPARE(taker.claim(), tess::GameFolderLock::Outcome::Claimed);
            QCOMPARE(contentOf(first.path()),
                     QByteArray::number(::getpid()) + '\n' + QSysInfo::machineHostName().toUtf8() + '\n');
            tess::GameFolderLock::releaseHeld();
        }

        // A FIFO in its place is not waited on, and the player is told how
        // to clear it.
        QVERIFY(makeFifo(first.path()));
        QElapsedTimer clock;
        clock.start();
        tess::GameFolderLock onFifo(dir.path());
        QCOMPARE(onFifo.claim(), tess::GameFolderLock::Outcome::Unavailable);
        QVERIFY(clock.elapsed() < 1000);
        QVERIFY2(onFifo.problem().contains(QStringLiteral("is not a regular file")), qPrintable(onFifo.problem()));
        QVERIFY2(onFifo.problem().contains(QStringLiteral("remove it")), qPrintable(onFifo.problem()));
    }
};

QTEST_GUILESS_MAIN(HostileFolderFilesTest)
#include "hostile_folder_files_test.moc"
