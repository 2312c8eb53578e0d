// Controls reached while a modal window stands in front of theirs. The mouse and the
// keyboard cannot get there, but an assistive tool's press or check action can; each
// handler must then do nothing: no second window, no window left without its owner, no
// change to the analysis that the open window shows or prints.
#include "modal_windows.h"
#include "private_cups_server.h"

#include "analysis/session_state.h"
#include "forms/entry_box.h"
#include "forms/frm_answers.h"
#include "forms/frm_get_road.h"
#include "forms/frm_input.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QtTest>

#include <memory>
#include <tuple>

using namespace trelvane;
using namespace trelvane::test;

namespace {

// The modal window in front when the control is reached.
enum class Front { ResultsWindow, FailureMessage, NamePrompt, PrintFailureMessage };

auto sessionFields(const stdGeneral &s)
{
    return std::tuple(s.sngCarsPerFoot, s.strScale, s.intPassTrack, s.intFuncTrack,
                      s.intStorTrack, s.intFuncCap, s.intStorCap, s.intFuncPct, s.intStorPct,
                      s.intEquivCars, s.intPassCars, s.strRoadName, s.blnPrintOK);
}

QList<QWidget *> shownWindows()
{
    QList<QWidget *> shown;
    for (QWidget *window : QApplication::topLevelWidgets())
        if (window->isVisible())
            shown << window;
    return shown;
}

// The control by name in the input window or the open results window.
QAbstractButton *findControl(frmInput &input, const QString &name)
{
    if (auto *control = input.findChild<QAbstractButton *>(name))
        return control;
    for (QWidget *window : QApplication::topLevelWidgets())
        if (auto *answers = qobject_cast<frmAnswers *>(window))
            if (auto *control = answers->findChild<QAbstractButton *>(name))
                return control;
    return nullptr;
}

// Runs the first action the control offers to assistive tools ("Press" for a push
// button, "Toggle" for an option), as a screen reader would, and lets it take effect.
bool actThroughAccessibility(QAbstractButton *control)
{
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(control);
    QAccessibleActionInterface *actions = face ? face->actionInterface() : nullptr;
    if (!actions || actions->actionNames().isEmpty())
        return false;
    actions->doAction(actions->actionNames().constFirst());
    QTest::qWait(300); // a press animates for 100 ms before it clicks
    return true;
}

// Closes every modal window that opens in front of `expected` while it lives, and names
// each, so a handler that opened one is seen without the test stalling in its loop.
class IntruderWatch {
public:
    explicit IntruderWatch(QWidget *expected) : expected_(expected)
    {
        poll_.setInterval(5);
        QObject::connect(&poll_, &QTimer::timeout, &poll_, [this] {
            QWidget *modal = QApplication::activeModalWidget();
            if (!modal || modal == expected_)
                return;
            intruders << modal->metaObject()->className();
            if (auto *dialog = qobject_cast<QDialog *>(modal))
                dialog->reject();
            else
                modal->close();
        });
        poll_.start();
    }

    QStringList intruders;

private:
    QPointer<QWidget> expected_;
    QTimer poll_;
};

struct Observation {
    bool reached = false; // the front window opened and the control was acted on
    bool actionOffered = false;
    QStringList intruders;
    bool sameWindowsShown = false;
    bool sessionUnchanged = false;
    QString checkedScale;
};

Observation actBehind(QWidget *front, frmInput &input, const QString &controlName,
                      const stdGeneral &session)
{
    Observation seen;
    seen.reached = true;
    QAbstractButton *control = findControl(input, controlName);
    if (!control)
        return seen;
    const auto fieldsBefore = sessionFields(session);
    const QList<QWidget *> windowsBefore = shownWindows();
    {
        IntruderWatch watch(front);
        seen.actionOffered = actThroughAccessibility(control);
        seen.intruders = watch.intruders;
    }
    seen.sameWindowsShown = shownWindows() == windowsBefore;
    seen.sessionUnchanged = sessionFields(session) == fieldsBefore;
    for (auto *option : input.findChildren<QAbstractButton *>())
        if (option->isCheckable() && option->isChecked())
            seen.checkedScale = option->property("Tag").toString();
    return seen;
}

void enterFootages(frmInput &input)
{
    const char *boxes[] = {"txtPassTrack", "txtFuncTrack", "txtStorTrack"};
    const char *footages[] = {"100", "50", "200"};
    for (int i = 0; i < 3; ++i) {
        auto *box = input.findChild<EntryBox *>(boxes[i]);
        box->setFocus();
        QTest::keyClicks(box, footages[i]);
    }
}

} // namespace

Q_DECLARE_METATYPE(Front)

class ReentryTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void refusedBehindAModalWindow_data();
    void refusedBehindAModalWindow();
    void actsWithNothingInFront_data();
    void actsWithNothingInFront();

private:
    PrivateCupsServer server;
};

// A print server that never runs: a confirmed print fails at once with its message.
void ReentryTest::initTestCase() { server.useInThisProcess(); }

