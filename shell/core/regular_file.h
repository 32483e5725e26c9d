#pragma once
#include <QByteArray>
#include <QString>

#include <optional>

namespace tess {

// Reads a data file whole, but only when it is a regular file: a FIFO, a
// device or a socket in its place is refused without waiting on it, and no
// more than maxBytes are ever read, whatever size the file claims. On
// failure returns nothing and sets `why` to the reason in the player's words.
std::optional<QByteArray> readRegularFile(const QString &path, qint64 maxBytes, QString &why);

// The reasons the game's file services give, written once.
namespace file_reason {
QString notFound();
QString folderInItsPlace();
QString notAPlainFile();
QString aLinkInItsPlace();
QString noReadPermission();
QString noWritePermission();
QString otherNames();
QString diskFull();
QString tooLarge(qint64 bytes);
QString largerThan(qint64 bytes);
QString systemError(int error);
} // namespace file_reason

} // namespace tess
