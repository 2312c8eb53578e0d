// The print sequence behind the results window's Print button, with the printer replaced
// by a recording one: the prompt first, the repaint, nothing unless confirmed, the
// message only after the hand-over, and what the user is told when printing fails.
#include "modal_windows.h"
#include "pdf_reading.h"
#include "recording_printer.h"
#include "report_samples.h"

#include "forms/frm_answers.h"
#include "forms/frm_get_road.h"
#include "report/print_failure.h"
#include "report/print_sequence.h"

#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace trelvane;
using namespace trelvane::test;

namespace {

// Lets the test keep the recording after the sequence has dropped its printer.
class ForwardingPrinter : public PrinterLayer {
public:
    explicit ForwardingPrinter(RecordingPrinter &target) : target_(target) {}
    void printEmptyLine() override { target_.printEmptyLine(); }
    void printLine(const std::vector<Piece> &pieces) override { target_.printLine(pieces); }
    void setTypeSize(double points) override { target_.setTypeSize(points); }
    void setBold(bool on) override { target_.setBold(on); }
    void endDocument() override { target_.endDocument(); }

private:
    RecordingPrinter &target_;
};

enum class Answer { ClickOK, EnterInBox, ClickCancel, EscInBox, CloseBox };
enum class Breakdown { NoDefaultPrinter, ServerUnreachable, RefusedAtTheEnd };

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    int count = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++count;
        return false;
    }
};

void answerPrompt(frmGetRoad *prompt, Answer answer)
{
    switch (answer) {
    case Answer::ClickOK:
        QTest::mouseClick(prompt->cmdOK, Qt::LeftButton);
        break;
    case Answer::EnterInBox:
        QTest::keyClick(prompt->txtRoadName, Qt::Key_Return);
        break;
    case Answer::ClickCancel:
        QTest::mouseClick(prompt->cmdCancel, Qt::LeftButton);
        break;
    case Answer::EscInBox:
        QTest::keyClick(prompt->txtRoadName, Qt::Key_Escape);
        break;
    case Answer::CloseBox:
        prompt->close();
        break;
    }
}

} // namespace

Q_DECLARE_METATYPE(Answer)
Q_DECLARE_METATYPE(Breakdown)

class PrintSequenceTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void confirmedPrintShowsTheMessageAfterTheHandOver();
    void nothingPrintedUnlessConfirmed_data();
    void nothingPrintedUnlessConfirmed();
    void nameIsOfferedAgainAtTheNextPrint();
    void printingFailureIsTold_data();
    void printingFailureIsTold();
    void reportCanBeSavedAsPdfInstead();
    void unwritablePdfIsToldAndOfferedAgain();

private:
    // Clicks Print; the prompt is answered by typing `typed` and then `answer`.
    void print(const QString &typed, Answer answer, QString *shownInBox = nullptr);

    QTemporaryDir dir;
    stdGeneral session;
    RecordingPrinter recorder;
    int printersOpened = 0;
    std::optional<Breakdown> breakdown;
    std::unique_ptr<frmAnswers> answers;
};

