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
    virtual void processPendingEvents() = 0;
};

} // namespace tess
