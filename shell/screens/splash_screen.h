#pragma once
#include "shell/toolkit/screen.h"

#include <QImage>
#include <QTimer>

namespace tess {

// `Main`: the studio's logo on white while the first music plays; after
// 6258 ms it gives way to the menu. Nothing on it can be clicked.
class SplashScreen final : public Screen {
public:
    static constexpr int kSplashMs = 6258;

    explicit SplashScreen(Services &services);

    void Form_Load() override;
    bool Form_QueryUnload(CloseReason reason) override;

    void Timer_Timer();

    QTimer Timer;
    // The logo is drawn by the screen itself: a child control shown with the
    // window would start the screen reader bridge before the window is up.
    QImage Image1;

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace tess
