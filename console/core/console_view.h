#pragma once
#include <QString>

namespace console {

// The console's four photos.
enum class Photo { None, Image1, Image2, Image3, Image4 };

// What the console shows: the output pane (the log, which the engine
// keeps), the comment pane and the photos.
class ConsoleView {
public:
    virtual ~ConsoleView() = default;
    virtual void setLog(const QString &log) = 0;
    virtual void setComment(const QString &comment) = 0;
    virtual void setPhotoShown(Photo photo, bool shown) = 0;
};

} // namespace console
