#pragma once
#include <QObject>

namespace tess {

// Turns SIGTERM, SIGHUP and SIGINT into a Qt signal delivered from the event
// loop; the signal handler itself only writes one byte to a socket.
class TerminationSignals final : public QObject {
    Q_OBJECT
public:
    TerminationSignals();
    ~TerminationSignals() override;

signals:
    void terminationRequested();
};

} // namespace tess
