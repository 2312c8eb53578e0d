// Every caption, title and option text fits the control that shows it, so nothing is cut
// off: run once at 96 dpi and once with QT_SCALE_FACTOR=2. The results window's verdict
// labels are left out: they shorten a text that is too wide on purpose.
#include "analysis/session_state.h"
#include "forms/frm_answers.h"
#include "forms/frm_get_road.h"
#include "forms/frm_input.h"
#include "forms/result_label.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOption>
#include <QTest>

#include <memory>

using namespace trelvane;

namespace {

// Why a control's text does not fit it, or nothing when it fits.
QString clipping(QWidget *widget)
{
    const QFontMetrics metrics = widget->fontMetrics();
    const QString name = widget->objectName().isEmpty() ? widget->metaObject()->className()
                                                        : widget->objectName();
    if (qobject_cast<ResultLabel *>(widget))
        return {};
    if (auto *label = qobject_cast<QLabel *>(widget)) {
        if (label->text().trimmed().isEmpty() || !label->isVisibleTo(label->window()))
            return {};
        const QRect area = label->contentsRect();
        if (label->wordWrap()) {
            const int needed = label->heightForWidth(label->width());
            if (needed > label->height())
                return QString("%1 needs %2 px of height, has %3").arg(name).arg(needed).arg(label->height());
            return {};
        }
        const int width = metrics.horizontalAdvance(label->text());
        if (width > area.width() || metrics.height() > area.height())
            return QString("%1 needs %2x%3, has %4x%5")
                .arg(name).arg(width).arg(metrics.height()).arg(area.width()).arg(area.height());
        return {};
    }
    if (auto *option = qobject_cast<QRadioButton *>(widget)) {
        // The text has what the style leaves beside the indicator.
        QStyleOptionButton style;
        style.initFrom(option);
        const QRect area = option->style()->subElementRect(QStyle::SE_RadioButtonContents,
                                                           &style, option);
        const int width = metrics.horizontalAdvance(option->text());
        if (width > area.width() || metrics.height() > area.height())
            return QString("%1 needs %2x%3 beside its indicator, has %4x%5")
                .arg(name).arg(width).arg(metrics.height()).arg(area.width()).arg(area.height());
        return {};
    }
    if (auto *button = qobject_cast<QPushButton *>(widget)) {
        const int width = metrics.horizontalAdvance(button->text());
        if (width > button->width() || metrics.height() > button->height())
            return QString("%1 needs %2x%3, has %4x%5")
                .arg(name).arg(width).arg(metrics.height()).arg(button->width()).arg(button->height());
        return {};
    }
    if (auto *frame = qobject_cast<QGroupBox *>(widget)) {
        const int width = metrics.horizontalAdvance(frame->title());
        if (width > frame->width())
            return QString("%1's title needs %2 px, has %3").arg(name).arg(width).arg(frame->width());
    }
    return {};
}

QStringList clippedIn(QWidget *window)
{
    QStringList clipped;
    for (QWidget *widget : window->findChildren<QWidget *>())
        if (const QString why = clipping(widget); !why.isEmpty())
            clipped << why;
    return clipped;
}

} // namespace

class TextFitsTest : public QObject {
    Q_OBJECT
private slots:
    void nothingIsClipped_data()
    {
        QTest::addColumn<QString>("window");
        QTest::newRow("input window") << "input";
        QTest::newRow("results window with the printing message and the warning") << "results";
        QTest::newRow("name prompt") << "prompt";
    }

    void nothingIsClipped()
    {
        QFETCH(QString, window);
        stdGeneral session;
        frmInput input(session);
        input.show();
        QVERIFY(QTest::qWaitForWindowExposed(&input));
        std::unique_ptr<QWidget> shown;
        if (window == "results") {
            auto answers = std::make_unique<frmAnswers>(session, &input);
            answers->lblWarn->show();
            answers->lblMessage->show();
            shown = std::move(answers);
        } else if (window == "prompt") {
            shown = std::make_unique<frmGetRoad>(session, &input);
        }
        QWidget *checked = shown ? shown.get() : &input;
        checked->show();
        QVERIFY(QTest::qWaitForWindowExposed(checked));
        const QStringList clipped = clippedIn(checked);
        QVERIFY2(clipped.isEmpty(), qPrintable(QString("at device-pixel ratio %1: %2")
                                                   .arg(checked->devicePixelRatioF())
                                                   .arg(clipped.join("; "))));
    }
};

QTEST_MAIN(TextFitsTest)
#include "text_fits_test.moc"
