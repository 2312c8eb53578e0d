// F1 opens one help window from every window of the program, and the help stays usable
// while a modal window is open: it takes the keyboard, scrolls and closes with Esc.
#include "modal_windows.h"

#include "analysis/car_classes.h"
#include "analysis/scale_table.h"
#include "analysis/session_state.h"
#include "forms/frm_answers.h"
#include "forms/frm_get_road.h"
#include "forms/frm_input.h"
#include "forms/help_window.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBrowser>
#include <QtTest>

#include <memory>

using namespace trelvane;
using namespace trelvane::test;

namespace {

QList<HelpWindow *> helpWindows()
{
    QList<HelpWindow *> found;
    for (QWidget *window : QApplication::topLevelWidgets())
        if (auto *help = qobject_cast<HelpWindow *>(window))
            found << help;
    return found;
}

// What F1 in one window gave.
struct HelpSeen {
    bool asked = false;
    int helpWindows = 0;
    bool active = false;      // the help took the keyboard
    bool scrolled = false;    // Page Down reached its text
    bool closedByEsc = false;
    bool askerOpen = false;   // Esc in the help left the asking window alone
};

// Presses F1 in the asking window through the window system, as a user's key arrives,
// then uses the help with the keyboard and closes it with Esc.
HelpSeen askForHelp(QWidget *asker)
{
    HelpSeen seen;
    seen.asked = true;
    QTest::keyClick(asker->windowHandle(), Qt::Key_F1);
    const QList<HelpWindow *> helps = helpWindows();
    seen.helpWindows = int(helps.size());
    if (helps.size() != 1 || !helps.front()->isVisible())
        return seen;
    HelpWindow *help = helps.front();
    seen.active = QTest::qWaitForWindowActive(help);
    QScrollBar *bar = help->txtHelp->verticalScrollBar();
    bar->setValue(0);
    QTest::keyClick(help->windowHandle(), Qt::Key_PageDown);
    seen.scrolled = bar->value() > 0;
    QTest::keyClick(help->windowHandle(), Qt::Key_Escape);
    seen.closedByEsc = !help->isVisible();
    seen.askerOpen = asker->isVisible();
    return seen;
}

void typeInto(QWidget *box, const QString &text)
{
    box->setFocus();
    QTest::keyClicks(box, text);
}

} // namespace

class HelpWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<stdGeneral> m_session;
    QPointer<frmInput> m_input;

    template <class T>
    T *child(const QString &name) const
    {
        T *found = m_input->findChild<T *>(name);
        if (!found)
            qFatal("no child %s", qPrintable(name));
        return found;
    }

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale::c());
        installHelpKey();
    }

    void init()
    {
        m_session = std::make_unique<stdGeneral>();
        // Cancel is all these tests press in the prompt; nothing is printed.
        m_input = new frmInput(*m_session);
        m_input->show();
        QVERIFY(QTest::qWaitForWindowActive(m_input));
    }

    void cleanup()
    {
        delete m_input;
        qDeleteAll(helpWindows());
    }

    void opensFromEveryWindow_data()
    {
        QTest::addColumn<QString>("window");
        QTest::newRow("input window") << "input";
        QTest::newRow("results window, modal over the input window") << "results";
        QTest::newRow("name prompt, modal over the results window") << "prompt";
        QTest::newRow("failure message box") << "failure";
    }

    void opensFromEveryWindow()
    {
        QFETCH(QString, window);
        HelpSeen seen;
        if (window == "input") {
            seen = askForHelp(m_input);
        } else if (window == "failure") {
            // Nothing entered: the analysis fails and shows its message box.
            const PendingModal waitForFailureBox = onNextModal<QMessageBox>([&seen](QMessageBox *box) {
                seen = askForHelp(box);
                box->button(QMessageBox::Ok)->click();
            });
            child<QPushButton>("cmdAnalyze")->click();
        } else {
            typeInto(child<QLineEdit>("txtFuncTrack"), "100");
            typeInto(child<QLineEdit>("txtStorTrack"), "100");
            const PendingModal waitForResults = onNextModal<frmAnswers>([&seen, window](frmAnswers *answers) {
                if (window == "results") {
                    seen = askForHelp(answers);
                } else {
                    const PendingModal waitForPrompt = onNextModal<frmGetRoad>([&seen](frmGetRoad *prompt) {
                        seen = askForHelp(prompt);
                        prompt->cmdCancel->click();
                    });
                    answers->cmdPrint->click();
                }
                answers->cmdOK->click();
            });
            child<QPushButton>("cmdAnalyze")->click();
        }
        QVERIFY2(seen.asked, "the window never opened");
        QCOMPARE(seen.helpWindows, 1);
        QVERIFY2(seen.active, "the help could not take the keyboard");
        QVERIFY2(seen.scrolled, "Page Down did not reach the help text");
        QVERIFY(seen.closedByEsc);
        QVERIFY2(seen.askerOpen, "Esc in the help closed the window that asked for it");
    }

    void staysOneWindowAndOutlivesTheResults()
    {
        typeInto(child<QLineEdit>("txtFuncTrack"), "100");
        typeInto(child<QLineEdit>("txtStorTrack"), "100");
        QTest::keyClick(m_input->windowHandle(), Qt::Key_F1);
        QCOMPARE(helpWindows().size(), 1);
        QPointer<HelpWindow> first = helpWindows().front();
        bool answered = false;
        const PendingModal waitForResults = onNextModal<frmAnswers>([&answered, first](frmAnswers *answers) {
            // Already open, and blocked since the results window came up: F1 brings the
            // same window forward, usable over the modal one.
            QTest::keyClick(answers->windowHandle(), Qt::Key_F1);
            QScrollBar *bar = first->txtHelp->verticalScrollBar();
            bar->setValue(0);
            answered = helpWindows() == QList<HelpWindow *>{first.data()}
                       && QTest::qWaitForWindowActive(first);
            QTest::keyClick(first->windowHandle(), Qt::Key_PageDown);
            answered = answered && bar->value() > 0;
            answers->cmdOK->click();
        });
        child<QPushButton>("cmdAnalyze")->click();
        QVERIFY(answered);

        // The results window is gone; the help it was tied to is still open and usable.
        QVERIFY(first);
        QVERIFY(first->isVisible());
        QScrollBar *bar = first->txtHelp->verticalScrollBar();
        bar->setValue(0);
        first->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(first));
        QTest::keyClick(first->windowHandle(), Qt::Key_PageDown);
        QVERIFY(bar->value() > 0);
    }

    void helpOpensWhileTheWindowBehindIsBusy()
    {
        // F1 with the focus in a track box: the box neither takes the key nor beeps it
        // away, and the typed footage stays as it was.
        QLineEdit *box = child<QLineEdit>("txtPassTrack");
        typeInto(box, "12");
        QTest::keyClick(box, Qt::Key_F1);
        QCOMPARE(helpWindows().size(), 1);
        QVERIFY(helpWindows().front()->isVisible());
        QCOMPARE(box->text(), QString("12"));
    }

    void statesTheScaleFactors_data()
    {
        QTest::addColumn<QString>("phrase");
        for (const ScaleEntry &scale : kScaleTable) {
            const QString name = QString::fromUtf8(scale.name.data(), qsizetype(scale.name.size()));
            QTest::newRow(qPrintable(name + " scale"))
                << QString("%1 in %2").arg(QString::number(double(scale.carsPerFoot), 'g', 2), name);
        }
    }

    // The help quotes the analysis' own figures; a change to the tables must show there.
    void statesTheScaleFactors()
    {
        QFETCH(QString, phrase);
        HelpWindow help(nullptr);
        QVERIFY2(help.txtHelp->toPlainText().simplified().contains(phrase), qPrintable(phrase));
    }

    void statesTheCarFactors_data()
    {
        QTest::addColumn<QString>("phrase");
        for (const CarClass &car : kCarClasses) {
            const double factor = std::visit([](auto value) { return double(value); }, car.factor);
            const QString phrase =
                QString("%1' car as %2").arg(car.lengthFeet).arg(QString::number(factor, 'g', 3));
            // Only the lengths the help gives as examples.
            if (car.lengthFeet == 34 || car.lengthFeet == 80)
                QTest::newRow(qPrintable(QString("%1' car").arg(car.lengthFeet))) << phrase;
        }
    }

    void statesTheCarFactors()
    {
        QFETCH(QString, phrase);
        HelpWindow help(nullptr);
        QVERIFY2(help.txtHelp->toPlainText().simplified().contains(phrase), qPrintable(phrase));
    }
};

QTEST_MAIN(HelpWindowTest)
#include "help_window_test.moc"
