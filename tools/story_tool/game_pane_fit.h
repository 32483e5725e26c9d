#pragma once
#include "tools/story_tool/pane_fit.h"

namespace storytool {

// The story screen's own layout of its pane. Needs a QApplication with the
// game's look applied (tess::applyGameLook).
class GamePaneFit final : public PaneFit {
public:
    bool fits(const QString &paneText) const override;
    int heightNeeded(const QString &paneText) const override;
    int paneHeight() const override;
};

} // namespace storytool
