// Printing from the program's own windows to a private CUPS server: footages typed,
// Analyze, Print, a name, OK; the captured job read back. And what the user sees when the
// server is down, the queue refuses jobs or there is no printer, or when they cancel.
#include "modal_windows.h"
#include "pdf_reading.h"
#include "private_cups_server.h"
#include "report_samples.h"

#include "forms/frm_answers.h"
#include "forms/frm_get_road.h"
#include "forms/start_up.h"
#include "forms/up_down.h"
#include "report/print_sequence.h"

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace trelvane;
using namespace trelvane::test;

namespace {

enum class Outage { QueueRejecting, ServerStopped, NoPrinter };
enum class NoAnswer { ClickCancel, CloseBox };

// What the results window showed right after one Print.
struct PrintOutcome {
    bool prompted = false;
    QString boxText;       // the prompt's box as it opened
    QString warning;       // the message box's text, if one came
    bool messageShown = false;
    bool timerRunning = false;
    bool resultsOpen = false;
};

} // namespace

Q_DECLARE_METATYPE(Outage)
Q_DECLARE_METATYPE(NoAnswer)

class PrintEndToEndTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void confirmedPrintsReachTheQueue();
    void failedPrintIsToldAndNothingSent_data();
    void failedPrintIsToldAndNothingSent();
    void unconfirmedPrintSendsNothing_data();
    void unconfirmedPrintSendsNothing();

private:
    void enterWorkedExample();
    // Analyze, run inResults while the results window is open, then close it with OK.
    bool analyze(const std::function<void(frmAnswers *)> &inResults);
    // One Print from the open results window; the prompt is answered by `answer`, and a
    // warning, if one comes, is closed.
    PrintOutcome print(frmAnswers *answers, const std::function<void(frmGetRoad *)> &answer);

    PrivateCupsServer server;
    stdGeneral session;
    QPointer<QWidget> input;
};

void PrintEndToEndTest::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    server.useInThisProcess();
    QString error;
    QVERIFY2(server.start(&error), qPrintable(error));
    QVERIFY2(server.addCaptureQueue(&error), qPrintable(error));
}

void PrintEndToEndTest::cleanupTestCase()
{
    server.stop();
    QVERIFY(!server.isRunning());
}

void PrintEndToEndTest::init()
{
    session = stdGeneral{};
    Main(session, makePrintSequence(session));
    for (QWidget *window : QApplication::topLevelWidgets())
        if (window->objectName() == "frmInput" && window->isVisible())
            input = window;
    QVERIFY(input);
    QVERIFY(QTest::qWaitForWindowActive(input));
}

void PrintEndToEndTest::cleanup()
{
    if (input)
        input->close(); // the window deletes itself
    QTRY_VERIFY(!input);
}

void PrintEndToEndTest::enterWorkedExample()
{
    const std::pair<const char *, const char *> boxes[] = {
        {"txtPassTrack", "10"}, {"txtFuncTrack", "18"}, {"txtStorTrack", "100"}};
    for (const auto &[name, footage] : boxes) {
        auto *box = input->findChild<QLineEdit *>(name);
        QVERIFY(box);
        QTest::mouseClick(box, Qt::LeftButton);
        QTest::keyClicks(box, footage);
    }
    auto *forties = input->findChild<UpDown *>("udNoCars1");
    QVERIFY(forties);
    QTest::mouseClick(forties, Qt::LeftButton, {}, forties->rect().center());
    forties->setFocus();
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(forties, Qt::Key_PageUp);
    QCOMPARE(forties->value(), 30);
}

bool PrintEndToEndTest::analyze(const std::function<void(frmAnswers *)> &inResults)
{
    bool opened = false;
    const PendingModal results = onNextModal<frmAnswers>([&](frmAnswers *answers) {
        opened = true;
        inResults(answers);
        if (answers->isVisible())
            QTest::mouseClick(answers->cmdOK, Qt::LeftButton);
    });
    QTest::mouseClick(input->findChild<QPushButton *>("cmdAnalyze"), Qt::LeftButton);
    return opened;
}

