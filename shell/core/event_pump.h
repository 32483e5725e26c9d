#pragma once

namespace tess {

// Lets the window system breathe while a text file is shown line by line.
// While input is held, the player's clicks, keys and close requests wait and
// are handled after the load, as if they had come after it.
class EventPump {
public:
    virtual ~EventPump() = default;
    virtual void holdInput() = 0;
    virtual void releaseInput() = 0;
    // Whether the window system is due its turn after the line just read.
    // Between two turns nothing but the loader runs, so the lines read since
    // the last turn may reach their target together: the same text, shown
    // with one paint instead of one per line.
    virtual bool turnIsDue() { return true; }
    virtual void processPendingEvents() = 0;
};

} // namespace tess
