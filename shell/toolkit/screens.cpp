#include "shell/toolkit/screens.h"

#include "shell/core/process_control.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

#include <algorithm>
#include <vector>

namespace tess {

Screens::Screens(ProcessControl &process) : process_(process) {}

Screens::~Screens() = default;

void Screens::define(ScreenId id, Factory factory)
{
    factories_[id] = std::move(factory);
}

Screen &Screens::get(ScreenId id)
{
    if (auto found = loaded_.find(id); found != loaded_.end())
        return *found->second;
    Screen &screen = *loaded_.emplace(id, factories_.at(id)()).first->second;
    try {
        screen.Form_Load();
    } catch (...) {
        loaded_.erase(id);
        throw;
    }
    return screen;
}

bool Screens::isLoaded(ScreenId id) const
{
    return loaded_.contains(id);
}

bool Screens::isShown(ScreenId id) const
{
    const auto found = loaded_.find(id);
    return found != loaded_.end() && found->second->isVisible();
}

void Screens::Show(ScreenId id)
{
    Screen &screen = get(id);
    if (!shownAt_.contains(id)) {
        if (const QScreen *desktop = QGuiApplication::primaryScreen())
            screen.move(desktop->availableGeometry().center() - screen.rect().center());
    }
    shownAt_[id] = ++showCount_;
    screen.show();
    screen.raise();
    screen.activateWindow();
}

void Screens::Hide(ScreenId id)
{
    if (auto found = loaded_.find(id); found != loaded_.end())
        found->second->hide();
}

void Screens::Unload(ScreenId id)
{
    requestClose(id, CloseReason::Program);
}

void Screens::requestClose(ScreenId id, CloseReason reason)
{
    const auto found = loaded_.find(id);
    if (found == loaded_.end())
        return;
    bool allowed = false;
    found->second->handle([&] { allowed = found->second->Form_QueryUnload(reason); });
    if (allowed)
        destroy(id);
}

void Screens::destroy(ScreenId id)
{
    const auto found = loaded_.find(id);
    if (found == loaded_.end())
        return;
    // The screen's own handler may still be running: let it finish first.
    Screen *screen = found->second.release();
    loaded_.erase(found);
    shownAt_.erase(id);
    screen->hide();
    screen->deleteLater();
    // With no screen left once the handlers have run, the game is over;
    // unless a fatal message is up, whose own loop runs this too early.
    QTimer::singleShot(0, this, [this] {
        if (loaded_.empty() && !endingWithError_)
            process_.endProgram(0);
    });
}

void Screens::closeAll(CloseReason reason)
{
    // A fatal message is up: the game ends as it would once it is read.
    if (endingWithError_) {
        process_.endProgram(1);
        return;
    }
    std::vector<ScreenId> order;
    for (const auto &[id, screen] : loaded_)
        order.push_back(id);
    const auto rank = [this](ScreenId id) {
        const bool shown = isShown(id);
        const auto stamp = shownAt_.contains(id) ? shownAt_.at(id) : 0;
        return std::pair(shown, stamp);
    };
    std::sort(order.begin(), order.end(), [&](ScreenId a, ScreenId b) { return rank(a) > rank(b); });
    for (ScreenId id : order)
        requestClose(id, reason);
}

} // namespace tess
