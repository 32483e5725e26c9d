// The driver side of the flag kill harness (flag_kill_driver.h).
#include "flag_kill_driver.h"

#include "recorders.h"

#include "shell/core/disk_files.h"
#include "shell/core/quiet_services.h"
#include "shell/core/text_loader.h"
#include "shell/desktop/quit_procedure.h"
#include "story/core/choice_tables.h"
#include "story/core/memory_story_view.h"
#include "story/core/story_engine.h"
#include "story/core/story_flags.h"

#include <cstdio>
#include <cstdlib>

#include <unistd.h>

namespace {

int reportFd = -1;
char phase = 's';  // 's': a story click writes, 'q': the close resets

void report(const char *bytes, std::size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(reportFd, bytes, size);
        if (written <= 0)
            std::_Exit(4);
        bytes += written;
        size -= std::size_t(written);
    }
}

// The game's own files, with every write announced on the report pipe.
class ReportingFiles final : public tess::Files {
public:
    QByteArray readAll(const QString &gamePath) override { return disk_.readAll(gamePath); }
    void replaceWhole(const QString &gamePath, const QByteArray &bytes) override
    {
        const int flag = flagIndex(gamePath);
        if (flag < 0)
            std::_Exit(7);  // the story writes nothing but its flags
        const char begin[4] = {'B', char('0' + flag), bytes.isEmpty() ? '?' : bytes[0], phase};
        report(begin, sizeof begin);
        disk_.replaceWhole(gamePath, bytes);
        report("E", 1);
    }

private:
    tess::DiskFiles disk_;
};

// Ends nothing: the driver goes round again after the close.
class NoExit final : public tess::ProcessControl {
public:
    void endProgram(int status) override
    {
        if (status != 0)
            std::_Exit(3);
    }
};

class FailingAlerts final : public tess::Alerts {
public:
    void showError(const QString &message) override
    {
        std::fprintf(stderr, "driver: %s\n", message.toLocal8Bit().constData());
        std::_Exit(3);
    }
};

// Clicks the visible slot that reads the caption; false when none does.
bool clickChoice(story::MemoryStoryView &view, story::StoryEngine &engine, const char *caption)
{
    const QString wanted = QString::fromUtf8(caption);
    for (story::Slot slot : {story::Slot::Label2, story::Slot::Label3, story::Slot::Label4}) {
        if (view.isShown(slot) && view.caption(slot) == wanted) {
            engine.click(slot);
            return true;
        }
    }
    return false;
}

// From page 1 to the planetarium's card: the three clicks that write flags
// (the bank sets b, its code sets bc, the card's code sets c).
const char *const kRouteToTheCard[] = {
    "Подводный мир", "Уйти", "Ответить", "Получить данные", "Закрыть", "Далее", "Виртуал Сити",
    "Войти в главное меню", "Виртуал банк", "104|8", ">Далее", ">>Далее", ">>>Далее", ">>>>Далее",
    "Планетарий", "Ввести код карты: 7183",
};

} // namespace

int flagIndex(const QString &gamePath)
{
    const QString name = gamePath.section(u'\\', -1);
    for (int i = 0; i < 3; ++i) {
        if (name == QLatin1String(kFlagFiles[std::size_t(i)]))
            return i;
    }
    return -1;
}

void runDriver(const char *folder, int fd)
{
    reportFd = fd;
    if (::chdir(folder) != 0)
        std::_Exit(5);
    ReportingFiles files;
    tess::QuietPump pump;
    tess::TextLoader loader(files, pump);
    EventLog log;
    RecordingMusic music(log);
    RecordingCursor cursor(log);
    FailingAlerts alerts;
    NoExit process;
    story::StoryFlags flags(files);
    tess::QuitProcedure quit(cursor, flags, process, alerts);
    for (;;) {
        story::MemoryStoryView view;
        story::StoryEngine engine(view, loader, flags, music, alerts, story::gameTables());
        phase = 's';
        engine.start();
        // A flag left at 1 by an earlier run makes the bank answer nothing;
        // the route ends there and the close resets the flags.
        for (const char *caption : kRouteToTheCard) {
            if (!clickChoice(view, engine, caption))
                break;
        }
        phase = 'q';
        quit.QuitProgram(true);
        log.entries.clear();
    }
}
