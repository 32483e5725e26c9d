#pragma once
#include <QObject>

namespace tess {

// SIGTERM, SIGHUP and SIGINT end the game at any moment of its life.
//
// Caught from the first line of main: until the event loop runs (the
// application, the folder's lock, the first screen) a signal ends the process
// at once with the start-up's exit status, for nothing has been written yet
// and something there may wait on a desktop service that never answers.
void catchTerminationSignals();
// The status a signal ends the start-up with: 0 unless it says otherwise
// (the "already running" message says 1).
void setStartUpExitStatus(int status);

// From the first turn of the event loop on, the signal handler only writes
// one byte to a socket, and this turns it into a Qt signal from the event
// loop, so that the screens close in order. A game that has not ended five
// seconds after a signal (stuck on something that does not answer) ends by
// itself with status 1 and says so.
class TerminationSignals final : public QObject {
    Q_OBJECT
public:
    TerminationSignals();
    ~TerminationSignals() override;

signals:
    void terminationRequested();
};

} // namespace tess
