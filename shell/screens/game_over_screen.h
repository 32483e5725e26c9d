#pragma once
#include "shell/toolkit/screen.h"

namespace tess {

// `GameOver`: the end of the story. Closing it resets the story and quits.
class GameOverScreen final : public Screen {
public:
    explicit GameOverScreen(Services &services);

    void Form_Load() override;
    bool Form_QueryUnload(CloseReason reason) override;
};

} // namespace tess
