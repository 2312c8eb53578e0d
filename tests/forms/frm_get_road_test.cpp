// The railroad-name prompt through its widgets: its design, and how typing, Tab, Enter,
// Esc, the buttons and the close box answer through strRoadName and blnPrintOK.
#include "modal_windows.h"

#include "forms/frm_get_road.h"

#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace trelvane;
using trelvane::test::onNextModal;
using trelvane::test::PendingModal;

namespace {

enum class Finish {
    TabThenClickOK,
    ClickOK,
    EnterInBox,
    ClickCancel,
    EscInBox,
    TabThenEsc,
    TabTabThenEnter,
    CloseBox,
};

} // namespace

Q_DECLARE_METATYPE(Finish)

class FrmGetRoadTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void shouldHaveDefaultValue();
    void opensCentredOverTheResultsWindow();
    void focusOrderIsBoxOkCancel();
    void answers_data();
    void answers();
    void anyNameIsTaken_data();
    void anyNameIsTaken();

private:
    QWidget *results = nullptr; // stands in for the results window the prompt opens over
};

void FrmGetRoadTest::init()
{
    results = new QWidget(nullptr);
    results->setObjectName("results");
    results->setGeometry(300, 200, 385, 335);
    results->show();
    QVERIFY(QTest::qWaitForWindowExposed(results));
}

void FrmGetRoadTest::cleanup()
{
    delete results;
    results = nullptr;
}

