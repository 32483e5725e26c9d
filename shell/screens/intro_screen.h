#pragma once
#include "shell/toolkit/controls.h"
#include "shell/toolkit/screen.h"

namespace tess {

// `IntoEngine`: the story's introduction and the button that starts it. Once
// left it stays hidden, never unloaded: closing it ends the game.
class IntroScreen final : public Screen {
public:
    explicit IntroScreen(Services &services);

    void Form_Load() override;
    bool Form_QueryUnload(CloseReason reason) override;

    void Label2_Click();  // Начать игру

    Label Label1;
    Label Label2;
protected:
    QList<QWidget *> keyboardOrder() override;
};

} // namespace tess
