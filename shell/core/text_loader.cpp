#include "shell/core/text_loader.h"

#include "shell/core/cp1251.h"
#include "shell/core/event_pump.h"
#include "shell/core/files.h"
#include "shell/core/text_lines.h"
#include "shell/core/text_target.h"

namespace tess {
namespace {

class HeldInput {
public:
    explicit HeldInput(EventPump &pump) : pump_(pump) { pump_.holdInput(); }
    ~HeldInput() { pump_.releaseInput(); }
    HeldInput(const HeldInput &) = delete;
    HeldInput &operator=(const HeldInput &) = delete;

private:
    EventPump &pump_;
};

} // namespace

TextLoader::TextLoader(Files &files, EventPump &pump) : files_(files), pump_(pump) {}

void TextLoader::AppendTextFile(const QString &gamePath, TextTarget &target)
{
    appendLines(readText(gamePath), target);
}

QString TextLoader::readText(const QString &gamePath)
{
    return decodeCp1251(files_.readAll(gamePath));
}

void TextLoader::appendLines(QStringView text, TextTarget &target)
{
    const HeldInput held(pump_);
    // Lines wait here until the window system's turn comes, then reach the
    // target together: appending and repainting once per line made a page of
    // many short lines cost the square of its length.
    QString unsent;
    unsent.reserve(text.size() + 2);
    TextLineReader lines(text);
    for (QStringView line; lines.next(line);) {
        unsent += line;
        unsent += QStringView(u"\r\n");
        if (pump_.turnIsDue()) {
            target.appendText(unsent);
            unsent.clear();
            pump_.processPendingEvents();
        }
    }
    if (!unsent.isEmpty())
        target.appendText(unsent);
}

} // namespace tess
