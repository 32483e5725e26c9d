#pragma once
#include <QString>

namespace tess {

// A caption or text box that text files are loaded into.
class TextTarget {
public:
    virtual ~TextTarget() = default;
    virtual QString text() const = 0;
    virtual void setText(const QString &text) = 0;
    // The same as setText(text() + more); targets that can add text without
    // copying what they hold say so, which keeps long files fast to show.
    virtual void appendText(const QString &more) { setText(text() + more); }
};

} // namespace tess
