#pragma once
#include "console/core/console_view.h"

#include <QStringList>

#include <array>
#include <cstddef>

namespace console {

// Everything the console's screen holds, as plain values: what it shows
// right after it opens (the prompt, no comment, no photo).
struct ConsoleScreenState {
    QString log;
    QString comment;
    std::array<bool, 5> photos{};  // by Photo; None is never shown

    bool &photo(Photo which) { return photos[std::size_t(which)]; }
    bool photo(Photo which) const { return photos[std::size_t(which)]; }
    bool operator==(const ConsoleScreenState &) const = default;
};

ConsoleScreenState openedConsole();

// The console's screen without a window: the engine plays against `state`.
// With a journal, every change is also written into it ("log", "comment",
// "Image3 shown"), so its order against other events can be checked.
class MemoryConsoleView final : public ConsoleView {
public:
    explicit MemoryConsoleView(QStringList *journal = nullptr) : journal_(journal) {}

    ConsoleScreenState state = openedConsole();

    void setLog(const QString &log) override;
    void setComment(const QString &comment) override;
    void setPhotoShown(Photo photo, bool shown) override;

private:
    void note(const QString &change);

    QStringList *journal_;
};

} // namespace console
