#include "console/ui/console_screen.h"

#include "console/core/console_layout.h"
#include "shell/core/input_gate.h"
#include "shell/core/text_lines.h"
#include "shell/toolkit/keyboard_play.h"
#include "shell/desktop/quit_procedure.h"
#include "shell/accessibility/spoken_cue.h"

#include <QTimer>

namespace console {

using tess::pixelRect;

ConsoleScreen::ConsoleScreen(tess::Services &services)
    : Screen(services, tess::ScreenId::BLNC, tess::twipsSize(kConsoleLayout.client), QStringLiteral(":/pictures/console.gif"),
             QStringLiteral("Миры \"Tessaranium\": консоль управления AI Zuvodu LNC")),
      Text(this, pixelRect(kConsoleLayout.at("Text")), 0x00404040, 0x00808000),
      Image4(this, pixelRect(kConsoleLayout.at("Image4")), QStringLiteral(":/pictures/photo_stranger.gif")),
      Image3(this, pixelRect(kConsoleLayout.at("Image3")), QStringLiteral(":/pictures/photo_portrait.gif")),
      Image2(this, pixelRect(kConsoleLayout.at("Image2")), QStringLiteral(":/pictures/photo_time.gif")),
      Label1(this, pixelRect(kConsoleLayout.at("Label1"))),
      Label3(this, pixelRect(kConsoleLayout.at("Label3"))),
      Image1(this, pixelRect(kConsoleLayout.at("Image1")), QStringLiteral(":/pictures/photo_universe.gif")),
      Texcon(this, pixelRect(kConsoleLayout.at("Texcon"))),
      Con(this, pixelRect(kConsoleLayout.at("Con"))),
      engine_(*this, static_cast<tess::ProcessControl &>(*this))
{
    Text.setFont(tess::layoutFont(QStringLiteral("MS Sans Serif"), 12));
    Text.setFocusPolicy(Qt::ClickFocus);
    for (tess::Picture *photo : {&Image1, &Image2, &Image3, &Image4})
        photo->hide();
    Texcon.setForeground(tess::layoutColor(0x8000000D));
    Con.setForeground(tess::layoutColor(0x00808080));
    Con.setText(kPrompt.toString());
    // The panes answer no click, so the buttons under their edges stay whole.
    Texcon.setAttribute(Qt::WA_TransparentForMouseEvents);
    Con.setAttribute(Qt::WA_TransparentForMouseEvents);

    // The buttons are drawn in the picture; screen readers need them named.
    Label3.setAccessibleName(QStringLiteral("Выполнить"));
    Label1.setAccessibleName(QStringLiteral("Очистить"));
    Text.setAccessibleName(QStringLiteral("Команда"));
    // Their text names them; the description says which pane is read.
    Con.setAccessibleDescription(QStringLiteral("Журнал консоли"));
    Texcon.setAccessibleDescription(QStringLiteral("Комментарий к файлу"));
    setAccessibleDescription(QStringLiteral(
        "Наберите команду в строке «Команда», затем Tab и Enter на «Выполнить»: ответ будет прочитан. "
        "Команда help перечисляет команды. Дальше по Tab — журнал и комментарий. "
        "Закрытие окна завершает игру."));
    Image1.setAccessibleName(QStringLiteral("Набросок от руки на бумаге в клетку"));
    Image2.setAccessibleName(QStringLiteral("Уравнение, написанное от руки на бумаге в клетку"));
    Image3.setAccessibleName(QStringLiteral("Маленькая фотография: портрет"));
    Image4.setAccessibleName(QStringLiteral("Размытая фотография: портрет"));
    connect(&Label3, &tess::Label::clicked, this, [this] { handle([this] { Label3_Click(); }); });
    connect(&Label1, &tess::Label::clicked, this, [this] { handle([this] { Label1_Click(); }); });
}

bool ConsoleScreen::Form_QueryUnload(tess::CloseReason)
{
    services().quit.QuitProgram(true);
    return true;
}

void ConsoleScreen::Label3_Click()
{
    const std::optional<ConsoleAnswer> answer = engine_.execute(Text.text());
    if (!tess::assistiveTechnologyActive())
        return;
    if (exitStatus_) {
        speakLastWords(spoken(answer));
        return;
    }
    // The answer is read with the command line, where the typing goes on.
    Text.setAccessibleDescription(spoken(answer));
    tess::focusAnew(Text);
}

QString ConsoleScreen::spoken(const std::optional<ConsoleAnswer> &answer)
{
    // Only what this command added: an unknown one changes nothing on the
    // screen, and the comment pane may still hold an earlier answer.
    if (!answer)
        return QStringLiteral("Неизвестная команда");
    QString said = tess::normalizeLineBreaks(answer->block).trimmed();
    if (!answer->comment.isEmpty())
        said += u'\n' + tess::normalizeLineBreaks(answer->comment);
    return said;
}

void ConsoleScreen::Label1_Click()
{
    engine_.clear();
    tess::speakCue(*this, QStringLiteral("Журнал очищен"));
}

void ConsoleScreen::endProgram(int exitStatus)
{
    if (tess::assistiveTechnologyActive())
        exitStatus_ = exitStatus;  // ends once the answer has been spoken
    else
        services().process.endProgram(exitStatus);
}

void ConsoleScreen::speakLastWords(const QString &answer)
{
    tess::speakCue(*this, answer);
    // Nothing more is taken from the player: the game ends once the words
    // have had time to be spoken at a screen reader's usual pace.
    services().gate.holdInput();
    const int pauseMs = 1500 + 90 * int(answer.size());
    QTimer::singleShot(pauseMs, this, [this] { services().process.endProgram(*exitStatus_); });
}

QString ConsoleScreen::log() const
{
    return Con.text();
}

void ConsoleScreen::setLog(const QString &log)
{
    Con.setText(log);
}

void ConsoleScreen::setComment(const QString &comment)
{
    Texcon.setText(comment);
}

void ConsoleScreen::setPhotoShown(Photo photo, bool shown)
{
    switch (photo) {
    case Photo::None:
        break;
    case Photo::Image1:
        Image1.setVisible(shown);
        break;
    case Photo::Image2:
        Image2.setVisible(shown);
        break;
    case Photo::Image3:
        Image3.setVisible(shown);
        break;
    case Photo::Image4:
        Image4.setVisible(shown);
        break;
    }
}

QList<QWidget *> ConsoleScreen::keyboardOrder()
{
    // The two panes last: the log and the comment, to be read again.
    return {&Text, &Label3, &Label1, &Con, &Texcon};
}

void ConsoleScreen::showEvent(QShowEvent *event)
{
    Screen::showEvent(event);
    // The command line is the only thing to type into.
    Text.setFocus();
}

} // namespace console
