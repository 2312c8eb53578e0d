// The input window on its own: start-up state, the track boxes, the counters, the scale
// group, keyboard order and ending the program.
#include "window_driving.h"

#include "analysis/session_state.h"
#include "forms/entry_box.h"
#include "forms/frm_input.h"
#include "forms/up_down.h"

#include <QClipboard>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace trelvane;
using trelvane::test::BeepCounter;

class FrmInputTest : public QObject {
    Q_OBJECT

private:
    stdGeneral m_session;
    QPointer<frmInput> m_window;

    template <typename T> T *child(const QString &name)
    {
        T *found = m_window->findChild<T *>(name);
        if (!found)
            qFatal("no child %s", qPrintable(name));
        return found;
    }
    QLineEdit *box(const QString &name) { return child<QLineEdit>(name); }

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

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

    void shouldHaveDefaultValue()
    {
        QCOMPARE(m_window->windowTitle(), QString("Trelvane   v1.2.0"));
        QCOMPARE(QApplication::focusWidget(), child<QRadioButton>("optScale3"));
        QVERIFY(child<QRadioButton>("optScale3")->isChecked());
        QCOMPARE(m_session.strScale, std::string("HO"));
        QCOMPARE(m_session.sngCarsPerFoot, 2.0f);
        QCOMPARE(m_session.vntCarFactors.size(), std::size_t(8));
        QVERIFY(std::holds_alternative<std::int16_t>(m_session.vntCarFactors[1]));
        QVERIFY(std::holds_alternative<double>(m_session.vntCarFactors[3]));
        QCOMPARE(std::get<double>(m_session.vntCarFactors[3]), 1.38);
        for (int i = 0; i < 8; ++i)
            QCOMPARE(child<QLabel>(QString("lblNoCars%1").arg(i))->text(), QString("0"));
        for (const char *name : {"txtPassTrack", "txtFuncTrack", "txtStorTrack"}) {
            QVERIFY(box(name)->text().isEmpty());
            QCOMPARE(box(name)->maxLength(), 4);
            QCOMPARE(box(name)->alignment() & Qt::AlignHCenter, Qt::AlignHCenter);
        }
        QCOMPARE(m_session.intPassTrack, 0);
        QCOMPARE(m_session.intFuncTrack, 0);
        QCOMPARE(m_session.intStorTrack, 0);
    }

    void shouldHaveTheDesignedWindow()
    {
        QCOMPARE(m_window->size(), QSize(503, 273));
        QCOMPARE(m_window->minimumSize(), m_window->maximumSize());
        const Qt::WindowFlags flags = m_window->windowFlags();
        QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
        QVERIFY(flags & Qt::WindowCloseButtonHint);
        QVERIFY(!m_window->windowIcon().isNull());
        QCOMPARE(m_window->font().family(), QString("Arial"));
        QCOMPARE(m_window->font().pointSizeF(), 8.25);
        auto *analyze = child<QPushButton>("cmdAnalyze");
        QVERIFY(analyze->font().bold());
        QCOMPARE(analyze->font().pointSizeF(), 9.75);
        QVERIFY(!analyze->isDefault() && !analyze->autoDefault());
        QCOMPARE(analyze->geometry(), QRect(288, 232, 93, 25));
        QCOMPARE(child<QGroupBox>("fraRollStk")->geometry(), QRect(288, 16, 198, 177));
        QCOMPARE(box("txtStorTrack")->geometry(), QRect(104, 144, 41, 19));
        QCOMPARE(child<QLabel>("lblNoCars7")->toolTip(), QString("Number of 86' cars"));
        QCOMPARE(box("txtPassTrack")->toolTip(),
                 QString(" Passing track is that used in conjuction with the mainline track in "
                         "order that trains can meet and pass one another. "));
    }

    void typedCharacters_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QList<QKeyCombination>>("keys");
        QTest::addColumn<QString>("typedAfter");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("beeps");

