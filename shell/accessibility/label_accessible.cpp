#include "shell/accessibility/label_accessible.h"

#include "shell/core/text_lines.h"
#include "shell/accessibility/exposure.h"
#include "shell/toolkit/keyboard_play.h"
#include "shell/toolkit/controls.h"

namespace tess {
namespace {

enum class Kind { Button, Text, Page };

Kind kindOf(const Label &label)
{
    if (label.answersClicks())
        return Kind::Button;
    return isExposedAsPage(label) ? Kind::Page : Kind::Text;
}

} // namespace

LabelAccessible::LabelAccessible(Label *label) : QAccessibleWidget(label) {}

Label &LabelAccessible::label() const
{
    return *static_cast<Label *>(widget());
}

QString LabelAccessible::shownText() const
{
    return normalizeLineBreaks(label().text());
}

QAccessible::Role LabelAccessible::role() const
{
    switch (kindOf(label())) {
    case Kind::Button:
        return QAccessible::Button;
    case Kind::Page:
    case Kind::Text:
        break;
    }
    // Screen readers read a label whole as it takes the focus, where of a
    // paragraph they read one line.
    return QAccessible::StaticText;
}

QAccessible::State LabelAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    if (kindOf(label()) != Kind::Button) {
        state.readOnly = true;
        state.multiLine = true;
    }
    return state;
}

// The name a label has for a screen reader: the one it was given, or else its
// caption. A page without a name of its own has none: its text says it all.
QString LabelAccessible::text(QAccessible::Text t) const
{
    if (t != QAccessible::Name)
        return QAccessibleWidget::text(t);
    if (!label().accessibleName().isEmpty())
        return label().accessibleName();
    if (kindOf(label()) == Kind::Page)
        return QString();
    return shownText();
}

void *LabelAccessible::interface_cast(QAccessible::InterfaceType t)
{
    if (t == QAccessible::TextInterface && kindOf(label()) != Kind::Button)
        return static_cast<QAccessibleTextInterface *>(this);
    return QAccessibleWidget::interface_cast(t);
}

QStringList LabelAccessible::actionNames() const
{
    QStringList names = QAccessibleWidget::actionNames();
    if (kindOf(label()) == Kind::Button)
        names.prepend(pressAction());
    return names;
}

void LabelAccessible::doAction(const QString &actionName)
{
    if (actionName == pressAction() && kindOf(label()) == Kind::Button)
        pressLikeThePlayer(label());
    else
        QAccessibleWidget::doAction(actionName);
}

void LabelAccessible::selection(int, int *startOffset, int *endOffset) const
{
    *startOffset = *endOffset = 0;
}

int LabelAccessible::cursorPosition() const
{
    return label().readingCaret();
}

void LabelAccessible::setCursorPosition(int position)
{
    label().setReadingCaret(position);
}

const std::vector<CaptionLayout::ShownLine> &LabelAccessible::shownLines() const
{
    const Label &shown = label();
    if (linesFor_ != shown.text() || linesSize_ != shown.size() || (lines_.empty() && !linesFor_.isEmpty())) {
        linesFor_ = shown.text();
        linesSize_ = shown.size();
        lines_ = shown.shownLines();
    }
    return lines_;
}

WindowAccessible::WindowAccessible(QWidget *window) : QAccessibleWidget(window, QAccessible::Window) {}

QList<QWidget *> WindowAccessible::exposedChildren() const
{
    QList<QWidget *> exposed;
    for (QObject *object : widget()->children()) {
        auto *child = qobject_cast<QWidget *>(object);
        if (child && !child->isWindow() && !isHiddenFromScreenReaders(*child))
            exposed.append(child);
    }
    return exposed;
}

int WindowAccessible::childCount() const
{
    return int(exposedChildren().size());
}

QAccessibleInterface *WindowAccessible::child(int index) const
{
    const QList<QWidget *> exposed = exposedChildren();
    if (index < 0 || index >= exposed.size())
        return nullptr;
    return QAccessible::queryAccessibleInterface(exposed.at(index));
}

int WindowAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    if (!child)
        return -1;
    return int(exposedChildren().indexOf(qobject_cast<QWidget *>(child->object())));
}

} // namespace tess
