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
class Screens final : public QObject {
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

    // Loads the screen if needed, then shows it and brings it to the front.
    void Show(ScreenId id);
    // Makes it invisible; it stays loaded with all its state.
    void Hide(ScreenId id);
    // Asks the close handler with reason 1 and destroys the screen unless it
    // refuses. Nothing happens for a screen that is not loaded.
    void Unload(ScreenId id);

    // Asks the screen's close handler and unloads it when it agrees.
    void requestClose(ScreenId id, CloseReason reason);
    // The desktop session or a signal closes the game: every loaded screen is
    // asked, the one the player is on first.
    void closeAll(CloseReason reason);

    // A fatal error is being shown to the player: the game ends once the
    // message is dismissed, with its own status, not when no screen is left.
    void endingWithError() { endingWithError_ = true; }

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
