#include "story/ui/story_screen.h"

#include "shell/core/text_loader.h"
#include "shell/accessibility/accessibility.h"
#include "shell/accessibility/exposure.h"
#include "shell/desktop/quit_procedure.h"
#include "shell/toolkit/screens.h"
#include "shell/accessibility/spoken_cue.h"
#include "story/core/story_layout.h"
#include "story/ui/console_key.h"
#include "story/ui/story_pane.h"

#include <QKeyEvent>

namespace story {

using tess::pixelRect;

const QColor StoryScreen::kNormalColour(0, 170, 164);
const QColor StoryScreen::kHighlightColour(5, 253, 244);

StoryScreen::StoryScreen(tess::Services &services, const ChoiceTables &tables)
    : Screen(services, tess::ScreenId::Engine, tess::twipsSize(kStoryLayout.client), QStringLiteral(":/pictures/engine.bmp")),
      Text1(this, pixelRect(kStoryLayout.at("Text1")), 0x00404040, 0x00C0C000),
      Label13(this, pixelRect(kStoryLayout.at("Label13"))),
      Label12(this, pixelRect(kStoryLayout.at("Label12"))),
      Label11(this, pixelRect(kStoryLayout.at("Label11"))),
      Label4(this, pixelRect(kStoryLayout.at("Label4")), Qt::AlignHCenter),
      Label3(this, pixelRect(kStoryLayout.at("Label3")), Qt::AlignHCenter),
      Label2(this, pixelRect(kStoryLayout.at("Label2")), Qt::AlignHCenter),
      Label1(this, storyPaneRect()),
      flags_(services.files),
      engine_(*this, services.loader, flags_, services.music, services.alerts, tables)
{
    Text1.hide();
    Label13.hide();
    Label12.hide();
    Label11.hide();
    Label1.setForeground(tess::layoutColor(0x8000000D));
    // The pane answers no pointer: moving over it leaves the slots' colours.
    Label1.setMouseTracking(false);
    setAccessibleName(QStringLiteral("Миры \"Tessaranium\": история"));
    setAccessibleDescription(QStringLiteral("Страница истории и варианты продолжения под ней."));
    tess::exposeAsPage(Label1);
    Text1.setAccessibleName(QStringLiteral("Пароль"));
    Text1.setAccessibleDescription(
        QStringLiteral("Наберите пароль, затем Tab до варианта «Enter parol» и Enter."));
    // The flag mirrors are the story's bookkeeping, never shown to anyone.
    for (tess::Label *mirror : {&Label11, &Label12, &Label13})
        tess::hideFromScreenReaders(*mirror);

    connect(&Text1, &QLineEdit::textChanged, this, [this](const QString &text) { engine_.setCodeBoxText(text); });
    connect(&Label2, &tess::Label::clicked, this, [this] { handle([this] { Label2_Click(); }); });
    connect(&Label3, &tess::Label::clicked, this, [this] { handle([this] { Label3_Click(); }); });
    connect(&Label4, &tess::Label::clicked, this, [this] { handle([this] { Label4_Click(); }); });
    connect(&Label2, &tess::Label::mouseMoved, this, [this] { lightUp(Slot::Label2); });
    connect(&Label3, &tess::Label::mouseMoved, this, [this] { lightUp(Slot::Label3); });
    connect(&Label4, &tess::Label::mouseMoved, this, [this] { lightUp(Slot::Label4); });
}

void StoryScreen::Form_Load()
{
    engine_.start();
    // Page 1 is read once the window comes up with the page in focus.
    tess::announcePage(Label1);
    tellChoicePlaces();
}

// Top to bottom; the code box stands in the first choice's row.
QList<QWidget *> StoryScreen::keyboardOrder()
{
    return {&Label1, &Label2, &Text1, &Label3, &Label4};
}

void StoryScreen::tellChoicePlaces()
{
    QList<tess::Label *> shown;
    for (Slot slot : {Slot::Label2, Slot::Label3, Slot::Label4})
        if (!slotLabel(slot).isHidden())
            shown << &slotLabel(slot);
    for (qsizetype i = 0; i < shown.size(); ++i)
        shown[i]->setAccessibleDescription(QStringLiteral("%1 из %2").arg(i + 1).arg(shown.size()));
}

bool StoryScreen::announceTurn(const StoryTurn &turn)
{
    // Off the screen, or on a screen never shown: nothing to read.
    if (turn.leftScreen || !isVisible())
        return true;
    if (!turn.changedFacing())
        return false;
    tess::announcePage(Label1);
    // Told once the focus has left the choice, which would speak the change.
    tellChoicePlaces();
    return true;
}

bool StoryScreen::Form_QueryUnload(tess::CloseReason)
{
    services().quit.QuitProgram(true);
    return true;
}

void StoryScreen::Label2_Click()
{
    announceTurn(engine_.click(Slot::Label2));
}

void StoryScreen::Label3_Click()
{
    // The code box's choice shows nothing when the password fits no rule.
    if (!announceTurn(engine_.click(Slot::Label3)) && engine_.state().codeBoxShown)
        tess::speakCue(*this, QStringLiteral("Пароль не подошёл"));
}

void StoryScreen::Label4_Click()
{
    announceTurn(engine_.click(Slot::Label4));
}

void StoryScreen::Form_MouseMove()
{
    lightUp(std::nullopt);
}

void StoryScreen::lightUp(std::optional<Slot> hovered)
{
    for (Slot slot : {Slot::Label2, Slot::Label3, Slot::Label4})
        slotLabel(slot).setForeground(slot == hovered ? kHighlightColour : kNormalColour);
}

void StoryScreen::Form_KeyDown(QKeyEvent &event)
{
    if (event.key() == Qt::Key_F8)
        announceTurn(engine_.press(StoryKey::F8));
    else if (isConsoleKey(event))
        engine_.press(StoryKey::ConsoleKey);
}

tess::Label &StoryScreen::slotLabel(Slot slot)
{
    switch (slot) {
    case Slot::Label2:
        return Label2;
    case Slot::Label3:
        return Label3;
    case Slot::Label4:
        return Label4;
    }
    Q_UNREACHABLE();
}

tess::Label &StoryScreen::mirrorLabel(Flag flag)
{
    switch (flag) {
    case Flag::b:
        return Label11;
    case Flag::c:
        return Label12;
    case Flag::bc:
        return Label13;
    }
    Q_UNREACHABLE();
}

void StoryScreen::draw(const StoryScreenState &state)
{
    // Only what differs is touched: each change reaches the screen readers.
    for (Slot slot : kAllSlots) {
        tess::Label &label = slotLabel(slot);
        if (label.text() != state.choice(slot).caption)
            label.setText(state.choice(slot).caption);
        if (label.isHidden() == state.choice(slot).shown)
            label.setVisible(state.choice(slot).shown);
    }
    for (Flag flag : kAllFlags) {
        if (mirrorLabel(flag).text() != state.mirror(flag))
            mirrorLabel(flag).setText(state.mirror(flag));
    }
    if (Label1.text() != state.pane)
        Label1.setText(state.pane);
    if (Text1.text() != state.codeBoxText)
        Text1.setText(state.codeBoxText);
    if (Text1.isHidden() == state.codeBoxShown)
        Text1.setVisible(state.codeBoxShown);
}

void StoryScreen::drawPane(const QString &text)
{
    Label1.setText(text);
}

void StoryScreen::extendPane(const QString &more)
{
    Label1.appendText(more);
}

void StoryScreen::hideStory()
{
    services().screens.Hide(tess::ScreenId::Engine);
}

void StoryScreen::showGameOver()
{
    services().screens.Show(tess::ScreenId::GameOver);
}

void StoryScreen::showConsole()
{
    services().screens.Show(tess::ScreenId::BLNC);
}

} // namespace story
