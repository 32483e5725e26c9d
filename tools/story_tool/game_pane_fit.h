#pragma once
#include "tools/story_tool/pane_fit.h"

namespace storytool {

// The story screen's own layout of its pane. Needs a QGuiApplication with
// the game's fonts loaded (tess::loadBundledFonts).
class GamePaneFit final : public PaneFit {
public:
    bool fits(const QString &paneText) const override;
    int heightNeeded(const QString &paneText) const override;
    int paneHeight() const override;
};

} // namespace storytool
