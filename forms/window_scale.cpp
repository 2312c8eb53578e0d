#include "forms/window_scale.h"

#include "forms/window_kit.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace trelvane {

namespace {

// What the design was drawn for.
constexpr double kDesignDesktopPoints = 9.0;
// The largest client area of the program's windows: the input window's width and the
// results window's height.
constexpr double kLargestWidthTwips = 7545;
constexpr double kLargestHeightTwips = 5025;
// Room for the title bar and borders that the desktop adds around a window.
constexpr int kFrameWidth = 16;
constexpr int kFrameHeight = 56;

constexpr int kZoomStep = 25;
constexpr int kZoomMin = 100;
constexpr int kZoomMax = 300;

// Properties: the design of a window or control, the scale a window was last laid out at,
// and the zoom, which the outermost window of a family holds for all of them.
constexpr char kDesign[] = "trelvaneTwips";
constexpr char kDesignSize[] = "trelvaneTwipsSize";
constexpr char kSizable[] = "trelvaneSizable";
constexpr char kScale[] = "trelvaneScale";
constexpr char kZoom[] = "trelvaneZoom";
constexpr char kOwnZoom[] = "trelvaneOwnZoom";

double desktopPoints()
{
    const QFont desktop = QApplication::font();
    if (desktop.pointSizeF() > 0)
        return desktop.pointSizeF();
    const QScreen *screen = QGuiApplication::primaryScreen();
    return desktop.pixelSize() * 72.0 / (screen ? screen->logicalDotsPerInchY() : 96.0);
}

// How large the largest window may be drawn and still fit the screen with its frame.
double screenLimit(const QWidget &window)
{
    const QScreen *screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return kZoomMax / 100.0;
    const QRect area = screen->availableGeometry();
    return std::min((area.width() - kFrameWidth) * 15 / kLargestWidthTwips,
                    (area.height() - kFrameHeight) * 15 / kLargestHeightTwips);
}

QWidget *familyOwner(const QWidget &window)
{
    return outermostWindow(&window);
}

// The zoom of the windows of `window`'s family, in percent of the desktop-derived size.
int zoomPercent(const QWidget &window)
{
    const QVariant zoom = familyOwner(window)->property(kZoom);
    return zoom.isValid() ? zoom.toInt() : kZoomMin;
}

// How many times its design's size the window is drawn: the desktop font's size against
// 9 pt, times the zoom of the window's family, held to what fits the screen; a window is
// never made smaller than its design to fit, though.
double windowScale(const QWidget &window)
{
    const double wanted = desktopPoints() / kDesignDesktopPoints * zoomPercent(window) / 100.0;
    return std::min(wanted, std::max(screenLimit(window), 1.0));
}

// A place in the design, in twips, as pixels at the scale.
QRect toPixels(const QRect &twips, double scale)
{
    const auto pixels = [scale](int measure) { return int(std::lround(measure * scale / 15.0)); };
    return QRect(pixels(twips.x()), pixels(twips.y()), pixels(twips.width()),
                 pixels(twips.height()));
}

bool hasDesign(const QWidget &window)
{
    return window.property(kDesignSize).isValid();
}

// Draws an option button's circle as large as its window is drawn: the toolkit's style
// sizes it for the screen's resolution alone.
class ScaledIndicatorStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    int pixelMetric(PixelMetric metric, const QStyleOption *option,
                    const QWidget *widget) const override
    {
        const int base = QProxyStyle::pixelMetric(metric, option, widget);
        switch (metric) {
        case PM_ExclusiveIndicatorWidth:
        case PM_ExclusiveIndicatorHeight:
        case PM_RadioButtonLabelSpacing:
            if (widget)
                return int(std::lround(base * widget->window()->property(kScale).toDouble()));
            return base;
        default:
            return base;
        }
    }
};

// A label whose text wraps is never cut off below: it takes its text's height.
void fitWrappedText(QWidget *control)
{
    auto *label = qobject_cast<QLabel *>(control);
    if (label && label->wordWrap())
        label->resize(label->width(),
                      std::max(label->height(), label->heightForWidth(label->width())));
}

void setPlace(QWidget *control, const QRect &design, double scale)
{
    if (auto *button = qobject_cast<QPushButton *>(control))
        button->setFont(buttonFont(scale));
    control->setGeometry(toPixels(design, scale));
    fitWrappedText(control);
}

void setClientArea(QWidget *window, double scale)
{
    const QSize design = window->property(kDesignSize).toSize();
    const QSize size = toPixels(QRect(QPoint(), design), scale).size();
    if (window->property(kSizable).toBool())
        window->resize(size);
    else
        window->setFixedSize(size);
}

