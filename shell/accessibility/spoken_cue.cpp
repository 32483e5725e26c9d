#include "shell/accessibility/spoken_cue.h"

#include "shell/toolkit/keyboard_play.h"

namespace tess {

SpokenCue::SpokenCue(QWidget *window) : QWidget(window)
{
    setGeometry(0, 0, 1, 1);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    hide();
    shown_.setSingleShot(true);
    shown_.setInterval(5000);
    connect(&shown_, &QTimer::timeout, this, &QWidget::hide);
}

void SpokenCue::say(const QString &words)
{
    // A notification is spoken as it appears: it appears anew every time.
    hide();
    words_ = words;
    show();
    shown_.start();
}

SpokenCueAccessible::SpokenCueAccessible(SpokenCue *cue) : QAccessibleWidget(cue, QAccessible::Notification) {}

QString SpokenCueAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Name)
        return static_cast<SpokenCue *>(widget())->words();
    return QAccessibleWidget::text(t);
}

void speakCue(QWidget &window, const QString &words)
{
    if (!assistiveTechnologyActive())
        return;
    auto *cue = window.findChild<SpokenCue *>(QString(), Qt::FindDirectChildrenOnly);
    if (!cue)
        cue = new SpokenCue(&window);
    cue->say(words);
}

} // namespace tess
