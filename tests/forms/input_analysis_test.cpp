// Analyses run through the input window: what the results window shows, the failure
// message box, and the commit of a footage typed just before Analyze.
#include "modal_windows.h"
#include "private_cups_server.h"
#include "window_driving.h"

#include "analysis/session_state.h"
#include "forms/frm_answers.h"
#include "forms/frm_get_road.h"
#include "forms/frm_input.h"
#include "forms/up_down.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAccessibleEditableTextInterface>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

using namespace trelvane;

namespace {

struct Layout {
    QString scale = "optScale3";
    QString passing, functional, storage;
    std::array<int, 8> counts{};
};

Layout layout(QString scale, QString passing, QString functional, QString storage,
              std::array<int, 8> counts)
{
    return {std::move(scale), std::move(passing), std::move(functional), std::move(storage),
            counts};
}

std::array<int, 8> fortyFooters(int count)
{
    return {0, count, 0, 0, 0, 0, 0, 0};
}

// What the results window held when it opened.
struct Shown {
    bool opened = false;
    QStringList captions; // the nine result labels, in their order
    bool warning = false;
    bool messageShown = true;
    bool timerRunning = true;
    QString focus; // the object name of the focused control
};

} // namespace

Q_DECLARE_METATYPE(Layout)

class InputAnalysisTest : public QObject {
    Q_OBJECT

private:
    stdGeneral m_session;
    QPointer<frmInput> m_window;
    test::PrivateCupsServer m_server;

    template <typename T> T *child(const QString &name)
    {
        T *found = m_window->findChild<T *>(name);
        if (!found)
            qFatal("no child %s", qPrintable(name));
        return found;
    }

    void enter(const Layout &input)
    {
        QTest::mouseClick(child<QRadioButton>(input.scale), Qt::LeftButton);
        const std::pair<const char *, QString> boxes[] = {{"txtPassTrack", input.passing},
                                                          {"txtFuncTrack", input.functional},
                                                          {"txtStorTrack", input.storage}};
        for (const auto &[name, footage] : boxes) {
            auto *box = child<QLineEdit>(name);
            QTest::mouseClick(box, Qt::LeftButton);
            box->selectAll();
            QTest::keyClick(box, Qt::Key_Delete);
            QTest::keyClicks(box, footage);
        }
        for (int i = 0; i < 8; ++i) {
            auto *counter = child<UpDown>(QString("udNoCars%1").arg(i));
            counter->setValue(0);
            test::keyInCount(counter, input.counts[std::size_t(i)]);
        }
    }

