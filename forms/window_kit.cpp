#include "forms/window_kit.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTextDocument>

#include <algorithm>
#include <cmath>

namespace trelvane {

QIcon trelvaneIcon()
{
    // The pictures are rendered at build time from the desktop icon's SVG, so the windows,
    // the desktop entry and the package all show the same car.
    static const QIcon icon = [] {
        QIcon built;
        for (int size : {16, 32, 48})
            built.addFile(QString(":/icons/%1/trelvane.png").arg(size), QSize(size, size));
        return built;
    }();
    return icon;
}

QWidget *outermostWindow(const QWidget *window)
{
    QWidget *owner = window->window();
    while (QWidget *up = owner->parentWidget())
        owner = up->window();
    return owner;
}

QGroupBox *makeFrame(const QString &name, const QString &title, const Twips &design,
                     QWidget *parent)
{
    return placed(new QGroupBox(title, parent), name, design);
}

QLabel *makeLabel(const QString &name, const QString &caption, const Twips &design,
                  QWidget *parent, Wrap wrap)
{
    auto *label = new QLabel(caption, parent);
    label->setWordWrap(wrap == Wrap::AtWords);
    return placed(label, name, design);
}

QPushButton *makeButton(const QString &name, const QString &caption, const QString &tip,
                        const Twips &design, QWidget *parent)
{
    auto *push = placed(new QPushButton(caption, parent), name, design);
    push->setToolTip(tip);
    return push;
}

namespace {

constexpr char kNotice[] = "trelvaneNotice";

// A label as a screen reader should have it. Qt's own reads a blank label as the title of
// the frame it stands in, and has no notion of a notice.
class LabelAccessible : public QAccessibleWidget {
public:
    explicit LabelAccessible(QLabel *label) : QAccessibleWidget(label, QAccessible::StaticText) {}

    QAccessible::Role role() const override
    {
        return label()->property(kNotice).toBool() ? QAccessible::Notification
                                                   : QAccessible::StaticText;
    }

    QString text(QAccessible::Text kind) const override
    {
        if (kind != QAccessible::Name)
            return QAccessibleWidget::text(kind);
        if (!label()->accessibleName().isEmpty())
            return label()->accessibleName();
        QString shown = label()->text();
        if (label()->textFormat() == Qt::RichText
            || (label()->textFormat() == Qt::AutoText && Qt::mightBeRichText(shown))) {
            QTextDocument document;
            document.setHtml(shown);
            shown = document.toPlainText();
        }
        return shown.trimmed().isEmpty() ? QString() : shown;
    }

    QList<QPair<QAccessibleInterface *, QAccessible::Relation>>
    relations(QAccessible::Relation match) const override
    {
        auto related = QAccessibleWidget::relations(match);
        // Qt has every control in a titled frame labelled by the frame. A label reads its
        // own text, and screen readers leave a labelled label out when they read a window.
        related.removeIf([this](const auto &relation) {
            return relation.second == QAccessible::Label && relation.first
                   && relation.first->object() == label()->parentWidget();
        });
        if ((match & QAccessible::Labelled) && label()->buddy())
            if (QAccessibleInterface *box = QAccessible::queryAccessibleInterface(label()->buddy()))
                related.append({box, QAccessible::Labelled});
        return related;
    }

private:
    QLabel *label() const { return static_cast<QLabel *>(widget()); }
};

QAccessibleInterface *programAccessibility(const QString &className, QObject *object)
{
    if (className == QLatin1String("QLabel"))
        return new LabelAccessible(static_cast<QLabel *>(object));
    // A plain top-level widget would read as a "filler", which screen readers skip over.
    if (className == QLatin1String("QWidget") && static_cast<QWidget *>(object)->isWindow())
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Window);
    return nullptr;
}

std::function<void()> &beepHandler()
{
    static std::function<void()> handler;
    return handler;
}
} // namespace

void installAccessibility()
{
    static bool installed = false;
    if (!installed)
        QAccessible::installFactory(programAccessibility);
    installed = true;
}

void markAsNotice(QLabel *label)
{
    label->setProperty(kNotice, true);
}

namespace {

double relativeLuminance(const QColor &colour)
{
    const auto linear = [](double channel) {
        return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF())
           + 0.0722 * linear(colour.blueF());
}

} // namespace

double contrastRatio(const QColor &a, const QColor &b)
{
    const double first = relativeLuminance(a);
    const double second = relativeLuminance(b);
    return (std::max(first, second) + 0.05) / (std::min(first, second) + 0.05);
}

QPalette warningColours(const QPalette &scheme)
{
    constexpr double kReadable = 4.5;
    const bool dark = relativeLuminance(scheme.color(QPalette::Window))
                      < relativeLuminance(scheme.color(QPalette::WindowText));
    const QColor background = dark ? QColor(96, 0, 0) : QColor(192, 192, 192);
    // From the design's pure red towards black, or towards white on a dark background.
    QColor text(255, 0, 0);
    for (int lightness = text.lightness();
         contrastRatio(text, background) < kReadable && lightness > 0 && lightness < 255;) {
        lightness = std::clamp(lightness + (dark ? 5 : -5), 0, 255);
        text = QColor::fromHsl(0, 255, lightness);
    }
    // Only these two: the rest follows the window's scheme.
    QPalette colours;
    colours.setColor(QPalette::WindowText, text);
    colours.setColor(QPalette::Window, background);
    return colours;
}

void systemBeep()
{
    if (beepHandler())
        beepHandler()();
    else
        QApplication::beep();
}

void setBeepHandler(std::function<void()> handler)
{
    beepHandler() = std::move(handler);
}

bool blockedByModalWindow(const QWidget &control)
{
    const QWidget *modal = QApplication::activeModalWidget();
    return modal && modal != control.window();
}

} // namespace trelvane
