#pragma once
#include "shell/core/alerts.h"
#include "shell/core/event_pump.h"
#include "shell/core/music.h"
#include "shell/core/process_control.h"
#include "shell/core/text_target.h"

#include <QList>
#include <QStringList>

namespace tess {

// Stand-ins for the desktop services, for the game played without a window
// (the story tool, the tests, the fuzzers and the benchmarks): nothing is
// pumped, played or ended; what would reach the player is kept to be read.

// Pumps no events; counts the lines it was asked to let through and how
// often input is held, so a caller can see the loader's rhythm.
class QuietPump final : public EventPump {
public:
    int holds = 0;
    int lines = 0;
    void holdInput() override { ++holds; }
    void releaseInput() override { --holds; }
    void processPendingEvents() override { ++lines; }
};

class QuietMusic final : public Music {
public:
    void send(const QString &) override {}
};

class KeptAlerts final : public Alerts {
public:
    void showError(const QString &message) override { messages << message; }
    QStringList messages;
};

// The process goes on where the game would end; the statuses are kept.
class KeptAlive final : public ProcessControl {
public:
    void endProgram(int status) override { statuses << status; }
    QList<int> statuses;
};

// A text pane that is only its text.
class TextHolder final : public TextTarget {
public:
    QString value;
    QString text() const override { return value; }
    void setText(const QString &text) override { value = text; }
    // Long files arrive a line at a time; adding keeps them linear.
    void appendText(const QString &more) override { value += more; }
};

} // namespace tess
