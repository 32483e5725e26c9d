#pragma once
#include "shell/core/cursor_service.h"

#include <QCursor>
#include <QObject>
#include <QTimer>

#include <vector>

namespace tess {

// The game cursor as an application-wide override cursor. It lasts while the
// game runs and ends with the process; the player's own arrow is whatever
// lies under the override, so restoring can never bring back the game cursor.
class GameCursor final : public QObject, public CursorService {
public:
    // `cursorFile` is the full path of cursor\cur.cgf beside the executable.
    explicit GameCursor(QString cursorFile);

    void InstallGameCursor() override;
    void RestoreSystemCursor() override;

    bool isInstalled() const { return installed_; }

private:
    void showFrame(std::size_t index);

    QString cursorFile_;
    std::vector<QCursor> frames_;
    std::vector<int> delays_;
    std::size_t current_ = 0;
    QTimer animation_;
    bool installed_ = false;
};

} // namespace tess