void PrintSequenceTest::initTestCase()
{
    QVERIFY(dir.isValid());
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

void PrintSequenceTest::init()
{
    session = stdGeneral{};
    session.strScale = "HO";
    session.intPassTrack = 10;
    session.intFuncTrack = 18;
    session.intStorTrack = 100;
    session.intEquivCars = 30;
    session.intFuncPct = 58;
    recorder = RecordingPrinter{};
    printersOpened = 0;
    breakdown.reset();

    PrintRoutes routes;
    routes.printer = [this]() -> std::unique_ptr<PrinterLayer> {
        ++printersOpened;
        if (breakdown == Breakdown::NoDefaultPrinter)
            throw PrintFailure(PrintFailureKind::NoDefaultPrinter, "server", QString());
        if (breakdown == Breakdown::ServerUnreachable)
            throw PrintFailure(PrintFailureKind::ServerUnreachable, "/run/cups/cups.sock",
                               "No such file or directory");
        return std::make_unique<ForwardingPrinter>(recorder);
    };
    recorder.onEnd = [this] {
        if (breakdown == Breakdown::RefusedAtTheEnd)
            throw PrintFailure(PrintFailureKind::JobRefused, "capture",
                               "Destination \"capture\" is not accepting jobs.");
    };
    answers = std::make_unique<frmAnswers>(session, makePrintSequence(session, routes), nullptr);
    // What ShowAnswers writes for the worked example.
    const ReportCaptions c = pineRidgeSaturated().captions;
    answers->lblPassSug->setText(c.passSug);
    answers->lblFuncStatus->setText(c.funcStatus);
    answers->lblFuncSug->setText(c.funcSug);
    answers->lblStorStatus->setText(c.storStatus);
    answers->lblStorSug->setText(c.storSug);
    answers->lblBasis->setText(c.basis);
    answers->lblHvy->setText(c.hvy);
    answers->lblMed->setText(c.med);
    answers->lblLite->setText(c.lite);
    answers->show();
    QVERIFY(QTest::qWaitForWindowActive(answers.get()));
}

void PrintSequenceTest::cleanup() { answers.reset(); }

void PrintSequenceTest::print(const QString &typed, Answer answer, QString *shownInBox)
{
    bool prompted = false;
    const PendingModal answering = onNextModal<frmGetRoad>([&](frmGetRoad *prompt) {
        prompted = true;
        if (shownInBox)
            *shownInBox = prompt->txtRoadName->text();
        if (!typed.isEmpty()) {
            QTest::keyClick(prompt->txtRoadName, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(prompt->txtRoadName, typed);
        }
        answerPrompt(prompt, answer);
    });
    QTest::mouseClick(answers->cmdPrint, Qt::LeftButton);
    QVERIFY2(prompted, "Print did not open the name prompt");
}

void PrintSequenceTest::confirmedPrintShowsTheMessageAfterTheHandOver()
{
    bool messageAtEnd = true, timerAtEnd = true;
    recorder.onEnd = [&] {
        messageAtEnd = answers->lblMessage->isVisible();
        timerAtEnd = answers->tmrMsgTimer->isActive();
    };
    print("Pine Ridge", Answer::ClickOK);

    QVERIFY2(!messageAtEnd && !timerAtEnd, "the message showed before the document ended");
    QCOMPARE(recorder.events.last(), QString("end"));
    QCOMPARE(recorder.lines.size(), std::size_t(35));
    QCOMPARE(recorder.lines.at(6).text, QString("Prepared for Pine Ridge"));
    QCOMPARE(recorder.lines.at(20).text,
             QString("      Move no more than 14.4 cars, or REDESIGN trackage."));
    QVERIFY(answers->lblMessage->isVisible());
    QCOMPARE(answers->lblMessage->text(), QString("Sending analysis to printer"));
    QVERIFY(answers->tmrMsgTimer->isActive());
    QTRY_VERIFY_WITH_TIMEOUT(!answers->lblMessage->isVisible(), 4000);
    QVERIFY(!answers->tmrMsgTimer->isActive());
}

void PrintSequenceTest::nothingPrintedUnlessConfirmed_data()
{
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<bool>("printed");
    QTest::addColumn<QString>("storedName");
    QTest::newRow("OK clicked: printed with the typed name")
        << Answer::ClickOK << true << "Pine Ridge";
    QTest::newRow("Enter in the box: printed with the typed name")
        << Answer::EnterInBox << true << "Pine Ridge";
    QTest::newRow("Cancel clicked: nothing printed, name kept")
        << Answer::ClickCancel << false << "Pine Ridge";
    QTest::newRow("Esc in the box: nothing printed, name kept")
        << Answer::EscInBox << false << "Pine Ridge";
    QTest::newRow("close box: nothing printed, name not taken")
        << Answer::CloseBox << false << "";
}

void PrintSequenceTest::nothingPrintedUnlessConfirmed()
{
    QFETCH(Answer, answer);
    QFETCH(bool, printed);
    QFETCH(QString, storedName);

    // A paint after the prompt is gone and before Print returns can only be the
    // sequence's own immediate repaint: no event loop runs in between.
    PaintCounter paints;
    answers->installEventFilter(&paints);
    int paintsWhenPromptGone = -1;
    const PendingModal answering = onNextModal<frmGetRoad>([&](frmGetRoad *prompt) {
        QObject::connect(prompt, &QObject::destroyed,
                         [&] { paintsWhenPromptGone = paints.count; });
        QTest::keyClicks(prompt->txtRoadName, "Pine Ridge");
        answerPrompt(prompt, answer);
    });
    QTest::mouseClick(answers->cmdPrint, Qt::LeftButton);
    const int paintsAtReturn = paints.count;
    answers->removeEventFilter(&paints);

    QVERIFY2(paintsWhenPromptGone >= 0, "the prompt never opened or was never discarded");
    QVERIFY2(paintsAtReturn > paintsWhenPromptGone, "the results window was not repainted");
    QCOMPARE(printersOpened, printed ? 1 : 0);
    QCOMPARE(recorder.events.contains("end"), printed);
    QCOMPARE(answers->lblMessage->isVisible(), printed);
    QCOMPARE(answers->tmrMsgTimer->isActive(), printed);
    QCOMPARE(session.blnPrintOK, printed);
    QCOMPARE(QString::fromStdString(session.strRoadName), storedName);
    if (printed)
        QCOMPARE(recorder.lines.at(6).text, QString("Prepared for Pine Ridge"));
}

void PrintSequenceTest::nameIsOfferedAgainAtTheNextPrint()
{
    QString firstBox, secondBox;
    print("Pine Ridge", Answer::ClickOK, &firstBox);
    const QStringList firstDocument = recorder.events;
    recorder.events.clear();
    recorder.lines.clear();
    print(QString(), Answer::EnterInBox, &secondBox);

    QCOMPARE(firstBox, QString());
    QCOMPARE(secondBox, QString("Pine Ridge"));
    QCOMPARE(printersOpened, 2);
    QVERIFY(firstDocument.contains("line Prepared for Pine Ridge"));
    QCOMPARE(recorder.events, firstDocument);
}

void PrintSequenceTest::printingFailureIsTold_data()
{
    QTest::addColumn<Breakdown>("what");
    QTest::addColumn<QString>("told");
    QTest::newRow("no default printer")
        << Breakdown::NoDefaultPrinter << "no default printer is set up";
    QTest::newRow("print server unreachable")
        << Breakdown::ServerUnreachable << "could not be reached";
    QTest::newRow("queue refuses the finished document")
        << Breakdown::RefusedAtTheEnd << "refused the job";
}

void PrintSequenceTest::printingFailureIsTold()
{
    QFETCH(Breakdown, what);
    QFETCH(QString, told);
    breakdown = what;

    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    bool messageDuringWarning = true;
    PendingModal warning;
    const PendingModal answering = onNextModal<frmGetRoad>([&](frmGetRoad *prompt) {
        warning = onNextModal<QMessageBox>([&](QMessageBox *box) {
            title = box->windowTitle();
            text = box->text();
            icon = box->icon();
            messageDuringWarning = answers->lblMessage->isVisible();
            QTest::mouseClick(box->findChild<QPushButton *>("cmdClose"), Qt::LeftButton);
        });
        QTest::keyClicks(prompt->txtRoadName, "Pine Ridge");
        QTest::mouseClick(prompt->cmdOK, Qt::LeftButton);
    });
    QTest::mouseClick(answers->cmdPrint, Qt::LeftButton);

    QVERIFY2(!text.isEmpty(), "no warning was shown");
    QCOMPARE(icon, QMessageBox::Warning);
    QCOMPARE(title, QString("Trelvane Analysis"));
    QVERIFY2(text.contains(told), qPrintable(text));
    QVERIFY2(text.contains("choose Print again"), qPrintable(text));
    QVERIFY2(text.contains("save the analysis as a PDF file"), qPrintable(text));
    QVERIFY(!messageDuringWarning);
    QVERIFY(!answers->lblMessage->isVisible());
    QVERIFY(!answers->tmrMsgTimer->isActive());
    QVERIFY(answers->isVisible());

    // The window is still usable: once the printer is back, Print prints.
    breakdown.reset();
    recorder = RecordingPrinter{};
    print(QString(), Answer::ClickOK);
    QVERIFY(recorder.events.contains("end"));
    QVERIFY(answers->lblMessage->isVisible());
}

void PrintSequenceTest::reportCanBeSavedAsPdfInstead()
{
    breakdown = Breakdown::NoDefaultPrinter;
    const QString path = dir.filePath("pine-ridge.pdf");
    bool dialogSeen = false;
    PendingModal warning, choosing;
    const PendingModal answering = onNextModal<frmGetRoad>([&](frmGetRoad *prompt) {
        warning = onNextModal<QMessageBox>([&](QMessageBox *box) {
            choosing = onNextModal<QFileDialog>([&](QFileDialog *dialog) {
                dialogSeen = true;
                auto *name = dialog->findChild<QLineEdit *>("fileNameEdit");
                QVERIFY(name);
                name->clear();
                QTest::keyClicks(name, path);
                QTest::keyClick(name, Qt::Key_Return);
            });
            QTest::mouseClick(box->findChild<QPushButton *>("cmdSavePdf"), Qt::LeftButton);
        });
        QTest::keyClicks(prompt->txtRoadName, "Pine Ridge");
        QTest::mouseClick(prompt->cmdOK, Qt::LeftButton);
    });
    QTest::mouseClick(answers->cmdPrint, Qt::LeftButton);

    QVERIFY(dialogSeen);
    QTRY_VERIFY(QFile::exists(path));
    const QStringList lines = pdfLineTexts(path);
    QCOMPARE(lines.size(), 22);
    QCOMPARE(lines.at(1), QString("Prepared for Pine Ridge"));
    QCOMPARE(lines.at(12), QString("Move no more than 14.4 cars, or REDESIGN trackage."));
    // Saved, not sent: the printing message stays hidden.
    QVERIFY(!answers->lblMessage->isVisible());
    QVERIFY(!answers->tmrMsgTimer->isActive());
}

void PrintSequenceTest::unwritablePdfIsToldAndOfferedAgain()
{
    breakdown = Breakdown::NoDefaultPrinter;
    const QString path = dir.filePath("missing folder/pine-ridge.pdf");
    QString secondText;
    bool secondOffersSave = false;
    PendingModal warning, choosing, warningAgain;
    const PendingModal answering = onNextModal<frmGetRoad>([&](frmGetRoad *prompt) {
        warning = onNextModal<QMessageBox>([&](QMessageBox *box) {
            choosing = onNextModal<QFileDialog>([&](QFileDialog *dialog) {
                warningAgain = onNextModal<QMessageBox>([&](QMessageBox *again) {
                    secondText = again->text();
                    secondOffersSave = again->findChild<QPushButton *>("cmdSavePdf");
                    QTest::mouseClick(again->findChild<QPushButton *>("cmdClose"),
                                      Qt::LeftButton);
                });
                auto *name = dialog->findChild<QLineEdit *>("fileNameEdit");
                QVERIFY(name);
                name->clear();
                QTest::keyClicks(name, path);
                QTest::keyClick(name, Qt::Key_Return);
            });
            QTest::mouseClick(box->findChild<QPushButton *>("cmdSavePdf"), Qt::LeftButton);
        });
        QTest::mouseClick(prompt->cmdOK, Qt::LeftButton);
    });
    QTest::mouseClick(answers->cmdPrint, Qt::LeftButton);

    QVERIFY2(secondText.contains("was not saved"), qPrintable(secondText));
    QVERIFY2(secondText.contains(path), qPrintable(secondText));
    QVERIFY2(secondText.contains("Choose another folder"), qPrintable(secondText));
    QVERIFY(secondOffersSave);
    QVERIFY(!QFile::exists(path));
    QVERIFY(!answers->lblMessage->isVisible());
    QVERIFY(answers->isVisible());
}

QTEST_MAIN(PrintSequenceTest)
#include "print_sequence_test.moc"
