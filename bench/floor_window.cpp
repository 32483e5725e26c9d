// The floor for the start-up benchmark: the least a Qt Widgets program does
// to put an 800×600 window on the screen.
#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(800, 600);
    window.show();
    return app.exec();
}