void FrmGetRoadTest::shouldHaveDefaultValue()
{
    stdGeneral session;
    session.strRoadName = "Old Line";
    session.blnPrintOK = true;
    frmGetRoad prompt(session, results);

    QCOMPARE(session.blnPrintOK, false);
    QCOMPARE(prompt.windowTitle(), QString("Enter your railroad's name:"));
    QCOMPARE(prompt.minimumSize(), QSize(273, 94));
    QCOMPARE(prompt.maximumSize(), QSize(273, 94));
    QVERIFY(!(prompt.windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(prompt.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(prompt.windowFlags() & Qt::WindowCloseButtonHint);
    QVERIFY(!prompt.windowIcon().isNull());
    QCOMPARE(prompt.font().family(), QString("Arial"));
    QCOMPARE(prompt.font().pointSizeF(), 8.25);

    QCOMPARE(prompt.txtRoadName->text(), QString("Old Line"));
    QCOMPARE(prompt.txtRoadName->geometry(), QRect(16, 16, 241, 19));
    QCOMPARE(prompt.txtRoadName->toolTip(),
             QString(" Enter your railroad's name.  This will show on your report. "));

    QCOMPARE(prompt.cmdOK->text(), QString("OK"));
    QCOMPARE(prompt.cmdOK->geometry(), QRect(160, 56, 93, 25));
    QCOMPARE(prompt.cmdOK->toolTip(), QString("Print the analysis"));
    QVERIFY(prompt.cmdOK->isDefault());
    QCOMPARE(prompt.cmdCancel->text(), QString("Cancel"));
    QCOMPARE(prompt.cmdCancel->geometry(), QRect(56, 56, 93, 25));
    QCOMPARE(prompt.cmdCancel->toolTip(), QString("Cancel"));
    QVERIFY(!prompt.cmdCancel->isDefault());
    for (QPushButton *button : {prompt.cmdOK, prompt.cmdCancel}) {
        QCOMPARE(button->font().family(), QString("Arial"));
        QCOMPARE(button->font().pointSizeF(), 9.75);
        QVERIFY(button->font().bold());
    }
}

void FrmGetRoadTest::opensCentredOverTheResultsWindow()
{
    stdGeneral session;
    QPoint promptCentre, resultsCentre;
    const PendingModal answering = onNextModal<frmGetRoad>([&](frmGetRoad *prompt) {
        promptCentre = prompt->frameGeometry().center();
        resultsCentre = results->frameGeometry().center();
        prompt->close();
    });
    frmGetRoad prompt(session, results);
    prompt.exec();
    QVERIFY2((promptCentre - resultsCentre).manhattanLength() <= 4,
             qPrintable(QString("prompt centred at %1,%2, results window at %3,%4")
                            .arg(promptCentre.x())
                            .arg(promptCentre.y())
                            .arg(resultsCentre.x())
                            .arg(resultsCentre.y())));
}

void FrmGetRoadTest::focusOrderIsBoxOkCancel()
{
    stdGeneral session;
    QStringList order;
    const PendingModal answering = onNextModal<frmGetRoad>([&](frmGetRoad *prompt) {
        for (int i = 0; i < 4; ++i) {
            order << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        prompt->close();
    });
    frmGetRoad prompt(session, results);
    prompt.exec();
    QCOMPARE(order, QStringList({"txtRoadName", "cmdOK", "cmdCancel", "txtRoadName"}));
}

void FrmGetRoadTest::answers_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<Finish>("finish");
    QTest::addColumn<bool>("printOK");
    QTest::addColumn<QString>("storedAfter");

    QTest::newRow("first print: typed, Tab, OK clicked: confirmed, name stored")
        << "" << "Pine Ridge" << Finish::TabThenClickOK << true << "Pine Ridge";
    QTest::newRow("typed, OK clicked with the mouse: confirmed, name stored")
        << "" << "Pine Ridge" << Finish::ClickOK << true << "Pine Ridge";
    QTest::newRow("typed, Enter in the box: confirmed with the name just typed")
        << "Old Line" << " & Western" << Finish::EnterInBox << true << "Old Line & Western";
    QTest::newRow("nothing typed, Enter: the stored name is confirmed unchanged")
        << "Pine Ridge" << "" << Finish::EnterInBox << true << "Pine Ridge";
    QTest::newRow("typed, Cancel clicked: not confirmed, name still stored")
        << "" << "Pine Ridge" << Finish::ClickCancel << false << "Pine Ridge";
    QTest::newRow("typed, Esc in the box: not confirmed, name stored as Cancel would")
        << "" << "Pine Ridge" << Finish::EscInBox << false << "Pine Ridge";
    QTest::newRow("typed, Tab, Esc on OK: not confirmed, name stored by the Tab")
        << "" << "Pine Ridge" << Finish::TabThenEsc << false << "Pine Ridge";
    QTest::newRow("typed, Tab twice, Enter on Cancel: not confirmed, name stored")
        << "" << "Pine Ridge" << Finish::TabTabThenEnter << false << "Pine Ridge";
    QTest::newRow("typed, close box: not confirmed, the stored name stays")
        << "Old Line" << " & Western" << Finish::CloseBox << false << "Old Line";
    QTest::newRow("empty box, OK clicked: empty name confirmed")
        << "" << "" << Finish::ClickOK << true << "";
}

void FrmGetRoadTest::answers()
{
    QFETCH(QString, stored);
    QFETCH(QString, typed);
    QFETCH(Finish, finish);
    QFETCH(bool, printOK);
    QFETCH(QString, storedAfter);

    stdGeneral session;
    session.strRoadName = stored.toStdString();
    session.blnPrintOK = !printOK; // the opening must clear it
    bool answered = false;
    QString shown;
    const PendingModal answering = onNextModal<frmGetRoad>([&](frmGetRoad *prompt) {
        answered = true;
        shown = prompt->txtRoadName->text();
        // The stored name opens selected; End keeps it and types after it.
        QTest::keyClick(prompt->txtRoadName, Qt::Key_End);
        QTest::keyClicks(prompt->txtRoadName, typed);
        switch (finish) {
        case Finish::TabThenClickOK:
            QTest::keyClick(prompt->txtRoadName, Qt::Key_Tab);
            QTest::mouseClick(prompt->cmdOK, Qt::LeftButton);
            break;
        case Finish::ClickOK:
            QTest::mouseClick(prompt->cmdOK, Qt::LeftButton);
            break;
        case Finish::EnterInBox:
            QTest::keyClick(prompt->txtRoadName, Qt::Key_Return);
            break;
        case Finish::ClickCancel:
            QTest::mouseClick(prompt->cmdCancel, Qt::LeftButton);
            break;
        case Finish::EscInBox:
            QTest::keyClick(prompt->txtRoadName, Qt::Key_Escape);
            break;
        case Finish::TabThenEsc:
            QTest::keyClick(prompt->txtRoadName, Qt::Key_Tab);
            QTest::keyClick(prompt->cmdOK, Qt::Key_Escape);
            break;
        case Finish::TabTabThenEnter:
            QTest::keyClick(prompt->txtRoadName, Qt::Key_Tab);
            QTest::keyClick(prompt->cmdOK, Qt::Key_Tab);
            QTest::keyClick(prompt->cmdCancel, Qt::Key_Return);
            break;
        case Finish::CloseBox:
            prompt->close(); // what the title bar's close box sends
            break;
        }
    });
    frmGetRoad prompt(session, results);
    const int result = prompt.exec();

    QVERIFY2(answered, "the prompt never became the active modal window");
    QCOMPARE(shown, stored);
    QVERIFY(!prompt.isVisible());
    QCOMPARE(session.blnPrintOK, printOK);
    QCOMPARE(result, printOK ? int(QDialog::Accepted) : int(QDialog::Rejected));
    QCOMPARE(QString::fromStdString(session.strRoadName), storedAfter);
}

void FrmGetRoadTest::anyNameIsTaken_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("forty thousand characters, beyond QLineEdit's usual limit")
        << QString(40000, 'R');
    QTest::newRow("right-to-left") << QString::fromUtf8("מסילת הרכבת של הגליל");
    QTest::newRow("emoji") << QString::fromUtf8("Steam 🚂 & Diesel 🚃");
    QTest::newRow("tab inside") << QString("Pine\tRidge");
    QTest::newRow("line break inside") << QString("Pine\nRidge");
    QTest::newRow("only blanks") << QString("   ");
}

void FrmGetRoadTest::anyNameIsTaken()
{
    QFETCH(QString, name);
    stdGeneral session;
    bool answered = false;
    const PendingModal answering = onNextModal<frmGetRoad>([&](frmGetRoad *prompt) {
        answered = true;
        QGuiApplication::clipboard()->setText(name);
        QTest::keyClick(prompt->txtRoadName, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(prompt->txtRoadName, Qt::Key_Return);
    });
    frmGetRoad prompt(session, results);
    prompt.exec();
    QVERIFY(answered);
    QVERIFY(session.blnPrintOK);
    QCOMPARE(QString::fromStdString(session.strRoadName).size(), name.size());
    QCOMPARE(QString::fromStdString(session.strRoadName), name);
}

QTEST_MAIN(FrmGetRoadTest)
#include "frm_get_road_test.moc"