void ReentryTest::refusedBehindAModalWindow_data()
{
    QTest::addColumn<Front>("front");
    QTest::addColumn<QString>("control");

    QTest::newRow("Analyze behind the results window") << Front::ResultsWindow << "cmdAnalyze";
    QTest::newRow("Exit behind the results window") << Front::ResultsWindow << "cmdExit";
    QTest::newRow("S scale behind the results window") << Front::ResultsWindow << "optScale4";
    QTest::newRow("Analyze behind the failure message") << Front::FailureMessage << "cmdAnalyze";
    QTest::newRow("Exit behind the failure message") << Front::FailureMessage << "cmdExit";
    QTest::newRow("Z scale behind the failure message") << Front::FailureMessage << "optScale1";
    QTest::newRow("Print behind the name prompt") << Front::NamePrompt << "cmdPrint";
    QTest::newRow("OK behind the name prompt") << Front::NamePrompt << "cmdOK";
    QTest::newRow("Analyze behind the name prompt") << Front::NamePrompt << "cmdAnalyze";
    QTest::newRow("G scale behind the name prompt") << Front::NamePrompt << "optScale6";
    QTest::newRow("Print behind the print failure message")
        << Front::PrintFailureMessage << "cmdPrint";
    QTest::newRow("OK behind the print failure message") << Front::PrintFailureMessage << "cmdOK";
}

void ReentryTest::refusedBehindAModalWindow()
{
    QFETCH(Front, front);
    QFETCH(QString, control);

    stdGeneral session;
    QPointer<frmInput> input = new frmInput(session);
    input->show();
    QVERIFY(QTest::qWaitForWindowActive(input));
    if (front != Front::FailureMessage)
        enterFootages(*input); // nothing entered fails the analysis

    Observation seen;
    const auto act = [&](QWidget *window) { seen = actBehind(window, *input, control, session); };
    // Each wait is cancelled when its scope ends, so none outlives this test's locals.
    PendingModal first;
    if (front == Front::FailureMessage) {
        first = onNextModal<QMessageBox>([&](QMessageBox *message) {
            act(message);
            message->reject();
        });
    } else {
        first = onNextModal<frmAnswers>([&](frmAnswers *answers) {
            PendingModal prompt;
            PendingModal printMessage;
            if (front == Front::ResultsWindow) {
                act(answers);
            } else if (front == Front::NamePrompt) {
                prompt = onNextModal<frmGetRoad>([&](frmGetRoad *getRoad) {
                    act(getRoad);
                    QTest::mouseClick(getRoad->cmdCancel, Qt::LeftButton);
                });
                QTest::mouseClick(answers->cmdPrint, Qt::LeftButton);
            } else {
                prompt = onNextModal<frmGetRoad>([&](frmGetRoad *getRoad) {
                    printMessage = onNextModal<QMessageBox>([&](QMessageBox *message) {
                        act(message);
                        message->reject();
                    });
                    QTest::mouseClick(getRoad->cmdOK, Qt::LeftButton);
                });
                QTest::mouseClick(answers->cmdPrint, Qt::LeftButton);
            }
            answers->reject();
        });
    }
    QTest::mouseClick(input->findChild<QPushButton *>("cmdAnalyze"), Qt::LeftButton);

    QVERIFY2(seen.reached, "the window in front never opened");
    QVERIFY2(seen.actionOffered, "the control offers no action to assistive tools");
    QCOMPARE(seen.intruders, QStringList());
    QVERIFY2(seen.sameWindowsShown, "a window opened or closed behind the modal one");
    QVERIFY2(seen.sessionUnchanged, "the analysis on show was changed behind it");
    QCOMPARE(seen.checkedScale, QString::fromStdString(session.strScale));
    QVERIFY(input && input->isVisible());
    delete input;
}

// The same actions with their window in front do act, so the refusals above are the
// guard's doing and not an action that never reaches the handler.
void ReentryTest::actsWithNothingInFront_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("expectedModal"); // class of the window it opens, if any
    QTest::addColumn<QString>("expectedScale");

    QTest::newRow("Analyze opens the results window") << "cmdAnalyze" << "trelvane::frmAnswers" << "HO";
    QTest::newRow("S scale selects S") << "optScale4" << "" << "S";
    QTest::newRow("Print in front opens the name prompt") << "cmdPrint" << "trelvane::frmGetRoad" << "HO";
}

void ReentryTest::actsWithNothingInFront()
{
    QFETCH(QString, control);
    QFETCH(QString, expectedModal);
    QFETCH(QString, expectedScale);

    stdGeneral session;
    QPointer<frmInput> input = new frmInput(session);
    input->show();
    QVERIFY(QTest::qWaitForWindowActive(input));
    enterFootages(*input);

    // Whatever opens in front of the control's window is noted and closed again at once.
    QStringList opened;
    const auto actAndLook = [&](QWidget *inFront) {
        IntruderWatch watch(inFront);
        QVERIFY(actThroughAccessibility(findControl(*input, control)));
        opened = watch.intruders;
    };
    if (control == "cmdPrint") {
        // Print lives in the results window, which has to be in front first.
        PendingModal results = onNextModal<frmAnswers>([&](frmAnswers *answers) {
            actAndLook(answers);
            answers->reject();
        });
        QTest::mouseClick(input->findChild<QPushButton *>("cmdAnalyze"), Qt::LeftButton);
    } else {
        actAndLook(nullptr);
    }

    QCOMPARE(opened, expectedModal.isEmpty() ? QStringList() : QStringList{expectedModal});
    QCOMPARE(QString::fromStdString(session.strScale), expectedScale);
    delete input;
}

QTEST_MAIN(ReentryTest)
#include "reentry_test.moc"
