#pragma once
#include <QString>

namespace storytool {

// How the story screen lays out a page in its pane; the window side of the
// game answers it, in the game's fonts.
class PaneFit {
public:
    virtual ~PaneFit() = default;
    virtual bool fits(const QString &paneText) const = 0;
    virtual int heightNeeded(const QString &paneText) const = 0;
    virtual int paneHeight() const = 0;
};

} // namespace storytool
