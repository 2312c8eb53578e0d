// The icon that every window carries: a real picture at each size a title bar or task
// switcher asks for, the same in all three windows, and named after the installed icon.
#include "analysis/session_state.h"
#include "forms/frm_answers.h"
#include "forms/frm_get_road.h"
#include "forms/frm_input.h"
#include "forms/window_kit.h"

#include <QGuiApplication>
#include <QImage>
#include <QTest>

using namespace trelvane;

class AppIconTest : public QObject {
    Q_OBJECT
private slots:
    void drawnAtEverySize_data()
    {
        QTest::addColumn<int>("size");
        QTest::newRow("16 px, title bar") << 16;
        QTest::newRow("32 px, task switcher") << 32;
        QTest::newRow("48 px, large task switcher") << 48;
    }

    void drawnAtEverySize()
    {
        QFETCH(int, size);
        QVERIFY(trelvaneIcon().availableSizes().contains(QSize(size, size)));
        const QImage image = trelvaneIcon().pixmap(QSize(size, size), 1.0).toImage();
        QCOMPARE(image.size(), QSize(size, size));
        // A missing picture would still give an icon object, but an empty one: count the
        // pixels that show the car, and make sure the corners stay see-through.
        int opaque = 0;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                opaque += qAlpha(image.pixel(x, y)) > 128 ? 1 : 0;
        QVERIFY2(opaque > size * size / 4, qPrintable(QString::number(opaque)));
        QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
    }

    void sameIconOnEveryWindow()
    {
        stdGeneral session;
        frmInput input(session);
        frmAnswers answers(session, &input);
        frmGetRoad prompt(session, &answers);
        const qint64 key = trelvaneIcon().cacheKey();
        QCOMPARE(input.windowIcon().cacheKey(), key);
        QCOMPARE(answers.windowIcon().cacheKey(), key);
        QCOMPARE(prompt.windowIcon().cacheKey(), key);
    }

    // The desktop finds the installed entry, and with it the icon, by this name.
    void startUpNamesTheDesktopEntry()
    {
        stdGeneral session;
        Main(session);
        QCOMPARE(QGuiApplication::desktopFileName(), QString("io.github.trelvane.Trelvane"));
        for (QWidget *window : QApplication::topLevelWidgets())
            delete qobject_cast<frmInput *>(window);
    }
};

QTEST_MAIN(AppIconTest)
#include "app_icon_test.moc"
