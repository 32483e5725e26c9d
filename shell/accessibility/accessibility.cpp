#include "shell/accessibility/accessibility.h"

#include "shell/core/text_lines.h"
#include "shell/accessibility/box_accessible.h"
#include "shell/toolkit/controls.h"
#include "shell/accessibility/label_accessible.h"
#include "shell/toolkit/screen.h"
#include "shell/accessibility/spoken_cue.h"
#include "shell/accessibility/exposure.h"
#include "shell/toolkit/caption_watch.h"
#include "shell/toolkit/keyboard_play.h"

#include <QAccessible>
#include <QHash>

#include <algorithm>

namespace tess {
namespace {

bool isButton(const Label &label)
{
    return label.answersClicks();
}

// The interface for a control of the class asked for, or nothing.
template <typename Control, typename Accessible>
QAccessibleInterface *interfaceFor(const QString &className, QObject *object)
{
    if (className != QLatin1String(Control::staticMetaObject.className()))
        return nullptr;
    auto *control = qobject_cast<Control *>(object);
    return control ? new Accessible(control) : nullptr;
}

QAccessibleInterface *controlFactory(const QString &className, QObject *object)
{
    for (auto made : {interfaceFor<Label, LabelAccessible>, interfaceFor<LineBox, LineBoxAccessible>,
                      interfaceFor<MemoBox, MemoBoxAccessible>, interfaceFor<SpokenCue, SpokenCueAccessible>})
        if (QAccessibleInterface *found = made(className, object))
            return found;
    if (auto *screen = qobject_cast<Screen *>(object); screen && className == QLatin1String(screen->metaObject()->className()))
        return new WindowAccessible(screen);
    return nullptr;
}

// What screen readers were last told of a caption's text: its length and
// whether the caption ends in a CR. Appending a line then costs only that
// line, however long the text already is.
struct Told {
    qsizetype length = 0;
    bool endsInCr = false;
};

QHash<const Label *, Told> &toldTexts()
{
    static QHash<const Label *, Told> told;
    return told;
}

void remember(Label &label, Told told)
{
    auto &all = toldTexts();
    if (!all.contains(&label))
        QObject::connect(&label, &QObject::destroyed, [key = &label] { toldTexts().remove(key); });
    all.insert(&label, told);
}

// Whether a caption change of the label is told: not while nobody listens,
// nor of a label kept from screen readers.
bool reportingIsOn(const Label &label)
{
    if (isHiddenFromScreenReaders(label))
        return false;
    if (QAccessible::isActive())
        return true;
    // Nobody listens: what we remember would go stale.
    toldTexts().clear();
    return false;
}

void reportTextChange(Label &label, const TextChange &change)
{
    const int position = int(change.position);
    if (change.removed.isEmpty() && change.inserted.isEmpty())
        return;
    if (change.removed.isEmpty()) {
        QAccessibleTextInsertEvent event(&label, position, change.inserted);
        QAccessible::updateAccessibility(&event);
    } else if (change.inserted.isEmpty()) {
        QAccessibleTextRemoveEvent event(&label, position, change.removed);
        QAccessible::updateAccessibility(&event);
    } else {
        QAccessibleTextUpdateEvent event(&label, position, change.removed, change.inserted);
        QAccessible::updateAccessibility(&event);
    }
}

void reportNameChange(Label &label)
{
    if (!label.accessibleName().isEmpty() || isExposedAsPage(label))
        return;
    QAccessibleEvent event(&label, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}

} // namespace

void announcePage(Label &page)
{
    // Focus is what screen readers speak: moving it to the page has them read it.
    const bool takesFocus = page.focusPolicy() != Qt::NoFocus && page.isVisible();
    if (takesFocus)
        renewForScreenReaders(page);
    if (reportingIsOn(page)) {
        static QHash<const Label *, QString> told;
        if (!told.contains(&page))
            QObject::connect(&page, &QObject::destroyed, [key = &page] { told.remove(key); });
        const QString was = told.value(&page);
        told.insert(&page, page.text());
        reportTextChange(page, captionChange(was, page.text()));
    }
    if (takesFocus)
        giveFocus(page);
}

TextChange captionChange(QStringView before, QStringView after)
{
    const QString was = normalizeLineBreaks(before);
    const QString is = normalizeLineBreaks(after);
    const qsizetype common = std::mismatch(was.begin(), was.end(), is.begin(), is.end()).first - was.begin();
    return {common, was.mid(common), is.mid(common)};
}

QString appendedText(bool afterCr, QStringView more)
{
    if (afterCr && more.startsWith(u'\n'))
        more = more.mid(1);
    return normalizeLineBreaks(more);
}

namespace {

void reportCaptionReplaced(Label &label, const QString &before)
{
    if (!reportingIsOn(label) || isExposedAsPage(label))
        return;
    const QString &caption = label.text();
    remember(label, {normalizeLineBreaks(caption).size(), caption.endsWith(u'\r')});
    if (!isButton(label))
        reportTextChange(label, captionChange(before, caption));
    reportNameChange(label);
}

void reportCaptionAppended(Label &label, qsizetype oldSize)
{
    if (!reportingIsOn(label) || isExposedAsPage(label))
        return;
    const QString &caption = label.text();
    const QStringView more = QStringView(caption).mid(oldSize);
    if (more.isEmpty())
        return;
    const auto found = toldTexts().constFind(&label);
    const Told told = found != toldTexts().cend()
                          ? *found
                          : Told{normalizeLineBreaks(QStringView(caption).left(oldSize)).size(),
                                 oldSize > 0 && caption.at(oldSize - 1) == u'\r'};
    const QString added = appendedText(told.endsInCr, more);
    remember(label, {told.length + added.size(), caption.endsWith(u'\r')});
    if (!isButton(label))
        reportTextChange(label, {told.length, QString(), added});
    reportNameChange(label);
}

// Tells screen readers of every label's caption change.
class ScreenReaderCaptions final : public CaptionWatch {
public:
    void captionReplaced(Label &label, const QString &before) override { reportCaptionReplaced(label, before); }
    void captionAppended(Label &label, qsizetype oldSize) override { reportCaptionAppended(label, oldSize); }
};

} // namespace

void installAccessibility()
{
    // Qt keeps each factory and observer once, however often this runs.
    QAccessible::installFactory(controlFactory);
    static ScreenReaderCaptions captions;
    watchCaptions(&captions);
    watchForScreenReaders();
}

} // namespace tess
