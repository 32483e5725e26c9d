#include "shell/ui/accessibility.h"

#include "shell/core/text_lines.h"
#include "shell/ui/controls.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QHash>
#include <QMouseEvent>

#include <algorithm>

namespace tess {
namespace {

const char kPageProperty[] = "tessStoryPage";

enum class Kind { Button, Text, Page };

Kind kindOf(const Label &label)
{
    if (label.answersClicks())
        return Kind::Button;
    return isExposedAsPage(label) ? Kind::Page : Kind::Text;
}

// The name a label has for a screen reader: the one it was given, or else its
// caption. The story's page has none; its text says it all.
QString spokenName(const Label &label)
{
    if (!label.accessibleName().isEmpty())
        return label.accessibleName();
    if (kindOf(label) == Kind::Page)
        return QString();
    return normalizeLineBreaks(label.text());
}

// A press of the left button and its release at the label's centre, queued as
// a player's click would be: the input gate may hold them back, the label
// turns them into `clicked`, and the screen runs its handler in its guard.
void clickLikeThePlayer(Label &label)
{
    // Nothing the mouse could not click either.
    if (!label.isVisible() || !label.isEnabled())
        return;
    const QPointF at = QRectF(label.rect()).center();
    const QPointF global = label.mapToGlobal(at);
    QCoreApplication::postEvent(&label, new QMouseEvent(QEvent::MouseButtonPress, at, global, Qt::LeftButton,
                                                        Qt::LeftButton, Qt::NoModifier));
    QCoreApplication::postEvent(&label, new QMouseEvent(QEvent::MouseButtonRelease, at, global, Qt::LeftButton,
                                                        Qt::NoButton, Qt::NoModifier));
}

class LabelAccessible final : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit LabelAccessible(Label *label) : QAccessibleWidget(label) {}

    QAccessible::Role role() const override
    {
        switch (kindOf(label())) {
        case Kind::Button:
            return QAccessible::Button;
        case Kind::Page:
            return QAccessible::Paragraph;
        case Kind::Text:
            break;
        }
        return QAccessible::StaticText;
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        if (kindOf(label()) != Kind::Button) {
            state.readOnly = true;
            state.multiLine = true;
        }
        return state;
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name)
            return spokenName(label());
        return QAccessibleWidget::text(t);
    }

    void *interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::TextInterface && kindOf(label()) != Kind::Button)
            return static_cast<QAccessibleTextInterface *>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    // Actions
    QStringList actionNames() const override
    {
        QStringList names = QAccessibleWidget::actionNames();
        if (kindOf(label()) == Kind::Button)
            names.prepend(pressAction());
        return names;
    }

    void doAction(const QString &actionName) override
    {
        if (actionName == pressAction() && kindOf(label()) == Kind::Button)
            clickLikeThePlayer(label());
        else
            QAccessibleWidget::doAction(actionName);
    }

    // Text: the caption as shown, read-only, with no caret or selection.
    QString text(int startOffset, int endOffset) const override
    {
        const QString all = shownText();
        const qsizetype start = std::clamp<qsizetype>(startOffset, 0, all.size());
        const qsizetype end = endOffset < 0 ? all.size() : std::clamp<qsizetype>(endOffset, start, all.size());
        return all.mid(start, end - start);
    }
    int characterCount() const override { return int(shownText().size()); }
    void selection(int, int *startOffset, int *endOffset) const override { *startOffset = *endOffset = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QRect characterRect(int) const override { return QRect(); }
    int offsetAtPoint(const QPoint &) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int *startOffset, int *endOffset) const override
    {
        *startOffset = 0;
        *endOffset = characterCount();
        return QString();
    }

private:
    Label &label() const { return *static_cast<Label *>(widget()); }
    QString shownText() const { return normalizeLineBreaks(label().text()); }
};

QAccessibleInterface *labelFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String(Label::staticMetaObject.className()))
        if (auto *label = qobject_cast<Label *>(object))
            return new LabelAccessible(label);
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

bool reportingIsOn()
{
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
    if (!label.accessibleName().isEmpty() || kindOf(label) == Kind::Page)
        return;
    QAccessibleEvent event(&label, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}

} // namespace

void installAccessibility()
{
    // Qt keeps each factory once, however often this runs.
    QAccessible::installFactory(labelFactory);
}

void exposeAsPage(Label &label)
{
    label.setProperty(kPageProperty, true);
}

bool isExposedAsPage(const Label &label)
{
    return label.property(kPageProperty).toBool();
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

void reportCaptionReplaced(Label &label, const QString &before)
{
    if (!reportingIsOn())
        return;
    const QString &caption = label.text();
    remember(label, {normalizeLineBreaks(caption).size(), caption.endsWith(u'\r')});
    if (kindOf(label) != Kind::Button)
        reportTextChange(label, captionChange(before, caption));
    reportNameChange(label);
}

void reportCaptionAppended(Label &label, qsizetype oldSize)
{
    if (!reportingIsOn())
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
    if (kindOf(label) != Kind::Button)
        reportTextChange(label, {told.length, QString(), added});
    reportNameChange(label);
}

} // namespace tess