PrintOutcome PrintEndToEndTest::print(frmAnswers *answers,
                                      const std::function<void(frmGetRoad *)> &answer)
{
    PrintOutcome outcome;
    PendingModal warning; // outlives the prompt: the warning comes after it closes
    const PendingModal answering = onNextModal<frmGetRoad>([&](frmGetRoad *prompt) {
        outcome.prompted = true;
        outcome.boxText = prompt->txtRoadName->text();
        warning = onNextModal<QMessageBox>(
            [&](QMessageBox *box) {
                outcome.warning = box->text();
                QTest::mouseClick(box->findChild<QPushButton *>("cmdClose"), Qt::LeftButton);
            },
            5000);
        answer(prompt);
    });
    QTest::mouseClick(answers->cmdPrint, Qt::LeftButton);
    outcome.messageShown = answers->lblMessage->isVisible();
    outcome.timerRunning = answers->tmrMsgTimer->isActive();
    outcome.resultsOpen = answers->isVisible();
    return outcome;
}

void PrintEndToEndTest::confirmedPrintsReachTheQueue()
{
    const int before = server.capturedJobs().size();
    enterWorkedExample();
    PrintOutcome first, second;
    bool firstArrived = false, secondArrived = false;
    const bool opened = analyze([&](frmAnswers *answers) {
        first = print(answers, [](frmGetRoad *prompt) {
            QTest::keyClicks(prompt->txtRoadName, "Pine Ridge");
            QTest::mouseClick(prompt->cmdOK, Qt::LeftButton);
        });
        firstArrived = QTest::qWaitFor([&] { return server.capturedJobs().size() == before + 1; },
                                       30000);
        // The name is offered again; Enter in the box confirms it.
        second = print(answers, [](frmGetRoad *prompt) {
            QTest::keyClick(prompt->txtRoadName, Qt::Key_Return);
        });
        secondArrived = QTest::qWaitFor(
            [&] { return server.capturedJobs().size() == before + 2; }, 30000);
    });

    QVERIFY(opened);
    QVERIFY(first.prompted);
    QCOMPARE(first.boxText, QString());
    QVERIFY2(first.warning.isEmpty(), qPrintable(first.warning));
    QVERIFY(first.messageShown);
    QVERIFY(first.timerRunning);
    QCOMPARE(second.boxText, QString("Pine Ridge"));
    QVERIFY2(second.warning.isEmpty(), qPrintable(second.warning));
    QVERIFY(second.messageShown);
    QVERIFY2(firstArrived && secondArrived, qPrintable(server.log()));

    const QStringList jobs = server.capturedJobs().mid(before);
    QCOMPARE(jobs.size(), 2);
    for (const QString &job : jobs) {
        QCOMPARE(pdfPageCount(job), 1);
        QString error;
        QStringList texts;
        for (const PdfTextLine &line : pdfTextLines(job, &error))
            texts << line.text;
        QVERIFY2(error.isEmpty(), qPrintable(error));
        // The date is today's in the United States short format.
        QCOMPARE(texts, pineRidgeSaturatedPage(QDate::currentDate().toString("M/d/yy")));
        QCOMPARE(pdfBoldTexts(job), QStringList{"*** TRELVANE ***"});
    }

    // The two halves of the warning start at the same zone, right of "Warning!".
    const QList<PdfLine> lines = pdfLines(jobs.at(0));
    QCOMPARE(lines.size(), 22);
    const PdfLine &upper = lines.at(20);
    const PdfLine &lower = lines.at(21);
    QCOMPARE(upper.words.at(1).text, QString("Operation"));
    QVERIFY(upper.words.at(1).xMin > upper.words.at(0).xMax);
    QVERIFY2(std::abs(upper.words.at(1).xMin - lower.words.at(0).xMin) < 0.6,
             qPrintable(QString("%1 against %2")
                            .arg(upper.words.at(1).xMin)
                            .arg(lower.words.at(0).xMin)));

    // Two confirmed prints: the same page, word for word and place for place.
    const QList<PdfLine> again = pdfLines(jobs.at(1));
    QCOMPARE(again.size(), lines.size());
    for (int i = 0; i < lines.size(); ++i) {
        QCOMPARE(again.at(i).text(), lines.at(i).text());
        QCOMPARE(again.at(i).top(), lines.at(i).top());
        QCOMPARE(again.at(i).left(), lines.at(i).left());
    }
}

