#include "shell/desktop/game_cursor.h"

#include "shell/core/cursor_file.h"
#include "shell/core/regular_file.h"

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>

namespace tess {
namespace {

// Larger files are not cursors; reading them would only cost time.
constexpr qint64 kMaxCursorFileBytes = 4 * 1024 * 1024;

} // namespace

GameCursor::GameCursor(QString cursorFile) : cursorFile_(std::move(cursorFile))
{
    animation_.setSingleShot(true);
    connect(&animation_, &QTimer::timeout, this, [this] { showFrame((current_ + 1) % frames_.size()); });
}

void GameCursor::InstallGameCursor()
{
    QString why;
    const std::optional<QByteArray> bytes = readRegularFile(cursorFile_, kMaxCursorFileBytes, why);
    if (!bytes)
        return;  // the arrow stays as it is
    std::vector<QCursor> frames;
    std::vector<int> delays;
    for (const CursorFrame &frame : parseCursorFile(*bytes)) {
        const QImage image = QImage::fromData(frame.image, "ICO");
        if (image.isNull())
            return;
        frames.emplace_back(QPixmap::fromImage(image), frame.hotspot.x(), frame.hotspot.y());
        delays.push_back(frame.delayMs);
    }
    if (frames.empty())
        return;
    frames_ = std::move(frames);
    delays_ = std::move(delays);
    if (!installed_)
        QGuiApplication::setOverrideCursor(frames_.front());
    installed_ = true;
    showFrame(0);
}

void GameCursor::RestoreSystemCursor()
{
    if (!installed_)
        return;
    animation_.stop();
    QGuiApplication::restoreOverrideCursor();
    installed_ = false;
}

void GameCursor::showFrame(std::size_t index)
{
    current_ = index;
    QGuiApplication::changeOverrideCursor(frames_[index]);
    if (frames_.size() > 1)
        animation_.start(delays_[index]);
}

} // namespace tess
