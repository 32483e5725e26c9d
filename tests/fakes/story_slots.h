#pragma once
// The real story screen's three choice slots as a player sees and clicks them.
#include "app/game_wiring.h"
#include "shell/toolkit/controls.h"
#include "story/ui/story_screen.h"

#include <QStringList>
#include <QTest>

inline QList<tess::Label *> choiceSlots(story::StoryScreen &screen)
{
    return {&screen.Label2, &screen.Label3, &screen.Label4};
}

// The three captions, "—" for a hidden slot: "A / — / B".
inline QString choices(story::StoryScreen &screen)
{
    QStringList shown;
    for (const tess::Label *slot : choiceSlots(screen))
        shown << (slot->isHidden() ? QStringLiteral("—") : slot->text());
    return shown.join(QStringLiteral(" / "));
}

inline tess::Label *visibleSlotReading(story::StoryScreen &screen, const QString &caption)
{
    for (tess::Label *slot : choiceSlots(screen)) {
        if (!slot->isHidden() && slot->text() == caption)
            return slot;
    }
    return nullptr;
}

// Clicks the visible slot that reads the caption; false when none does.
[[nodiscard]] inline bool clickChoice(story::StoryScreen &screen, const QString &caption)
{
    tess::Label *slot = visibleSlotReading(screen, caption);
    if (!slot)
        return false;
    QTest::mouseClick(slot, Qt::LeftButton);
    tess::GameWiring::settle();
    return true;
}