        const QList<QKeyCombination> none;
        QTest::newRow("digits 1 2 0 give 120") << "120" << none << "" << "120" << 0;
        QTest::newRow("a letter is refused") << "a" << none << "" << "" << 1;
        QTest::newRow("a minus sign is refused") << "-" << none << "" << "" << 1;
        QTest::newRow("a decimal point is refused") << "." << none << "" << "" << 1;
        QTest::newRow("a blank is refused") << " " << none << "" << "" << 1;
        QTest::newRow("letters between digits are dropped") << "1x2y" << none << "" << "12" << 2;
        QTest::newRow("a fifth digit is not inserted") << "12345" << none << "" << "1234" << 0;
        QTest::newRow("9999 is the largest footage") << "99999" << none << "" << "9999" << 0;
        QTest::newRow("backspace beeps and deletes nothing")
            << "12" << QList<QKeyCombination>{Qt::Key_Backspace} << "" << "12" << 1;
        QTest::newRow("enter beeps") << "12" << QList<QKeyCombination>{Qt::Key_Return} << "" << "12" << 1;
        QTest::newRow("escape beeps") << "12" << QList<QKeyCombination>{Qt::Key_Escape} << "" << "12" << 1;
        QTest::newRow("ctrl+v is a control character")
            << "12" << QList<QKeyCombination>{Qt::CTRL | Qt::Key_V} << "" << "12" << 1;
        QTest::newRow("ctrl+a is a control character")
            << "12" << QList<QKeyCombination>{Qt::CTRL | Qt::Key_A} << "3" << "123" << 1;
        QTest::newRow("delete corrects an entry")
            << "125" << QList<QKeyCombination>{Qt::Key_Left, Qt::Key_Delete} << "" << "12" << 0;
        QTest::newRow("arrows and home move the cursor")
            << "23" << QList<QKeyCombination>{Qt::Key_Home, Qt::Key_Right, Qt::Key_End, Qt::Key_Home} << "1"
            << "123" << 0;
        QTest::newRow("a digit overwrites a selection")
            << "450" << QList<QKeyCombination>{Qt::Key_Home, Qt::SHIFT | Qt::Key_End} << "7" << "7" << 0;
    }

    void typedCharacters()
    {
        QFETCH(QString, typed);
        QFETCH(QList<QKeyCombination>, keys);
        QFETCH(QString, typedAfter);
        QFETCH(QString, expected);
        QFETCH(int, beeps);

        QApplication::clipboard()->setText("34");
        BeepCounter beeper;
        QLineEdit *functional = box("txtFuncTrack");
        functional->setFocus();
        QTest::keyClicks(functional, typed);
        for (QKeyCombination key : keys)
            test::pressCombination(functional, key);
        QTest::keyClicks(functional, typedAfter);

        QCOMPARE(functional->text(), expected);
        QCOMPARE(beeper.count(), beeps);
    }

    void nonDigitTextNeverArrives_data()
    {
        QTest::addColumn<QString>("way");
        QTest::addColumn<QString>("offered");
        QTest::addColumn<QString>("expected");

        for (const QString way : {"shift+insert", "drop", "input method"}) {
            QTest::addRow("%s of letters is refused", qPrintable(way)) << way << "ab" << "7";
            QTest::addRow("%s of digits and letters is refused", qPrintable(way))
                << way << "12ab" << "7";
            QTest::addRow("%s of a negative number is refused", qPrintable(way))
                << way << "-5" << "7";
            QTest::addRow("%s of a decimal is refused", qPrintable(way)) << way << "3.5" << "7";
            QTest::addRow("%s of digits is taken", qPrintable(way)) << way << "42" << "742";
        }
        QTest::newRow("shift+insert of six digits keeps four")
            << "shift+insert" << "123456" << "7123";
    }

    void nonDigitTextNeverArrives()
    {
        QFETCH(QString, way);
        QFETCH(QString, offered);
        QFETCH(QString, expected);

        QLineEdit *storage = box("txtStorTrack");
        storage->setFocus();
        QTest::keyClicks(storage, "7");
        if (way == "shift+insert") {
            QApplication::clipboard()->setText(offered);
            QTest::keyClick(storage, Qt::Key_Insert, Qt::ShiftModifier);
        } else if (way == "drop") {
            QMimeData data;
            data.setText(offered);
            const QPointF end(storage->width() - 3, storage->height() / 2.0);
            QDragEnterEvent enter(end.toPoint(), Qt::CopyAction, &data, Qt::LeftButton,
                                  Qt::NoModifier);
            QApplication::sendEvent(storage, &enter);
            QDropEvent drop(end, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(storage, &drop);
        } else {
            QInputMethodEvent compose;
            compose.setCommitString(offered);
            QApplication::sendEvent(storage, &compose);
        }
        QCOMPARE(storage->text(), expected);
    }

    void commitOnLeavingABox_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("textAfter");
        QTest::addColumn<int>("field");

        QTest::newRow("an empty box becomes 0") << "" << "0" << 0;
        QTest::newRow("leading zeros are kept in the text") << "0075" << "0075" << 75;
        QTest::newRow("four digits") << "9999" << "9999" << 9999;
        QTest::newRow("a single zero") << "0" << "0" << 0;
    }

    void commitOnLeavingABox()
    {
        QFETCH(QString, typed);
        QFETCH(QString, textAfter);
        QFETCH(int, field);

        m_session.intPassTrack = 123; // shows the commit overwrites whatever was there
        QLineEdit *passing = box("txtPassTrack");
        passing->setFocus();
        QTest::keyClicks(passing, typed);
        QCOMPARE(m_session.intPassTrack, 123);
        QTest::keyClick(passing, Qt::Key_Tab);

        QCOMPARE(QApplication::focusWidget(), box("txtFuncTrack"));
        QCOMPARE(passing->text(), textAfter);
        QCOMPARE(int(m_session.intPassTrack), field);
        QCOMPARE(m_session.intFuncTrack, 0); // a box never left keeps its field
        QVERIFY(box("txtFuncTrack")->text().isEmpty());
    }

    void clickingAwayCommits()
    {
        QLineEdit *storage = box("txtStorTrack");
        storage->setFocus();
        QTest::keyClicks(storage, "250");
        QTest::mouseClick(box("txtPassTrack"), Qt::LeftButton);
        QCOMPARE(m_session.intStorTrack, 250);
        QCOMPARE(box("txtPassTrack")->text(), QString()); // not left yet
    }

    void counters_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<QList<QKeyCombination>>("keys");
        QTest::addColumn<int>("value");

        QTest::newRow("up three times") << 0 << QList<QKeyCombination>{Qt::Key_Up, Qt::Key_Up, Qt::Key_Up} << 3;
        QTest::newRow("no lower than 0") << 0 << QList<QKeyCombination>{Qt::Key_Down, Qt::Key_Down} << 0;
        QTest::newRow("down from 12") << 12 << QList<QKeyCombination>{Qt::Key_Down} << 11;
        QTest::newRow("no higher than 9999") << 9998 << QList<QKeyCombination>{Qt::Key_Up, Qt::Key_Up} << 9999;
        QTest::newRow("page up is ten") << 0 << QList<QKeyCombination>{Qt::Key_PageUp} << 10;
        QTest::newRow("digits typed set the number")
            << 5 << QList<QKeyCombination>{Qt::Key_3, Qt::Key_0, Qt::Key_0} << 300;
        QTest::newRow("a typed number stops at 9999")
            << 0 << QList<QKeyCombination>{Qt::Key_1, Qt::Key_2, Qt::Key_3, Qt::Key_4, Qt::Key_5}
            << 9999;
        // Key_Pause stands for the user pausing longer than the platform's typing interval.
        QTest::newRow("after a pause a new number begins")
            << 0 << QList<QKeyCombination>{Qt::Key_1, Qt::Key_2, Qt::Key_Pause, Qt::Key_7} << 7;
        QTest::newRow("an arrow ends the number typed")
            << 0 << QList<QKeyCombination>{Qt::Key_4, Qt::Key_Up, Qt::Key_2} << 2;
        QTest::newRow("Home goes to 0") << 250 << QList<QKeyCombination>{Qt::Key_Home} << 0;
        QTest::newRow("End goes to 9999") << 250 << QList<QKeyCombination>{Qt::Key_End} << 9999;
        QTest::newRow("Backspace and Delete change nothing")
            << 5 << QList<QKeyCombination>{Qt::Key_Backspace, Qt::Key_Delete} << 5;
    }

    void counters()
    {
        QFETCH(int, start);
        QFETCH(QList<QKeyCombination>, keys);
        QFETCH(int, value);

        auto *counter = child<UpDown>("udNoCars5");
        counter->setValue(start);
        counter->setFocus();
        for (QKeyCombination key : keys) {
            if (key.key() == Qt::Key_Pause)
                QTest::qWait(QApplication::keyboardInputInterval() + 100);
            else
                test::pressCombination(counter, key);
        }
        QCOMPARE(counter->value(), value);
        QCOMPARE(child<QLabel>("lblNoCars5")->text(), QString::number(value));
        QCOMPARE(child<QLabel>("lblNoCars4")->text(), QString("0"));
    }

    void counterArrowsAndWheel()
    {
        auto *counter = child<UpDown>("udNoCars0");
        QLabel *count = child<QLabel>("lblNoCars0");
        QTest::mouseClick(counter, Qt::LeftButton, {}, QPoint(counter->width() / 2, 3));
        QTest::mouseClick(counter, Qt::LeftButton, {}, QPoint(counter->width() / 2, 3));
        QCOMPARE(count->text(), QString("2"));
        QTest::mouseClick(counter, Qt::LeftButton, {},
                          QPoint(counter->width() / 2, counter->height() - 3));
        QCOMPARE(count->text(), QString("1"));

        const auto wheelUp = [counter] {
            const QPointF at(counter->width() / 2.0, counter->height() / 2.0);
            QWheelEvent wheel(at, counter->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(counter, &wheel);
        };
        counter->setFocus();
        wheelUp();
        QCOMPARE(count->text(), QString("2"));
        // The wheel steps the counter under the pointer, as other spin boxes' do.
        box("txtPassTrack")->setFocus();
        wheelUp();
        QCOMPARE(count->text(), QString("3"));
    }

    void scaleChoice_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<std::string>("scale");
        QTest::addColumn<float>("carsPerFoot");

        QTest::newRow("Z") << "optScale1" << std::string("Z") << 5.0f;
        QTest::newRow("N holds the single-precision 3.6") << "optScale2" << std::string("N") << 3.6f;
        QTest::newRow("S") << "optScale4" << std::string("S") << 1.5f;
        QTest::newRow("O") << "optScale5" << std::string("O") << 1.1f;
        QTest::newRow("G") << "optScale6" << std::string("G") << 0.5f;
    }

    void scaleChoice()
    {
        QFETCH(QString, option);
        QFETCH(std::string, scale);
        QFETCH(float, carsPerFoot);

        auto *chosen = child<QRadioButton>(option);
        QCOMPARE(chosen->property("Tag").toString().toStdString(), scale);
        QTest::mouseClick(chosen, Qt::LeftButton);
        QVERIFY(chosen->isChecked());
        QVERIFY(!child<QRadioButton>("optScale3")->isChecked());
        QCOMPARE(m_session.strScale, scale);
        QCOMPARE(m_session.sngCarsPerFoot, carsPerFoot);

        QTest::mouseClick(child<QRadioButton>("optScale3"), Qt::LeftButton);
        QCOMPARE(m_session.strScale, std::string("HO"));
        QCOMPARE(m_session.sngCarsPerFoot, 2.0f);
    }

    void arrowKeysMoveWithinTheScaleGroup()
    {
        child<QRadioButton>("optScale3")->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QCOMPARE(m_session.strScale, std::string("S"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
        QCOMPARE(m_session.strScale, std::string("N"));
        QVERIFY(child<QRadioButton>("optScale2")->isChecked());
    }

    void tabOrder_data()
    {
        QTest::addColumn<QString>("selectedScale");
        QTest::newRow("from HO") << "optScale3";
        QTest::newRow("from G, the last option") << "optScale6";
        QTest::newRow("from Z, the first option") << "optScale1";
    }

    void tabOrder()
    {
        QFETCH(QString, selectedScale);
        QTest::mouseClick(child<QRadioButton>(selectedScale), Qt::LeftButton);
        child<QRadioButton>(selectedScale)->setFocus();

        QStringList expected{"txtPassTrack", "txtFuncTrack", "txtStorTrack", "cmdAnalyze",
                             "cmdExit"};
        for (int i = 0; i < 8; ++i)
            expected << QString("udNoCars%1").arg(i);
        expected << selectedScale;
        QStringList visited;
        for (qsizetype i = 0; i < expected.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(visited, expected);
    }
};

// Ending the program needs an event loop of its own, so it lives apart from the window
// that each test above builds.
class ProgramEndTest : public QObject {
    Q_OBJECT
private slots:
    void endsAtOnce_data()
    {
        QTest::addColumn<bool>("byExit");
        QTest::newRow("Exit button") << true;
        QTest::newRow("close box") << false;
    }

    void endsAtOnce()
    {
        QFETCH(bool, byExit);
        // Another window stays open, so only the input window's own doing ends the loop.
        QWidget bystander;
        bystander.show();
        stdGeneral session;
        QPointer<frmInput> input = new frmInput(session);
        input->show();
        QTimer::singleShot(0, input, [input, byExit] {
            if (byExit)
                QTest::mouseClick(input->findChild<QPushButton *>("cmdExit"), Qt::LeftButton);
            else
                input->close();
        });
        QTimer guard;
        guard.setSingleShot(true);
        connect(&guard, &QTimer::timeout, qApp, [] { QCoreApplication::exit(1); });
        guard.start(5000);
        QCOMPARE(QCoreApplication::exec(), 0);
        QTRY_VERIFY(input.isNull());
    }
};

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    FrmInputTest window;
    ProgramEndTest programEnd;
    int failures = QTest::qExec(&window, argc, argv);
    failures += QTest::qExec(&programEnd, argc, argv);
    return failures;
}

#include "frm_input_test.moc"
