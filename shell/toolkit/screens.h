#pragma once
#include "shell/toolkit/screen.h"

#include <QObject>

#include <functional>
#include <map>
#include <memory>

namespace tess {

class ProcessControl;

// The game's screens by name. A screen is loaded on first reference (its
// load handler runs to the end inside the caller's handler) and exists once.
class Screens final : public QObject, public ScreenStack {
public:
    using Factory = std::function<std::unique_ptr<Screen>()>;

    explicit Screens(ProcessControl &process);
    ~Screens() override;

    void define(ScreenId id, Factory factory);

    Screen &get(ScreenId id);
    template <typename T>
    T &get(ScreenId id) { return static_cast<T &>(get(id)); }
    bool isLoaded(ScreenId id) const;
    bool isShown(ScreenId id) const;

    void Show(ScreenId id) override;
    void Hide(ScreenId id) override;
    void Unload(ScreenId id) override;
    void requestClose(ScreenId id, CloseReason reason) override;
    // The desktop session or a signal closes the game: every loaded screen is
    // asked, the one the player is on first.
    void closeAll(CloseReason reason);

    void endingWithError() override { endingWithError_ = true; }

private:
    void destroy(ScreenId id);

    ProcessControl &process_;
    std::map<ScreenId, Factory> factories_;
    std::map<ScreenId, std::unique_ptr<Screen>> loaded_;
    std::map<ScreenId, quint64> shownAt_;
    quint64 showCount_ = 0;
    bool endingWithError_ = false;
};

} // namespace tess
