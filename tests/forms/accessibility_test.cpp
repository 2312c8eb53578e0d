// What a screen reader finds in the windows: a name and the right role for every input and
// window, the tooltips as descriptions, the counters' values, the result texts and the
// warning in full even where a label is too narrow to draw them and a blank one as blank,
// the notices as notifications, which are announced as they appear, and a name entered and
// confirmed through the accessibility interface alone.
#include "analysis/session_state.h"
#include "forms/frm_answers.h"
#include "forms/frm_get_road.h"
#include "forms/frm_input.h"
#include "forms/help_window.h"
#include "forms/result_label.h"
#include "forms/up_down.h"
#include "forms/window_kit.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAccessibleEditableTextInterface>
#include <QAccessibleValueInterface>
#include <QLineEdit>
#include <QPushButton>
#include <QPointer>
#include <QTest>

#include <memory>

using namespace trelvane;

namespace {

QAccessibleInterface *accessible(QWidget *widget)
{
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(widget);
    if (!face)
        qFatal("no accessible interface for %s", qPrintable(widget->objectName()));
    return face;
}

// Every control that Tab can reach, in the window and its frames.
QList<QWidget *> focusStops(QWidget *window)
{
    QList<QWidget *> stops;
    for (QWidget *widget : window->findChildren<QWidget *>())
        if ((widget->focusPolicy() & Qt::TabFocus) && widget->isVisibleTo(window)
            && widget->isEnabled() && !widget->focusProxy())
            stops << widget;
    return stops;
}

} // namespace

Q_DECLARE_METATYPE(QAccessible::Role)

class AccessibilityTest : public QObject {
    Q_OBJECT

private:
    stdGeneral m_session;
    std::unique_ptr<frmInput> m_input;