void PrintEndToEndTest::failedPrintIsToldAndNothingSent_data()
{
    QTest::addColumn<Outage>("outage");
    QTest::addColumn<QString>("told");
    QTest::newRow("queue rejecting jobs")
        << Outage::QueueRejecting << "the printer \"capture\" refused the job";
    QTest::newRow("print server stopped") << Outage::ServerStopped << "could not be reached";
    QTest::newRow("no printer at all") << Outage::NoPrinter << "no default printer is set up";
}

void PrintEndToEndTest::failedPrintIsToldAndNothingSent()
{
    QFETCH(Outage, outage);
    QFETCH(QString, told);

    const QStringList jobsBefore = server.capturedJobs();
    const QStringList knownBefore = server.jobsKnownToServer();
    QString error;
    switch (outage) {
    case Outage::QueueRejecting:
        QVERIFY2(server.run("cupsreject", {"capture"}, &error), qPrintable(error));
        break;
    case Outage::ServerStopped:
        server.stop();
        break;
    case Outage::NoPrinter:
        QVERIFY2(server.run("lpadmin", {"-x", "capture"}, &error), qPrintable(error));
        break;
    }

    enterWorkedExample();
    PrintOutcome failed, retried;
    const bool opened = analyze([&](frmAnswers *answers) {
        failed = print(answers, [](frmGetRoad *prompt) {
            QTest::keyClicks(prompt->txtRoadName, "Pine Ridge");
            QTest::mouseClick(prompt->cmdOK, Qt::LeftButton);
        });
        // Still usable: Print opens the prompt again, which keeps the name.
        retried = print(answers, [](frmGetRoad *prompt) {
            QTest::mouseClick(prompt->cmdCancel, Qt::LeftButton);
        });
    });

    switch (outage) {
    case Outage::QueueRejecting:
        QVERIFY2(server.run("cupsaccept", {"capture"}, &error), qPrintable(error));
        break;
    case Outage::ServerStopped:
        QVERIFY2(server.start(&error), qPrintable(error));
        break;
    case Outage::NoPrinter:
        QVERIFY2(server.addCaptureQueue(&error), qPrintable(error));
        break;
    }

    QVERIFY(opened);
    QVERIFY(failed.prompted);
    QVERIFY2(failed.warning.contains(told), qPrintable(failed.warning));
    QVERIFY2(failed.warning.contains("choose Print again"), qPrintable(failed.warning));
    QVERIFY(!failed.messageShown);
    QVERIFY(!failed.timerRunning);
    QVERIFY(failed.resultsOpen);
    QVERIFY(retried.prompted);
    QCOMPARE(retried.boxText, QString("Pine Ridge"));
    QVERIFY(retried.warning.isEmpty());
    QVERIFY(!retried.messageShown);
    QCOMPARE(server.capturedJobs(), jobsBefore);
    for (const QString &id : server.jobsKnownToServer())
        QVERIFY2(knownBefore.contains(id), qPrintable("the server took job " + id));
}

void PrintEndToEndTest::unconfirmedPrintSendsNothing_data()
{
    QTest::addColumn<NoAnswer>("how");
    QTest::newRow("Cancel clicked") << NoAnswer::ClickCancel;
    QTest::newRow("close box") << NoAnswer::CloseBox;
}

void PrintEndToEndTest::unconfirmedPrintSendsNothing()
{
    QFETCH(NoAnswer, how);
    const QStringList knownBefore = server.jobsKnownToServer();
    enterWorkedExample();
    PrintOutcome outcome;
    QVERIFY(analyze([&](frmAnswers *answers) {
        outcome = print(answers, [how](frmGetRoad *prompt) {
            QTest::keyClicks(prompt->txtRoadName, "Pine Ridge");
            if (how == NoAnswer::ClickCancel)
                QTest::mouseClick(prompt->cmdCancel, Qt::LeftButton);
            else
                prompt->close();
        });
    }));
    QVERIFY(outcome.prompted);
    QVERIFY(outcome.warning.isEmpty());
    QVERIFY(!outcome.messageShown);
    QVERIFY(!outcome.timerRunning);
    QVERIFY(!session.blnPrintOK);
    // A job would have been created before Print returned; none was.
    QCOMPARE(server.jobsKnownToServer(), knownBefore);
}

QTEST_MAIN(PrintEndToEndTest)
#include "print_end_to_end_test.moc"
