#include "story/ui/story_screen.h"

#include "shell/core/text_loader.h"
#include "shell/accessibility/accessibility.h"
#include "shell/accessibility/exposure.h"
#include "shell/desktop/quit_procedure.h"
#include "shell/toolkit/screens.h"
#include "shell/accessibility/spoken_cue.h"
#include "story/ui/console_key.h"
#include "story/ui/story_pane.h"

#include <QKeyEvent>

namespace story {

using tess::twipsRect;

const QColor StoryScreen::kNormalColour(0, 170, 164);
const QColor StoryScreen::kHighlightColour(5, 253, 244);

StoryScreen::StoryScreen(tess::Services &services, const ChoiceTables &tables)
    : Screen(services, tess::ScreenId::Engine, {12000, 8970}, QStringLiteral(":/pictures/engine.bmp")),
      Text1(this, twipsRect(7800, 7560, 3015, 285), 0x00404040, 0x00C0C000),
      Label13(this, twipsRect(5640, 3960, 495, 375)),
      Label12(this, twipsRect(4920, 3960, 495, 375)),
      Label11(this, twipsRect(4920, 3480, 495, 375)),
      Label4(this, twipsRect(7080, 8520, 4455, 255), Qt::AlignHCenter),
      Label3(this, twipsRect(7080, 8040, 4455, 255), Qt::AlignHCenter),
      Label2(this, twipsRect(7080, 7560, 4455, 255), Qt::AlignHCenter),
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
        if (isShown(slot))
            shown << &slotLabel(slot);
    for (qsizetype i = 0; i < shown.size(); ++i)
        shown[i]->setAccessibleDescription(QStringLiteral("%1 из %2").arg(i + 1).arg(shown.size()));
}

template <typename Turn>
bool StoryScreen::playTurn(Turn &&turn)
{
    // What the player faces; a turn that changes any of it is read anew.
    const auto facing = [this] {
        QStringList state{Label1.text()};
        for (Slot slot : {Slot::Label2, Slot::Label3, Slot::Label4})
            state << (isShown(slot) ? caption(slot) : QString());
        return state;
    };
    const QStringList before = facing();
    turn();
    if (!isVisible())
        return true;
    if (facing() == before)
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
    playTurn([this] { engine_.click(Slot::Label2); });
}

void StoryScreen::Label3_Click()
{
    // The code box's choice shows nothing when the password fits no rule.
    if (!playTurn([this] { engine_.click(Slot::Label3); }) && isPasswordBoxShown())
        tess::speakCue(*this, QStringLiteral("Пароль не подошёл"));
}

void StoryScreen::Label4_Click()
{
    playTurn([this] { engine_.click(Slot::Label4); });
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
        playTurn([this] { engine_.press(StoryKey::F8); });
    else if (isConsoleKey(event))
        engine_.press(StoryKey::ConsoleKey);
}

tess::Label &StoryScreen::slotLabel(Slot slot)
{
    return const_cast<tess::Label &>(std::as_const(*this).slotLabel(slot));
}

const tess::Label &StoryScreen::slotLabel(Slot slot) const
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
    return const_cast<tess::Label &>(std::as_const(*this).mirrorLabel(flag));
}

const tess::Label &StoryScreen::mirrorLabel(Flag flag) const
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

QString StoryScreen::caption(Slot slot) const
{
    return slotLabel(slot).text();
}

void StoryScreen::setCaption(Slot slot, const QString &caption)
{
    slotLabel(slot).setText(caption);
}

bool StoryScreen::isShown(Slot slot) const
{
    return !slotLabel(slot).isHidden();
}

void StoryScreen::setShown(Slot slot, bool shown)
{
    slotLabel(slot).setVisible(shown);
}

tess::TextTarget &StoryScreen::pane()
{
    return Label1;
}

QString StoryScreen::mirror(Flag flag) const
{
    return mirrorLabel(flag).text();
}

void StoryScreen::setMirror(Flag flag, const QString &value)
{
    mirrorLabel(flag).setText(value);
}

QString StoryScreen::password() const
{
    return Text1.text();
}

bool StoryScreen::isPasswordBoxShown() const
{
    return !Text1.isHidden();
}

void StoryScreen::showPasswordBox()
{
    Text1.show();
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
