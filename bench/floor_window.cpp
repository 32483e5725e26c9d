// The floors for the benchmarks: the least a Qt Widgets program does to put
// an 800×600 window on the screen; with the argument "label", a window the
// size of the story pane whose one label changes its text on every click.
#include "story/core/story_layout.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QWidget>

#include <cstring>

namespace {

class ClickedLabel final : public QLabel {
public:
    ClickedLabel()
    {
        setWordWrap(true);
        setAlignment(Qt::AlignLeft | Qt::AlignTop);
        setText(QString::fromUtf8(kTexts[0]));
    }

protected:
    void mouseReleaseEvent(QMouseEvent *) override { setText(QString::fromUtf8(kTexts[++shown_ % 2])); }

private:
    static constexpr const char *kTexts[2] = {
        "Вы стоите у входа в виртуальный ресторан. Музыка, свет, запах кофе.\n\nЗа столиком у окна сидит девушка.",
        "Дверь за вами закрывается. В зале никого, только экран над стойкой.\n\nНа экране мигает одно слово."};
    int shown_ = 0;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc > 1 && std::strcmp(argv[1], "label") == 0) {
        ClickedLabel label;
        // The story pane's size, beside where the game's window goes.
        const tess::layout::TwipsRect pane = story::kStoryLayout.at("Label1");
        label.setGeometry(900, 0, tess::layout::pixels(pane.width), tess::layout::pixels(pane.height));
        label.show();
        return app.exec();
    }
    QWidget window;
    window.resize(800, 600);
    window.show();
    return app.exec();
}
