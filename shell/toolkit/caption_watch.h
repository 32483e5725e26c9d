#pragma once
#include <QtGlobal>

class QString;

namespace tess {

class Label;

// Hears every label's caption change as it happens. The accessibility layer
// installs one at start-up to tell screen readers; until then a label tells
// nobody.
class CaptionWatch {
public:
    virtual void captionReplaced(Label &label, const QString &before) = 0;
    virtual void captionAppended(Label &label, qsizetype oldSize) = 0;

protected:
    ~CaptionWatch() = default;
};

// The watch every label tells (nullptr: none).
void watchCaptions(CaptionWatch *watch);

} // namespace tess