    template <class T = QWidget>
    T *inInput(const QString &name) const
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
        installAccessibility();
        QAccessible::setActive(true);
    }

    void init()
    {
        m_input = std::make_unique<frmInput>(m_session);
        m_input->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_input.get()));
    }

    void cleanup() { m_input.reset(); }

    void inputsAreNamed_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QAccessible::Role>("role");
        QTest::addColumn<QString>("name");
        QTest::newRow("passing box, named by its label") << "txtPassTrack" << QAccessible::EditableText << "Passing Track:";
        QTest::newRow("functional box, named by its label") << "txtFuncTrack" << QAccessible::EditableText << "Functional Track:";
        QTest::newRow("storage box, named by its label") << "txtStorTrack" << QAccessible::EditableText << "Storage Track:";
        const QStringList scales{"Z", "N", "HO", "S", "O", "G"};
        for (int i = 0; i < scales.size(); ++i)
            QTest::newRow(qPrintable(scales[i] + " option"))
                << QString("optScale%1").arg(i + 1) << QAccessible::RadioButton
                << scales[i] + " scale";
        const QList<int> lengths{34, 40, 50, 55, 60, 70, 80, 86};
        for (int i = 0; i < lengths.size(); ++i)
            QTest::newRow(qPrintable(QString("%1' counter").arg(lengths[i])))
                << QString("udNoCars%1").arg(i) << QAccessible::SpinBox
                << QString("Number of %1' cars").arg(lengths[i]);
        QTest::newRow("Analyze") << "cmdAnalyze" << QAccessible::Button << "Analyze";
        QTest::newRow("Exit") << "cmdExit" << QAccessible::Button << "Exit";
        QTest::newRow("the input window, a frame rather than a filler")
            << "frmInput" << QAccessible::Window << "Trelvane   v1.2.0";
        QTest::newRow("a count label says what it counts")
            << "lblNoCars0" << QAccessible::StaticText << "Number of 34' cars: 0";
        QTest::newRow("the blank strip gives the notice its tooltip shows")
            << "Label15" << QAccessible::StaticText
            << "Estimates only: what a layout really handles depends on how it is run.";
    }

    void inputsAreNamed()
    {
        QFETCH(QString, control);
        QFETCH(QAccessible::Role, role);
        QFETCH(QString, name);
        QWidget *widget = control == "frmInput" ? m_input.get() : inInput(control);
        QAccessibleInterface *face = accessible(widget);
        QCOMPARE(face->role(), role);
        QCOMPARE(face->text(QAccessible::Name), name);
        // The tooltip that explains a control is read as its description.
        QCOMPARE(face->text(QAccessible::Description), widget->toolTip());
    }

    void everyFocusStopIsNamed_data()
    {
        QTest::addColumn<QString>("window");
        QTest::newRow("input window") << "input";
        QTest::newRow("results window") << "results";
        QTest::newRow("name prompt") << "prompt";
        QTest::newRow("help window") << "help";
    }

    // Also catches a control added later without a name.
    void everyFocusStopIsNamed()
    {
        QFETCH(QString, window);
        std::unique_ptr<QWidget> owned;
        QWidget *shown = m_input.get();
        if (window == "results")
            owned = std::make_unique<frmAnswers>(m_session, m_input.get());
        else if (window == "prompt")
            owned = std::make_unique<frmGetRoad>(m_session, m_input.get());
        else if (window == "help")
            owned = std::make_unique<HelpWindow>(m_input.get());
        if (owned) {
            owned->show();
            shown = owned.get();
        }
        const QList<QWidget *> stops = focusStops(shown);
        QVERIFY(!stops.isEmpty());
        for (QWidget *stop : stops)
            QVERIFY2(!accessible(stop)->text(QAccessible::Name).trimmed().isEmpty(),
                     qPrintable(stop->objectName() + " has no accessible name"));
    }

    void counterSaysItsValue()
    {
        auto *counter = inInput<UpDown>("udNoCars1");
        counter->setFocus();
        QTest::keyClick(counter, Qt::Key_PageUp);
        QTest::keyClick(counter, Qt::Key_Up);
        QTest::keyClick(counter, Qt::Key_Up);
        QAccessibleValueInterface *value = accessible(counter)->valueInterface();
        QVERIFY(value);
        QCOMPARE(value->currentValue().toInt(), 12);
        QCOMPARE(value->minimumValue().toInt(), 0);
        QCOMPARE(value->maximumValue().toInt(), 9999);
        // The count label beside it reads the same number, and what it counts.
        QCOMPARE(accessible(inInput("lblNoCars1"))->text(QAccessible::Name),
                 QString("Number of 40' cars: 12"));
    }

    void promptBoxIsNamed()
    {
        frmGetRoad prompt(m_session, m_input.get());
        prompt.show();
        QAccessibleInterface *face = accessible(prompt.txtRoadName);
        QCOMPARE(face->role(), QAccessible::EditableText);
        QCOMPARE(face->text(QAccessible::Name), QString("Railroad name"));
        QCOMPARE(face->text(QAccessible::Description), prompt.txtRoadName->toolTip());
    }

    void resultTextsAreWhole_data()
    {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("elided");
        QTest::newRow("storage suggestion too wide for its label")
            << "lblStorSug" << "Use a max. of 160 cars in service, or add 40 ft. of storage track."
            << true;
        QTest::newRow("functional suggestion too wide for its label")
            << "lblFuncSug" << "Move no more than 1234.8 cars, or REDESIGN trackage. And more words."
            << true;
        QTest::newRow("passing suggestion that fits")
            << "lblPassSug" << "Passing trackage is ADEQUATE." << false;
        QTest::newRow("session sentence that fits")
            << "lblHvy" << "Move 70 cars for a HEAVY session." << false;
        QTest::newRow("empty functional suggestion, blank rather than its frame's title")
            << "lblFuncSug" << "" << false;
    }

    void resultTextsAreWhole()
    {
        QFETCH(QString, label);
        QFETCH(QString, text);
        QFETCH(bool, elided);
        frmAnswers answers(m_session, m_input.get());
        auto *result = answers.findChild<ResultLabel *>(label);
        QVERIFY(result);
        result->setText(text);
        answers.show();
        QVERIFY(QTest::qWaitForWindowExposed(&answers));
        QCOMPARE(result->isElided(), elided);
        QAccessibleInterface *face = accessible(result);
        QCOMPARE(face->role(), QAccessible::StaticText);
        QCOMPARE(face->text(QAccessible::Name), text);
        // Labelled by its frame, a line is left out when a screen reader reads the window.
        QVERIFY(face->relations(QAccessible::Label).isEmpty());
    }

    void noticesReadAsTheyAppear_data()
    {
        QTest::addColumn<QString>("notice");
        QTest::addColumn<bool>("shown");
        QTest::addColumn<QAccessible::Role>("role");
        QTest::addColumn<QString>("text");
        const QString warning = "Warning!  Operation may not be satisfactory using these figures "
                                "unless functional trackage is redesigned.";
        QTest::newRow("the warning of a saturated layout, read with the results")
            << "lblWarn" << true << QAccessible::StaticText << warning;
        QTest::newRow("the warning, hidden: not saturated")
            << "lblWarn" << false << QAccessible::StaticText << warning;
        QTest::newRow("the printing message, announced as it shows")
            << "lblMessage" << true << QAccessible::Notification << "Sending analysis to printer";
    }

    // A notification is what a screen reader announces as it appears; the warning stands
    // there as the window opens and is read with it. Hidden, neither is read.
    void noticesReadAsTheyAppear()
    {
        QFETCH(QString, notice);
        QFETCH(bool, shown);
        QFETCH(QAccessible::Role, role);
        QFETCH(QString, text);
        frmAnswers answers(m_session, m_input.get());
        auto *label = answers.findChild<QLabel *>(notice);
        QVERIFY(label);
        label->setVisible(shown);
        answers.show();
        QVERIFY(QTest::qWaitForWindowExposed(&answers));
        QAccessibleInterface *face = accessible(label);
        QCOMPARE(face->role(), role);
        QCOMPARE(face->text(QAccessible::Name), text);
        QCOMPARE(face->state().invisible, !shown);
        QVERIFY(face->relations(QAccessible::Label).isEmpty());
    }

    void promptTakesANameEnteredThroughAccessibility_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("confirmed");
        QTest::newRow("OK pressed: the name is taken and the print confirmed") << "cmdOK" << true;
        QTest::newRow("Cancel pressed: the name is taken, nothing printed") << "cmdCancel" << false;
    }

    // As voice and switch control work: the name set through the box's text interface and
    // the button pressed through its action, with the focus never leaving the box.
    void promptTakesANameEnteredThroughAccessibility()
    {
        QFETCH(QString, button);
        QFETCH(bool, confirmed);
        m_session.strRoadName.clear();
        frmGetRoad prompt(m_session, m_input.get());
        prompt.show();
        QVERIFY(QTest::qWaitForWindowActive(&prompt));
        QAccessibleEditableTextInterface *box = accessible(prompt.txtRoadName)->editableTextInterface();
        QVERIFY(box);
        box->insertText(0, "Pine Ridge");
        QAccessibleActionInterface *press =
            accessible(prompt.findChild<QPushButton *>(button))->actionInterface();
        QVERIFY(press);
        press->doAction(QAccessibleActionInterface::pressAction());
        QTRY_VERIFY(!prompt.isVisible());
        QCOMPARE(QString::fromStdString(m_session.strRoadName), QString("Pine Ridge"));
        QCOMPARE(m_session.blnPrintOK, confirmed);
    }
};

QTEST_MAIN(AccessibilityTest)
#include "accessibility_test.moc"
