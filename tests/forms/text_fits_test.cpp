// Every caption, title and option text fits the control that shows it, so nothing is cut
// off, at the desktop's font sizes and the zoom, whose sizes the windows take: run once at
// 96 dpi and once with QT_SCALE_FACTOR=2. The results window's verdict labels are left
// out: they shorten a text that is too wide on purpose.
#include "analysis/session_state.h"
#include "forms/frm_answers.h"
#include "forms/frm_get_road.h"
#include "forms/frm_input.h"
#include "forms/result_label.h"
#include "forms/window_scale.h"

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
    void initTestCase()
    {
        // The test's screen holds every size below whole: 2000 x 1500 at any scale factor.
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY2(screen.width() >= 2000 && screen.height() >= 1500,
                 qPrintable(QString("the screen is %1 x %2").arg(screen.width()).arg(screen.height())));
        installWindowScaling();
    }

    void cleanup() { QApplication::setFont(QFont("Sans Serif", 9)); }

    void nothingIsClipped_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<int>("points");
        QTest::addColumn<QString>("zoomKeys"); // Ctrl with each: +, - or 0
        QTest::addColumn<bool>("fontChangesWhileOpen");
        QTest::addColumn<QSize>("size"); // empty: as large as the screen allows
        const struct {
            const char *name;
            const char *window;
            QSize size9, size12, size16, size9At200;
        } windows[] = {
            {"input window", "input", {503, 273}, {671, 364}, {894, 485}, {1006, 546}},
            {"results window with the printing message and the warning", "results",
             {385, 335}, {513, 447}, {684, 596}, {770, 670}},
            {"name prompt", "prompt", {273, 94}, {364, 125}, {485, 167}, {546, 188}},
        };
        for (const auto &w : windows) {
            QTest::addRow("%s, desktop font 9 pt", w.name) << w.window << 9 << "" << false << w.size9;
            QTest::addRow("%s, 12 pt", w.name) << w.window << 12 << "" << false << w.size12;
            QTest::addRow("%s, 16 pt", w.name) << w.window << 16 << "" << false << w.size16;
            QTest::addRow("%s, 9 pt zoomed to 200 %%", w.name)
                << w.window << 9 << "++++" << false << w.size9At200;
            QTest::addRow("%s, the desktop font changed to 16 pt while open", w.name)
                << w.window << 16 << "" << true << w.size16;
        }
        QTest::newRow("input window, zoomed in twice, out once: 125 %")
            << "input" << 9 << "++-" << false << QSize(629, 341);
        QTest::newRow("results window, zoomed in and back with Ctrl+0")
            << "results" << 9 << "+++0" << false << QSize(385, 335);
        QTest::newRow("input window, 16 pt at 300 %: no larger than the screen")
            << "input" << 16 << "++++++++" << false << QSize();
        QTest::newRow("results window, 16 pt at 300 %: no larger than the screen")
            << "results" << 16 << "++++++++" << false << QSize();
    }

    void nothingIsClipped()
    {
        QFETCH(QString, window);
        QFETCH(int, points);
        QFETCH(QString, zoomKeys);
        QFETCH(bool, fontChangesWhileOpen);
        QFETCH(QSize, size);
        QApplication::setFont(QFont("DejaVu Sans", fontChangesWhileOpen ? 9 : points));
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
        for (QChar key : zoomKeys)
            QTest::keyClick(checked, key == '+' ? Qt::Key_Plus : key == '-' ? Qt::Key_Minus : Qt::Key_0,
                            Qt::ControlModifier);
        if (fontChangesWhileOpen)
            QApplication::setFont(QFont("DejaVu Sans", points));
        if (size.isValid()) {
            QTRY_COMPARE(checked->size(), size);
        } else {
            const QRect screen = checked->screen()->availableGeometry();
            QVERIFY2(screen.contains(checked->frameGeometry()),
                     qPrintable(QString("%1 x %2").arg(checked->width()).arg(checked->height())));
            QVERIFY(checked->width() > 1006);
        }
        const QStringList clipped = clippedIn(checked);
        QVERIFY2(clipped.isEmpty(), qPrintable(QString("at device-pixel ratio %1: %2")
                                                   .arg(checked->devicePixelRatioF())
                                                   .arg(clipped.join("; "))));
    }
};

QTEST_MAIN(TextFitsTest)
#include "text_fits_test.moc"
