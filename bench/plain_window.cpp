// The floor for the program's start-up: a plain Qt window with the input window's captions
// and controls, in its fonts and places, built in one function with nothing of the
// program behind it, shown, then closed once it has been drawn. Any window with this much
// text pays what this one does.
#include "quit_when_painted.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QWidget>

namespace {

QRect at(int left, int top, int width, int height)
{
    const auto px = [](int twips) { return (twips + 7) / 15; };
    return QRect(px(left), px(top), px(width), px(height));
}

template <class Control>
Control *put(Control *control, const QRect &place)
{
    control->setGeometry(place);
    return control;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(8.25);
    window.setFont(font);
    window.setWindowTitle(QStringLiteral("Trelvane   v1.2.0"));
    window.setFixedSize(503, 273);

    auto *scale = put(new QGroupBox(QStringLiteral("Scale"), &window), at(240, 240, 975, 2652));
    const char *scales[] = {"Z", "N", "HO", "S", "O", "G"};
    for (int i = 0; i < 6; ++i)
        put(new QRadioButton(QString::fromLatin1(scales[i]), scale),
            at(240, 360 + 360 * i, i == 2 ? 625 : 492, 252))
            ->setChecked(i == 2);

    auto *track = put(new QGroupBox(QStringLiteral("Trackage"), &window),
                      at(1560, 240, 2415, 2655));
    put(new QLabel(QStringLiteral("Enter the total footage of track in each category (using "
                                  "actual feet):"),
                   track),
        at(240, 360, 1935, 615))
        ->setWordWrap(true);
    const char *boxes[] = {"Passing Track:", "Functional Track:", "Storage Track:"};
    for (int i = 0; i < 3; ++i) {
        put(new QLabel(QString::fromLatin1(boxes[i]), track), at(240, 1200 + 480 * i, 1335, 255));
        put(new QLineEdit(track), at(1560, 1200 + 480 * i, 615, 285));
    }

    auto *cars = put(new QGroupBox(QStringLiteral("Rolling Stock"), &window),
                     at(4320, 240, 2965, 2655));
    put(new QLabel(QStringLiteral("Enter quantity of each car length:"), cars),
        at(240, 360, 2535, 255));
    const int lengths[] = {34, 40, 50, 55, 60, 70, 80, 86};
    for (int i = 0; i < 8; ++i) {
        const int left = i < 4 ? 0 : 1440;
        const int top = 720 + 480 * (i % 4);
        put(new QLabel(QStringLiteral("%1'").arg(lengths[i]), cars), at(240 + left, top, 255, 255));
        put(new QLabel(QStringLiteral("0"), cars), at(600 + left, top, 495, 255));
        put(new QSpinBox(cars), at(1080 + left, top, 195, 255));
    }

    put(new QLabel(QStringLiteral("The analysis follows a published rule of thumb for "
                                  "estimating how many cars a model railroad can operate on "
                                  "the trackage it has. Use its figures as a guide for "
                                  "planning operating sessions."),
                   &window),
        at(240, 3000, 3975, 855))
        ->setWordWrap(true);
    QFont bold(QStringLiteral("Arial"));
    bold.setPointSizeF(9.75);
    bold.setBold(true);
    put(new QPushButton(QStringLiteral("Analyze"), &window), at(4320, 3480, 1400, 375))
        ->setFont(bold);
    put(new QPushButton(QStringLiteral("Exit"), &window), at(5880, 3480, 1400, 375))
        ->setFont(bold);
    put(new QLabel(QStringLiteral(" "), &window), at(0, 3840, 7575, 255));

    new QuitWhenPainted(&window);
    window.show();
    return app.exec();
}
