#include "forms/window_kit.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTextDocument>

namespace trelvane {

QFont windowFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(8.25);
    return font;
}

QFont buttonFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(9.75);
    font.setBold(true);
    return font;
}

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

QGroupBox *makeFrame(const QString &name, const QString &title, const QRect &geometry,
                     QWidget *parent)
{
    return placed(new QGroupBox(title, parent), name, geometry);
}

QLabel *makeLabel(const QString &name, const QString &caption, const QRect &geometry,
                  QWidget *parent)
{
    return placed(new QLabel(caption, parent), name, geometry);
}

QPushButton *makeButton(const QString &name, const QString &caption, const QString &tip,
                        const QRect &geometry, QWidget *parent)
{
    auto *push = placed(new QPushButton(caption, parent), name, geometry);
    push->setFont(buttonFont());
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
