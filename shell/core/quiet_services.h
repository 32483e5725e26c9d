#pragma once
#include "shell/core/alerts.h"
#include "shell/core/event_pump.h"
#include "shell/core/music.h"

#include <QStringList>

namespace tess {

// The services the engine needs, for a story played without a window: no
// events to pump, no music to play, and errors kept for the report.
class QuietPump final : public EventPump {
public:
    void holdInput() override {}
    void releaseInput() override {}
    void processPendingEvents() override {}
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

} // namespace tess
