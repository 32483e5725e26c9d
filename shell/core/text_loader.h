#pragma once
#include <QString>

namespace tess {

class EventPump;
class Files;
class TextTarget;

// Shows text files line by line in captions and text boxes.
class TextLoader {
public:
    TextLoader(Files &files, EventPump &pump);

    // Appends each line of the file, followed by CR LF, to the target's text,
    // letting pending events run between lines whenever their turn is due. The whole file is read
    // first, so a file that cannot be read leaves the target untouched
    // (FileError is thrown).
    void AppendTextFile(const QString &gamePath, TextTarget &target);

    // The two halves of AppendTextFile, for callers that must read everything
    // they need before changing anything: the file's decoded text, and its
    // lines appended to the target.
    QString readText(const QString &gamePath);
    void appendLines(QStringView text, TextTarget &target);

private:
    Files &files_;
    EventPump &pump_;
};

} // namespace tess
