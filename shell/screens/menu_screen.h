#pragma once
#include "shell/toolkit/controls.h"
#include "shell/toolkit/screen.h"

namespace tess {

// `Game`: the main menu. Three click areas lie over the buttons of the
// picture: start, info and exit.
class MenuScreen final : public Screen {
public:
    explicit MenuScreen(Services &services);

    void Form_Load() override;
    bool Form_QueryUnload(CloseReason reason) override;

    void Label3_Click();  // Запуск
    void Label2_Click();  // Инфо
    void Label1_Click();  // Выход

    Label Label3;
    Label Label2;
    Label Label1;
protected:
    QList<QWidget *> keyboardOrder() override;
};

} // namespace tess
