// A yardstick for the program's start-up: an empty Qt window of the input window's size,
// shown, then closed once it has been drawn.
#include "quit_when_painted.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(503, 273);
    new QuitWhenPainted(&window);
    window.show();
    return app.exec();
}
