#pragma once
#include "shell/toolkit/controls.h"
#include "shell/toolkit/screen.h"

namespace tess {

// `About`: the game, its authors and how to play, in a scrolling box.
class AboutScreen final : public Screen {
public:
    explicit AboutScreen(Services &services);

    void Form_Load() override;
    bool Form_QueryUnload(CloseReason reason) override;

    void Label2_Click();  // Назад

    MemoBox Text1;
    Label Label2;
    Label Label1;  // over the banner; answers nothing
protected:
    QList<QWidget *> keyboardOrder() override;
};

} // namespace tess
