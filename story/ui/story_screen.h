#pragma once
#include "shell/toolkit/controls.h"
#include "shell/toolkit/screen.h"
#include "story/core/choice_tables.h"
#include "story/core/story_engine.h"
#include "story/core/story_flags.h"
#include "story/core/story_view.h"

#include <optional>

namespace story {

// `Engine`: the story screen. The pane shows the page, the three slots below
// it the choices; clicks, hovering and two keys are forwarded to the story.
class StoryScreen final : public tess::Screen, public StoryView {
public:
    explicit StoryScreen(tess::Services &services, const ChoiceTables &tables = gameTables());

    void Form_Load() override;
    bool Form_QueryUnload(tess::CloseReason reason) override;

    void Label2_Click();
    void Label3_Click();
    void Label4_Click();

    // StoryView
    QString caption(Slot slot) const override;
    void setCaption(Slot slot, const QString &caption) override;
    bool isShown(Slot slot) const override;
    void setShown(Slot slot, bool shown) override;
    tess::TextTarget &pane() override;
    QString mirror(Flag flag) const override;
    void setMirror(Flag flag, const QString &value) override;
    QString password() const override;
    bool isPasswordBoxShown() const override;
    void showPasswordBox() override;
    void hideStory() override;
    void showGameOver() override;
    void showConsole() override;

    // Controls, in the order the screen creates them.
    tess::LineBox Text1;   // the code box
    tess::Label Label13;   // mirror of flag bc
    tess::Label Label12;   // mirror of flag c
    tess::Label Label11;   // mirror of flag b
    tess::Label Label4;
    tess::Label Label3;
    tess::Label Label2;
    tess::Label Label1;    // the story pane

    // Hover colours of the choice slots.
    static const QColor kNormalColour;
    static const QColor kHighlightColour;

protected:
    void Form_MouseMove() override;
    void Form_KeyDown(QKeyEvent &event) override;
    QList<QWidget *> keyboardOrder() override;

private:
    tess::Label &slotLabel(Slot slot);
    const tess::Label &slotLabel(Slot slot) const;
    tess::Label &mirrorLabel(Flag flag);
    const tess::Label &mirrorLabel(Flag flag) const;
    void lightUp(std::optional<Slot> hovered);
    // Tells screen readers where each choice shown stands: «1 из 3».
    void tellChoicePlaces();
    // Runs one of the story's turns and lets a screen reader hear the new
    // page once it is complete. False when the turn changed nothing the
    // player faces.
    template <typename Turn>
    bool playTurn(Turn &&turn);

    StoryFlags flags_;
    StoryEngine engine_;
};

} // namespace story
