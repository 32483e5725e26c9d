#pragma once
#include <QString>

namespace tess {

// A caption or text box that text files are loaded into.
class TextTarget {
public:
    virtual ~TextTarget() = default;
    virtual QString text() const = 0;
    virtual void setText(const QString &text) = 0;
};

} // namespace tess
