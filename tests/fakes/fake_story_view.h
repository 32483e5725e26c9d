#pragma once
#include "shell/core/quiet_services.h"
#include "story/core/story_view.h"

#include <QMap>
#include <QStringList>

// A story screen without a window: choices, pane, mirrors and code box as plain
// values; leaving the screen is written into `screenEvents`.
class FakeStoryView final : public story::StoryView {
public:
    struct SlotState {
        QString caption;
        bool shown = true;
    };
    struct Pane final : tess::TextTarget {
        QString value;
        QString text() const override { return value; }
        void setText(const QString &text) override { value = text; }
    };

    QMap<story::Slot, SlotState> choices{{story::Slot::Label2, {}}, {story::Slot::Label3, {}}, {story::Slot::Label4, {}}};
    Pane paneText;
    QMap<story::Flag, QString> mirrors;
    QString typedPassword;
    bool passwordBoxShown = false;
    QStringList screenEvents;

    QString caption(story::Slot slot) const override { return choices[slot].caption; }
    void setCaption(story::Slot slot, const QString &caption) override { choices[slot].caption = caption; }
    bool isShown(story::Slot slot) const override { return choices[slot].shown; }
    void setShown(story::Slot slot, bool shown) override { choices[slot].shown = shown; }
    tess::TextTarget &pane() override { return paneText; }
    QString mirror(story::Flag flag) const override { return mirrors.value(flag); }
    void setMirror(story::Flag flag, const QString &value) override { mirrors[flag] = value; }
    QString password() const override { return typedPassword; }
    bool isPasswordBoxShown() const override { return passwordBoxShown; }
    void showPasswordBox() override { passwordBoxShown = true; }
    void hideStory() override { screenEvents << QStringLiteral("hide story"); }
    void showGameOver() override { screenEvents << QStringLiteral("show game over"); }
    void showConsole() override { screenEvents << QStringLiteral("show console"); }
};