// Lays a window out anew at its family's current scale. A window on the screen keeps its
// centre where it was, as far as the screen allows; one about to show is placed by whoever
// shows it (a dialog centred over its owner).
enum class Place { KeepCentre, AsShown };
void layOut(QWidget *window, Place place = Place::KeepCentre)
{
    const QRect before = window->frameGeometry();
    if (!hasDesign(*window)) {
        // The help and the message boxes are drawn in the desktop's font, at the zoom.
        QFont zoomed;
        if (const int zoom = zoomPercent(*window); zoom != 100) {
            zoomed = QApplication::font();
            zoomed.setPointSizeF(desktopPoints() * zoom / 100.0);
        }
        window->setFont(zoomed);
        return;
    }
    const double scale = windowScale(*window);
    window->setProperty(kScale, scale);
    window->setFont(windowFont(scale));
    setClientArea(window, scale);
    for (QWidget *control : window->findChildren<QWidget *>())
        if (control->window() == window && control->property(kDesign).isValid())
            setPlace(control, control->property(kDesign).toRect(), scale);
    if (!window->isVisible() || place == Place::AsShown)
        return;
    QRect after = window->frameGeometry();
    after.moveCenter(before.center());
    if (const QScreen *screen = window->screen()) {
        const QRect area = screen->availableGeometry();
        after.moveLeft(std::clamp(after.left(), area.left(),
                                  std::max(area.left(), area.right() + 1 - after.width())));
        after.moveTop(std::clamp(after.top(), area.top(),
                                 std::max(area.top(), area.bottom() + 1 - after.height())));
    }
    window->move(after.topLeft());
}

void layOutFamily(const QWidget *owner)
{
    for (QWidget *window : QApplication::topLevelWidgets())
        if (!owner || familyOwner(*window) == owner)
            if (window->windowType() != Qt::ToolTip)
                layOut(window);
}

// Sees every window's keys and showing, and the application's font changing.
class WindowScaling : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // The desktop's font changed: the application hears of it first.
        if (event->type() == QEvent::ApplicationFontChange && watched == qApp) {
            layOutFamily(nullptr);
            return false;
        }
        if (!watched->isWidgetType())
            return false;
        auto *widget = static_cast<QWidget *>(watched);
        if (event->type() == QEvent::Show && widget->isWindow()
            && widget->windowType() != Qt::ToolTip) {
            // A window made before the zoom last changed, or one without a design.
            if (!hasDesign(*widget)
                || widget->property(kScale).toDouble() != windowScale(*widget))
                layOut(widget, Place::AsShown);
            return false;
        }
        if (event->type() != QEvent::KeyPress)
            return false;
        const std::optional<int> step = zoomStep(*static_cast<QKeyEvent *>(event));
        if (!step || widget->window()->property(kOwnZoom).toBool())
            return false;
        zoom(*widget->window(), *step);
        return true;
    }

private:
    static void zoom(const QWidget &window, int step)
    {
        QWidget *owner = familyOwner(window);
        const int was = zoomPercent(window);
        const double scaleWas = windowScale(window);
        int wanted = step == 0 ? kZoomMin : std::clamp(was + step, kZoomMin, kZoomMax);
        owner->setProperty(kZoom, wanted);
        // Zoomed beyond what the screen shows (the desktop's font grew since), a step out
        // goes on to the first size that is smaller.
        while (step < 0 && wanted > kZoomMin && windowScale(window) == scaleWas) {
            wanted = std::max(wanted + step, kZoomMin);
            owner->setProperty(kZoom, wanted);
        }
        // Past the ends, or as large as the screen allows: nothing to do but say so.
        if (wanted == was || (step > 0 && windowScale(window) == scaleWas)) {
            owner->setProperty(kZoom, was);
            systemBeep();
            return;
        }
        layOutFamily(owner);
    }
};

} // namespace

QFont windowFont(double scale)
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(8.25 * scale);
    return font;
}

QFont buttonFont(double scale)
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(9.75 * scale);
    font.setBold(true);
    return font;
}

WindowDesign::WindowDesign(QWidget *window, int width, int height, Border border)
{
    const double scale = windowScale(*window);
    window->setProperty(kDesignSize, QSize(width, height));
    window->setProperty(kSizable, border == Border::Sizable);
    window->setProperty(kScale, scale);
    window->setFont(windowFont(scale));
    setClientArea(window, scale);
}

void place(QWidget *control, const QString &name, const Twips &design)
{
    const QRect twips(design.left, design.top, design.width, design.height);
    control->setObjectName(name);
    if (qobject_cast<QRadioButton *>(control))
        control->setStyle(sharedStyle<ScaledIndicatorStyle>());
    control->setProperty(kDesign, twips);
    setPlace(control, twips, control->window()->property(kScale).toDouble());
}

std::optional<int> zoomStep(const QKeyEvent &key)
{
    const Qt::KeyboardModifiers held =
        key.modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier);
    if (held != Qt::ControlModifier)
        return std::nullopt;
    switch (key.key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        return kZoomStep;
    case Qt::Key_Minus:
        return -kZoomStep;
    case Qt::Key_0:
        return 0;
    default:
        return std::nullopt;
    }
}

void zoomsItself(QWidget *window)
{
    window->setProperty(kOwnZoom, true);
}

void installWindowScaling()
{
    installApplicationFilter<WindowScaling>();
}

} // namespace trelvane
