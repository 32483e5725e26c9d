#pragma once
#include <QAccessibleWidget>
#include <QTimer>
#include <QWidget>

namespace tess {

// A few words for a screen reader alone, such as a refusal that shows
// nothing on the screen: a notification that appears for screen readers
// (which speak a notification as it appears) and is never drawn. Nothing
// happens while no screen reader listens.
void speakCue(QWidget &window, const QString &words);

// The window's notification object: one pixel in its corner, drawn as
// nothing and transparent to the mouse; shown for a few seconds after it is
// told, long enough for a screen reader to ask what it says, and then kept
// out of a review of the window.
class SpokenCue final : public QWidget {
    Q_OBJECT
public:
    explicit SpokenCue(QWidget *window);

    QString words() const { return words_; }
    void say(const QString &words);

private:
    QString words_;
    QTimer shown_;
};

class SpokenCueAccessible final : public QAccessibleWidget {
public:
    explicit SpokenCueAccessible(SpokenCue *cue);
    QString text(QAccessible::Text t) const override;
};

} // namespace tess
