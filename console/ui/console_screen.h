#pragma once
#include "console/core/console_engine.h"
#include "shell/core/process_control.h"
#include "shell/toolkit/controls.h"
#include "shell/toolkit/screen.h"

#include <optional>

namespace console {

// `BLNC`: the research centre's console. The execute button runs the command
// line, the red button clears the log; closing the window ends the game.
// With a screen reader each answer is spoken once as the focus comes back to
// the command line, and so is an unknown command; a cleared log and the exit
// command's answer are spoken where the focus is, the exit's before the game ends.
class ConsoleScreen final : public tess::Screen, public ConsoleView, private tess::ProcessControl {
public:
    explicit ConsoleScreen(tess::Services &services);

    bool Form_QueryUnload(tess::CloseReason reason) override;

    void Label3_Click();  // execute
    void Label1_Click();  // clear

    // What the output pane shows.
    QString log() const;

    // ConsoleView
    void setLog(const QString &log) override;
    void setComment(const QString &comment) override;
    void setPhotoShown(Photo photo, bool shown) override;

    // Controls, in the order the screen creates them.
    tess::LineBox Text;
    tess::Picture Image4;
    tess::Picture Image3;
    tess::Picture Image2;
    tess::Label Label1;
    tess::Label Label3;
    tess::Picture Image1;
    tess::Label Texcon;
    tess::Label Con;

protected:
    void showEvent(QShowEvent *event) override;
    QList<QWidget *> keyboardOrder() override;

private:
    // The exit command's end: at once, or with a screen reader once its
    // answer has been spoken (speakLastWords).
    void endProgram(int exitStatus) override;
    void speakLastWords(const QString &answer);
    static QString spoken(const std::optional<ConsoleAnswer> &answer);

    ConsoleEngine engine_;
    std::optional<int> exitStatus_;
};

} // namespace console
