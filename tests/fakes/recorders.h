#pragma once
#include "shell/core/alerts.h"
#include "shell/core/cursor_service.h"
#include "shell/core/music.h"
#include "shell/core/process_control.h"

#include <QStringList>

// One log for music commands, cursor calls and the end of the program, so a
// test can check their order.
struct EventLog {
    QStringList entries;
};

class RecordingMusic final : public tess::Music {
public:
    explicit RecordingMusic(EventLog &log) : log_(log) {}
    void send(const QString &command) override { log_.entries << command; }

private:
    EventLog &log_;
};

class RecordingCursor final : public tess::CursorService {
public:
    explicit RecordingCursor(EventLog &log) : log_(log) {}
    void InstallGameCursor() override { log_.entries << QStringLiteral("install cursor"); }
    void RestoreSystemCursor() override { log_.entries << QStringLiteral("restore cursor"); }

private:
    EventLog &log_;
};

// Records the end of the program instead of ending the test.
class RecordingProcess final : public tess::ProcessControl {
public:
    explicit RecordingProcess(EventLog &log) : log_(log) {}
    void endProgram(int status) override
    {
        log_.entries << QStringLiteral("end %1").arg(status);
        statuses << status;
    }
    QList<int> statuses;

private:
    EventLog &log_;
};

class RecordingAlerts final : public tess::Alerts {
public:
    void showError(const QString &message) override { messages << message; }
    QStringList messages;
};