    // Clicks Analyze and records the results window, closing it with OK (or as given).
    Shown analyze(std::function<void(frmAnswers &)> whileOpen = {})
    {
        Shown shown;
        const test::PendingModal waiting = test::onNextModal<QDialog>([&shown, whileOpen](QDialog *modal) {
            auto *answers = qobject_cast<frmAnswers *>(modal);
            if (!answers) {
                // A message box where results were expected: close it and report nothing.
                if (auto *box = qobject_cast<QMessageBox *>(modal))
                    QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
                return;
            }
            shown.opened = true;
            for (QLabel *label : {answers->lblPassSug, answers->lblFuncStatus, answers->lblFuncSug,
                                  answers->lblStorStatus, answers->lblStorSug, answers->lblBasis,
                                  answers->lblHvy, answers->lblMed, answers->lblLite})
                shown.captions << label->text();
            shown.warning = answers->lblWarn->isVisibleTo(answers);
            shown.messageShown = answers->lblMessage->isVisibleTo(answers);
            shown.timerRunning = answers->tmrMsgTimer->isActive();
            shown.focus = QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
            if (whileOpen)
                whileOpen(*answers);
            if (answers->isVisible())
                QTest::mouseClick(answers->cmdOK, Qt::LeftButton);
        });
        QTest::mouseClick(child<QPushButton>("cmdAnalyze"), Qt::LeftButton);
        // The offscreen platform has no window manager to hand the activation back.
        m_window->activateWindow();
        if (!QTest::qWaitForWindowActive(m_window))
            qWarning("the input window did not become active again");
        return shown;
    }

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale::c());
        // Print reaches a printer of the test's own.
        QString error;
        QVERIFY2(m_server.startForThisProcess(&error), qPrintable(error));
    }

    void init()
    {
        m_session = stdGeneral{};
        m_window = new frmInput(m_session);
        m_window->setAttribute(Qt::WA_DeleteOnClose, false);
        m_window->show();
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window));
    }

    void cleanup() { delete m_window; }

    void results_data()
    {
        QTest::addColumn<Layout>("input");
        QTest::addColumn<QStringList>("captions");
        QTest::addColumn<bool>("warning");

        QTest::newRow("short passing track, 10.5 ft rounds to 10")
            << layout("optScale3", "0", "100", "100", fortyFooters(100))
            << QStringList{"10 ft. of mainline passing track should be added.",
                           "Functional trackage is ADEQUATE.",
                           "",
                           "Yard capacity is ADEQUATE.",
                           "Use a max. of 160 cars in service.",
                           "Based on 100 cars in service:",
                           "Move 70 cars for a HEAVY session.",
                           "Move 50 cars for an AVERAGE session.",
                           "Move 25 cars for a LIGHT session."}
            << false;
        QTest::newRow("saturated yards base the sessions on the recommendation")
            << layout("optScale3", "10", "100", "50", fortyFooters(86))
            << QStringList{"Passing trackage is ADEQUATE.",
                           "Functional trackage is ADEQUATE.",
                           "",
                           "Yards are SATURATED!",
                           "Use a max. of 80 cars in service, or add 4 ft. of storage track.",
                           "Based on the RECOMMENDATION of 80 cars in service:",
                           "Move 56 cars for a HEAVY session.",
                           "Move 40 cars for an AVERAGE session.",
                           "Move 20 cars for a LIGHT session."}
            << false;
        QTest::newRow("saturated functional trackage warns")
            << layout("optScale3", "10", "18", "100", fortyFooters(30))
            << QStringList{"Passing trackage is ADEQUATE.",
                           "Functional trackage is SATURATED!",
                           "Move no more than 14.4 cars, or REDESIGN trackage.",
                           "Yard capacity is ADEQUATE.",
                           "Use a max. of 160 cars in service.",
                           "Based on 30 cars in service:",
                           "Move 21 cars for a HEAVY session.",
                           "Move 15 cars for an AVERAGE session.",
                           "Move 7 cars for a LIGHT session."}
            << true;
        QTest::newRow("marginal yards base the sessions on the cars")
            << layout("optScale3", "10", "200", "50", fortyFooters(85))
            << QStringList{"Passing trackage is ADEQUATE.",
                           "Functional trackage is ADEQUATE.",
                           "",
                           "Yard capacity is MARGINAL.",
                           "Use a max. of 80 cars in service, or add 3 ft. of storage track.",
                           "Based on 85 cars in service:",
                           "Move 59 cars for a HEAVY session.",
                           "Move 42 cars for an AVERAGE session.",
                           "Move 21 cars for a LIGHT session."}
            << false;
        QTest::newRow("functional 50 percent is marginal, no warning")
            << layout("optScale3", "100", "35", "100", fortyFooters(50))
            << QStringList{"Passing trackage is ADEQUATE.",
                           "Functional trackage is MARGINAL.",
                           "",
                           "Yard capacity is ADEQUATE.",
                           "Use a max. of 160 cars in service.",
                           "Based on 50 cars in service:",
                           "Move 35 cars for a HEAVY session.",
                           "Move 25 cars for an AVERAGE session.",
                           "Move 12 cars for a LIGHT session."}
            << false;
        QTest::newRow("functional 51 percent is saturated, warning")
            << layout("optScale3", "100", "35", "100", fortyFooters(51))
            << QStringList{"Passing trackage is ADEQUATE.",
                           "Functional trackage is SATURATED!",
                           "Move no more than 28 cars, or REDESIGN trackage.",
                           "Yard capacity is ADEQUATE.",
                           "Use a max. of 160 cars in service.",
                           "Based on 51 cars in service:",
                           "Move 35 cars for a HEAVY session.",
                           "Move 25 cars for an AVERAGE session.",
                           "Move 12 cars for a LIGHT session."}
            << true;
        QTest::newRow("ten 34-foot cars count as eight")
            << layout("optScale3", "100", "100", "100", {10, 0, 0, 0, 0, 0, 0, 0})
            << QStringList{"Passing trackage is ADEQUATE.",
                           "Functional trackage is ADEQUATE.",
                           "",
                           "Yard capacity is ADEQUATE.",
                           "Use a max. of 160 cars in service.",
                           "Based on 8 cars in service:",
                           "Move 5 cars for a HEAVY session.",
                           "Move 4 cars for an AVERAGE session.",
                           "Move 2 cars for a LIGHT session."}
            << false;
        QTest::newRow("no cars gives sessions of 0")
            << layout("optScale3", "", "100", "100", {})
            << QStringList{"Passing trackage is ADEQUATE.",
                           "Functional trackage is ADEQUATE.",
                           "",
                           "Yard capacity is ADEQUATE.",
                           "Use a max. of 160 cars in service.",
                           "Based on 0 cars in service:",
                           "Move 0 cars for a HEAVY session.",
                           "Move 0 cars for an AVERAGE session.",
                           "Move 0 cars for a LIGHT session."}
            << false;
        QTest::newRow("Z scale marginal yard may add 0 ft")
            << layout("optScale1", "100", "100", "40", fortyFooters(162))
            << QStringList{"Passing trackage is ADEQUATE.",
                           "Functional trackage is ADEQUATE.",
                           "",
                           "Yard capacity is MARGINAL.",
                           "Use a max. of 160 cars in service, or add 0 ft. of storage track.",
                           "Based on 162 cars in service:",
                           "Move 113 cars for a HEAVY session.",
                           "Move 81 cars for an AVERAGE session.",
                           "Move 40 cars for a LIGHT session."}
            << false;
    }

    void results()
    {
        QFETCH(Layout, input);
        QFETCH(QStringList, captions);
        QFETCH(bool, warning);

        enter(input);
        const Shown shown = analyze();
        QVERIFY(shown.opened);
        QCOMPARE(shown.captions, captions);
        QCOMPARE(shown.warning, warning);
        QVERIFY(!shown.messageShown);
        QVERIFY(!shown.timerRunning);
        QCOMPARE(shown.focus, QString("cmdOK"));
        // Closing returns to the input window with its entries as they were.
        QVERIFY(!QApplication::activeModalWidget());
        QCOMPARE(child<QLineEdit>("txtFuncTrack")->text(), input.functional);
    }

    void failures_data()
    {
        QTest::addColumn<Layout>("input");
        QTest::addColumn<QString>("message");

        const QString overflow = "No VALUE has been entered for either the Functional or Storage\n"
                                 "track, and no CAR QUANTITIES have been entered.";
        const QString byZero =
            "No VALUE has been entered for either the Functional or Storage track.";
        QTest::newRow("nothing entered is 0 over 0, an overflow")
            << layout("optScale3", "", "", "", {}) << overflow;
        QTest::newRow("no functional track divides by zero")
            << layout("optScale3", "10", "0", "100", fortyFooters(10)) << byZero;
        QTest::newRow("no storage track divides by zero")
            << layout("optScale3", "10", "100", "0", fortyFooters(10)) << byZero;
        QTest::newRow("1 ft in G scale floors to no capacity")
            << layout("optScale6", "10", "1", "100", fortyFooters(10)) << byZero;
        QTest::newRow("9999 ft in Z scale overflows the capacity")
            << layout("optScale1", "10", "9999", "100", fortyFooters(10)) << overflow;
    }

    void failures()
    {
        QFETCH(Layout, input);
        QFETCH(QString, message);

        enter(input);
        struct Box {
            bool opened = false;
            QString title, text;
            QMessageBox::Icon icon = QMessageBox::NoIcon;
            QMessageBox::StandardButtons standard;
            qsizetype buttons = 0;
        } box;
        const test::PendingModal waiting = test::onNextModal<QDialog>([&box](QDialog *modal) {
            auto *shown = qobject_cast<QMessageBox *>(modal);
            if (!shown) {
                modal->close();
                return;
            }
            box = {true, shown->windowTitle(), shown->text(), shown->icon(),
                   shown->standardButtons(), shown->buttons().size()};
            QTest::mouseClick(shown->button(QMessageBox::Ok), Qt::LeftButton);
        });
        QTest::mouseClick(child<QPushButton>("cmdAnalyze"), Qt::LeftButton);

        QVERIFY(box.opened);
        QCOMPARE(box.title, QString("Problem - Invalid or Missing Input"));
        QCOMPARE(box.icon, QMessageBox::Warning);
        QCOMPARE(box.standard, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(box.buttons, 1);
        QCOMPARE(box.text, message);
        QVERIFY(!QApplication::activeModalWidget());
        QVERIFY(m_window->isVisible());
    }

    void typedValueIsAnalysedWithoutLeavingTheBox_data()
    {
        QTest::addColumn<QString>("way");
        QTest::newRow("mouse click on Analyze") << "click";
        QTest::newRow("Tab to Analyze, then Space") << "keyboard";
        QTest::newRow("click on an Analyze that takes no focus") << "no focus";
        QTest::newRow("an assistive tool fills a box it never focuses and presses Analyze")
            << "assistive";
    }

    void typedValueIsAnalysedWithoutLeavingTheBox()
    {
        QFETCH(QString, way);

        enter(layout("optScale3", "0", "100", "", fortyFooters(100)));
        auto *storage = child<QLineEdit>("txtStorTrack");
        auto *analyzeButton = child<QPushButton>("cmdAnalyze");
        if (way == "assistive") {
            child<QLineEdit>("txtPassTrack")->setFocus();
            QAccessible::queryAccessibleInterface(storage)->editableTextInterface()->replaceText(
                0, int(storage->text().size()), "50");
        } else {
            QTest::mouseClick(storage, Qt::LeftButton);
            QCOMPARE(QApplication::focusWidget(), storage);
            storage->selectAll();
            QTest::keyClicks(storage, "50");
        }
        QCOMPARE(m_session.intStorTrack, 0);

        Shown shown;
        if (way == "assistive") {
            bool answered = false;
            const test::PendingModal waiting = test::onNextModal<QDialog>([&](QDialog *modal) {
                answered = true;
                if (auto *answers = qobject_cast<frmAnswers *>(modal)) {
                    shown.opened = true;
                    shown.captions << answers->lblStorSug->text();
                }
                modal->reject();
            });
            QAccessibleActionInterface *press =
                QAccessible::queryAccessibleInterface(analyzeButton)->actionInterface();
            press->doAction(QAccessibleActionInterface::pressAction());
            QTRY_VERIFY(answered);
        } else if (way == "keyboard") {
            QTest::keyClick(storage, Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), analyzeButton);
            const test::PendingModal waiting = test::onNextModal<QDialog>([&shown](QDialog *modal) {
                if (auto *answers = qobject_cast<frmAnswers *>(modal)) {
                    shown.opened = true;
                    shown.captions << answers->lblStorSug->text();
                }
                QTest::keyClick(modal, Qt::Key_Escape);
            });
            QTest::keyClick(analyzeButton, Qt::Key_Space);
        } else {
            if (way == "no focus")
                analyzeButton->setFocusPolicy(Qt::NoFocus);
            shown = analyze();
            shown.captions = shown.captions.mid(4, 1);
        }
        QVERIFY(shown.opened);
        QCOMPARE(m_session.intStorTrack, 50);
        QCOMPARE(shown.captions,
                 QStringList{"Use a max. of 80 cars in service, or add 12 ft. of storage track."});
    }

    void secondAnalysisReplacesEveryLabel()
    {
        enter(layout("optScale3", "10", "18", "100", fortyFooters(30)));
        const Shown first = analyze();
        enter(layout("optScale3", "0", "100", "100", fortyFooters(100)));
        const Shown second = analyze();

        QVERIFY(first.opened && second.opened);
        QVERIFY(first.warning);
        QVERIFY(!second.warning);
        for (qsizetype i = 0; i < first.captions.size(); ++i) {
            if (i == 3 || i == 4)
                continue; // the storage verdict is the same in both layouts
            QVERIFY2(first.captions[i] != second.captions[i], qPrintable(second.captions[i]));
        }
        QCOMPARE(second.captions[2], QString());
    }

    void closingWhileThePrintMessageShows()
    {
        enter(layout("optScale3", "0", "100", "100", fortyFooters(100)));
        bool messageWasShown = false;
        bool prompted = false;
        const Shown first = analyze([&](frmAnswers &answers) {
            const test::PendingModal answering =
                test::onNextModal<frmGetRoad>([&prompted](frmGetRoad *prompt) {
                    prompted = true;
                    QTest::mouseClick(prompt->cmdOK, Qt::LeftButton);
                });
            QTest::mouseClick(answers.cmdPrint, Qt::LeftButton);
            messageWasShown = answers.lblMessage->isVisible() && answers.tmrMsgTimer->isActive();
            QTest::keyClick(&answers, Qt::Key_Escape);
        });
        QVERIFY(first.opened);
        QVERIFY(prompted);
        QVERIFY(messageWasShown);

        const Shown second = analyze();
        QVERIFY(second.opened);
        QVERIFY(!second.messageShown);
        QVERIFY(!second.timerRunning);
    }
};

QTEST_MAIN(InputAnalysisTest)
#include "input_analysis_test.moc"
