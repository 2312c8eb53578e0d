// The whole road of the program with the keyboard alone, every key sent through the window
// system to whichever window has the focus: footages, a counter, Analyze, Print, the
// railroad's name, OK, back, and Exit, which ends the program.
#include "modal_windows.h"
#include "pdf_reading.h"
#include "private_cups_server.h"
#include "window_driving.h"

#include "analysis/session_state.h"
#include "forms/frm_answers.h"
#include "forms/frm_get_road.h"
#include "forms/frm_input.h"

#include <QLabel>
#include <QtTest>

using namespace trelvane;
using namespace trelvane::test;

class KeyboardFlowTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QString error;
        QVERIFY2(server.startForThisProcess(&error), qPrintable(error));
    }

    void analyzePrintAndExit()
    {
        const qsizetype jobsBefore = server.capturedJobs().size();
        stdGeneral session;
        Main(session);
        frmInput *input = openedInputWindow();
        QVERIFY(input);
        QVERIFY(QTest::qWaitForWindowActive(input));

        QStringList visited;     // the focus after each move that is checked
        QStringList results;     // the results window as it opened
        bool warningShown = false;
        bool promptOpened = false;
        bool messageAfterPrint = false;
        bool resultsClosedByEsc = false;

        const PendingModal waitForResults = onNextModal<frmAnswers>([&](frmAnswers *answers) {
            for (QLabel *label : {answers->lblFuncStatus, answers->lblFuncSug, answers->lblBasis,
                                  answers->lblHvy})
                results << label->text();
            warningShown = answers->lblWarn->isVisible();
            visited << focused();
            press(Qt::Key_Tab);
            visited << focused();
            const PendingModal waitForPrompt = onNextModal<frmGetRoad>([&](frmGetRoad *) {
                promptOpened = true;
                visited << focused();
                type("Pine Ridge");
                press(Qt::Key_Return);
            });
            press(Qt::Key_Space);
            messageAfterPrint = answers->lblMessage->isVisible();
            QPointer<frmAnswers> watch(answers);
            press(Qt::Key_Escape);
            resultsClosedByEsc = watch.isNull() || !watch->isVisible();
        });

        QTimer::singleShot(0, qApp, [&] {
            visited << focused();
            press(Qt::Key_Tab);
            type("10");
            press(Qt::Key_Tab);
            type("18");
            press(Qt::Key_Tab);
            type("100");
            // Past Analyze and Exit to the 40' counter: three tens.
            for (int i = 0; i < 4; ++i)
                press(Qt::Key_Tab);
            visited << focused();
            for (int i = 0; i < 3; ++i)
                press(Qt::Key_PageUp);
            for (int i = 0; i < 3; ++i)
                press(Qt::Key_Tab, Qt::ShiftModifier);
            visited << focused();
            press(Qt::Key_Space); // returns once the results window has closed
            visited << focused();
            press(Qt::Key_Tab);
            visited << focused();
            press(Qt::Key_Space);
        });
        QTimer guard;
        guard.setSingleShot(true);
        connect(&guard, &QTimer::timeout, qApp, [] { QCoreApplication::exit(1); });
        guard.start(30000);

        QCOMPARE(QCoreApplication::exec(), 0);
        QCOMPARE(visited, QStringList({"optScale3", "udNoCars1", "cmdAnalyze", "cmdOK",
                                       "cmdPrint", "txtRoadName", "cmdAnalyze", "cmdExit"}));
        QCOMPARE(results, QStringList({"Functional trackage is SATURATED!",
                                       "Move no more than 14.4 cars, or REDESIGN trackage.",
                                       "Based on 30 cars in service:",
                                       "Move 21 cars for a HEAVY session."}));
        QVERIFY(warningShown);
        QVERIFY(promptOpened);
        QVERIFY2(messageAfterPrint, "no printing message after OK in the prompt");
        QVERIFY(resultsClosedByEsc);
        QCOMPARE(QString::fromStdString(session.strRoadName), QString("Pine Ridge"));
        QTRY_COMPARE_WITH_TIMEOUT(server.capturedJobs().size(), jobsBefore + 1, 30000);
        QString error;
        const QStringList lines = pdfLineTexts(server.capturedJobs().constLast(), &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QVERIFY2(lines.contains("Prepared for Pine Ridge"), qPrintable(lines.join('\n')));
        QVERIFY(lines.contains("Mainline PASSING track length: 10 ft."));
        QVERIFY(lines.contains("EQUIVALENT number of 40' cars in service: 30"));
        // Exit unloaded the input window as well as ending the loop.
        QTRY_VERIFY(!openedInputWindow());
    }

private:
    PrivateCupsServer server;
};

QTEST_MAIN(KeyboardFlowTest)
#include "keyboard_flow_test.moc"
