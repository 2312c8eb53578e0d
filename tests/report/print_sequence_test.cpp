// The print sequence behind the results window's Print button, from the program's own
// windows to a private CUPS server: footages typed, Analyze, Print, a name, OK, and the
// job read back from the queue or the printer. The prompt first, the repaint, nothing
// unless confirmed, the message only after the hand-over, the printer's own paper and the
// locale's date, and what the user is told when the server is down, frozen or without a
// default printer, or the printer paused or refusing jobs.
#include "modal_windows.h"
#include "pdf_reading.h"
#include "private_cups_server.h"
#include "report_page_sample.h"

#include "forms/entry_box.h"
#include "forms/frm_answers.h"
#include "forms/frm_get_road.h"
#include "forms/frm_input.h"
#include "forms/preview_window.h"
#include "forms/up_down.h"

#include <QAccessible>
#include <QClipboard>
#include <QCursor>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QAction>
#include <QMenu>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <clocale>

using namespace trelvane;
using namespace trelvane::test;

namespace {

enum class Answer { ClickOK, EnterInBox, ClickCancel, EscInBox, CloseBox };
enum class Outage { QueueRejecting, ServerStopped, ServerFrozen, NoPrinter };
enum class Queue { Raw, PostScriptA4, PostScriptLetter, EverywhereA4 };
enum class WayOut {
    Copy,
    SaveAsPdf,
    SaveAsPdfWithoutServer,
    SaveOverAFile,
    PreviewThenPrint,
    AnotherPrinter
};

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

// Notes how many jobs the server knew when a widget was first shown.
class ShowWitness : public QObject {
public:
    explicit ShowWitness(const PrivateCupsServer &server) : server_(server) {}
    std::optional<qsizetype> jobsWhenShown;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Show && !jobsWhenShown)
            jobsWhenShown = server_.jobsKnownToServer().size();
        return false;
    }

private:
    const PrivateCupsServer &server_;
};

// Types the file's path into the save dialog and confirms it, as a user would.
void chooseFile(QFileDialog *dialog, const QString &path)
{
    auto *name = dialog->findChild<QLineEdit *>("fileNameEdit");
    QVERIFY(name);
    name->clear();
    QTest::keyClicks(name, path);
    QTest::keyClick(name, Qt::Key_Return);
}

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

// What the results window showed right after one Print.
struct PrintOutcome {
    bool prompted = false;
    QString boxText;   // the prompt's box as it opened
    QString warning;   // the message box's text, if one came
    QString warningName;
    QString warningTitle;
    QMessageBox::Icon warningIcon = QMessageBox::NoIcon;
    Qt::TextFormat warningFormat = Qt::AutoText;
    qint64 warnedAfterMs = -1; // from OK in the prompt
    bool messageDuringWarning = false;
    bool messageShown = false;
    bool timerRunning = false;
    bool resultsOpen = false;
};

} // namespace

Q_DECLARE_METATYPE(Answer)
Q_DECLARE_METATYPE(Outage)
Q_DECLARE_METATYPE(Queue)
Q_DECLARE_METATYPE(WayOut)

class PrintSequenceTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void confirmedPrintsReachTheQueue();
    void nothingPrintedUnlessConfirmed_data();
    void nothingPrintedUnlessConfirmed();
    void printsOnThePrinterPaperWithTheLocaleDate_data();
    void printsOnThePrinterPaperWithTheLocaleDate();
    void failedPrintIsToldAndNothingSent_data();
    void failedPrintIsToldAndNothingSent();
    void pausedPrinterIsTold_data();
    void pausedPrinterIsTold();
    void anotherPrinterCanBeChosenWithoutADefault();
    void reportCanBeSavedAsPdfInstead_data();
    void reportCanBeSavedAsPdfInstead();
    void unwritablePdfIsToldAndOfferedAgain();
    void analysisLeavesTheWindow_data();
    void analysisLeavesTheWindow();

private:
    void enterWorkedExample();
    // Analyze, run inResults while the results window is open, then close it with OK.
    bool analyze(const std::function<void(frmAnswers *)> &inResults);
    // One Print from the open results window: the prompt, once looked at by `onPrompt`, is
    // answered by typing `typed` and then `answer`; a warning, if one comes, is closed.
    PrintOutcome print(frmAnswers *answers, const QString &typed, Answer answer,
                       const std::function<void(frmGetRoad *)> &onPrompt = {});

    QTemporaryDir dir;
    PrivateCupsServer server;
    stdGeneral session;
    QPointer<QWidget> input;
};

// The paper and date formats of these, and of the C locale, the tests print in.
const QString kLocales[] = {"C.UTF-8", "en_US.UTF-8", "en_CA.UTF-8", "de_DE.UTF-8"};

void PrintSequenceTest::initTestCase()
{
    QVERIFY(dir.isValid());
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    for (const QString &locale : kLocales)
        QVERIFY2(std::setlocale(LC_ALL, locale.toLatin1().constData()),
                 qPrintable(locale + " is not made (LOCPATH=" + qEnvironmentVariable("LOCPATH") + ")"));
    std::setlocale(LC_ALL, "C.UTF-8");
    QString error;
    QVERIFY2(server.startForThisProcess(&error), qPrintable(error));
}

void PrintSequenceTest::cleanupTestCase()
{
    server.stop();
    QVERIFY(!server.isRunning());
}

void PrintSequenceTest::init()
{
    session = stdGeneral{};
    Main(session);
    for (QWidget *window : QApplication::topLevelWidgets())
        if (window->objectName() == "frmInput" && window->isVisible())
            input = window;
    QVERIFY(input);
    QVERIFY(QTest::qWaitForWindowActive(input));
    enterWorkedExample();
}

void PrintSequenceTest::cleanup()
{
    if (input)
        input->close(); // the window deletes itself
    QTRY_VERIFY(!input);
}

void PrintSequenceTest::enterWorkedExample()
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

bool PrintSequenceTest::analyze(const std::function<void(frmAnswers *)> &inResults)
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

PrintOutcome PrintSequenceTest::print(frmAnswers *answers, const QString &typed, Answer answer,
                                      const std::function<void(frmGetRoad *)> &onPrompt)
{
    PrintOutcome outcome;
    QElapsedTimer sinceOK;
    PendingModal warning; // outlives the prompt: the warning comes after it closes
    const PendingModal answering = onNextModal<frmGetRoad>([&](frmGetRoad *prompt) {
        outcome.prompted = true;
        outcome.boxText = prompt->txtRoadName->text();
        if (onPrompt)
            onPrompt(prompt);
        // A frozen server is given ten seconds before the warning comes.
        warning = onNextModal<QMessageBox>(
            [&](QMessageBox *box) {
                outcome.warnedAfterMs = sinceOK.elapsed();
                outcome.warning = box->text();
                outcome.warningName = box->objectName();
                outcome.warningTitle = box->windowTitle();
                outcome.warningIcon = box->icon();
                outcome.warningFormat = box->textFormat();
                outcome.messageDuringWarning = answers->lblMessage->isVisible();
                QPushButton *close = box->findChild<QPushButton *>("cmdClose");
                QTest::mouseClick(close ? close : box->button(QMessageBox::Ok), Qt::LeftButton);
            },
            15000);
        if (!typed.isEmpty()) {
            QTest::keyClick(prompt->txtRoadName, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(prompt->txtRoadName, typed);
        }
        sinceOK.start();
        answerPrompt(prompt, answer);
    });
    QTest::mouseClick(answers->cmdPrint, Qt::LeftButton);
    outcome.messageShown = answers->lblMessage->isVisible();
    outcome.timerRunning = answers->tmrMsgTimer->isActive();
    outcome.resultsOpen = answers->isVisible();
    return outcome;
}

void PrintSequenceTest::confirmedPrintsReachTheQueue()
{
    const int before = server.capturedJobs().size();
    const qsizetype knownBefore = server.jobsKnownToServer().size();
    PrintOutcome first, second;
    std::optional<qsizetype> jobsWhenMessageShown;
    bool messageEnded = false, timerStopped = false;
    bool firstArrived = false, secondArrived = false;
    const bool opened = analyze([&](frmAnswers *answers) {
        ShowWitness witness(server);
        answers->lblMessage->installEventFilter(&witness);
        first = print(answers, "Pine Ridge", Answer::ClickOK);
        answers->lblMessage->removeEventFilter(&witness);
        jobsWhenMessageShown = witness.jobsWhenShown;
        firstArrived = QTest::qWaitFor([&] { return server.capturedJobs().size() == before + 1; },
                                       30000);
        messageEnded = QTest::qWaitFor([&] { return !answers->lblMessage->isVisible(); }, 4000);
        timerStopped = !answers->tmrMsgTimer->isActive();
        // The name is offered again; Enter in the box confirms it.
        second = print(answers, QString(), Answer::EnterInBox);
        secondArrived = QTest::qWaitFor(
            [&] { return server.capturedJobs().size() == before + 2; }, 30000);
    });

    QVERIFY(opened);
    QVERIFY(first.prompted);
    QCOMPARE(first.boxText, QString());
    QVERIFY2(first.warning.isEmpty(), qPrintable(first.warning));
    QVERIFY(first.messageShown);
    QVERIFY(first.timerRunning);
    // The message showed only once the server had the job.
    QVERIFY2(jobsWhenMessageShown == knownBefore + 1, "the message showed before the hand-over");
    QVERIFY2(messageEnded, "the printing message was not hidden again");
    QVERIFY(timerStopped);
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
        // The date is today's in the C library's short format of the C locale.
        QCOMPARE(texts, pineRidgeSaturatedPage(QDate::currentDate().toString("MM/dd/yy")));
        QCOMPARE(pdfBoldTexts(job), QStringList{"*** TRELVANE ***"});
        const ToolOutput info = runTool("pdfinfo", {job});
        QVERIFY2(info.out.contains(QRegularExpression("Title:\\s+Trelvane analysis")),
                 qPrintable(info.out));
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

    const int capturedBefore = server.capturedJobs().size();
    const qsizetype knownBefore = server.jobsKnownToServer().size();
    int paintsWhenPromptGone = -1, paintsAtReturn = -1;
    PrintOutcome outcome;
    QVERIFY(analyze([&](frmAnswers *answers) {
        // A paint after the prompt is gone and before Print returns can only be the
        // sequence's own immediate repaint: no event loop runs in between.
        PaintCounter paints;
        answers->installEventFilter(&paints);
        outcome = print(answers, "Pine Ridge", answer, [&](frmGetRoad *prompt) {
            QObject::connect(prompt, &QObject::destroyed,
                             [&] { paintsWhenPromptGone = paints.count; });
        });
        paintsAtReturn = paints.count;
        answers->removeEventFilter(&paints);
    }));

    QVERIFY(outcome.prompted);
    QVERIFY2(paintsWhenPromptGone >= 0, "the prompt never opened or was never discarded");
    QVERIFY2(paintsAtReturn > paintsWhenPromptGone, "the results window was not repainted");
    QVERIFY2(outcome.warning.isEmpty(), qPrintable(outcome.warning));
    // A job is created before Print returns; none is unless the print was confirmed.
    QCOMPARE(server.jobsKnownToServer().size(), knownBefore + (printed ? 1 : 0));
    QCOMPARE(outcome.messageShown, printed);
    QCOMPARE(outcome.timerRunning, printed);
    QCOMPARE(session.blnPrintOK, printed);
    QCOMPARE(QString::fromStdString(session.strRoadName), storedName);
    if (printed) {
        QTRY_COMPARE_WITH_TIMEOUT(server.capturedJobs().size(), capturedBefore + 1, 30000);
        QCOMPARE(pdfLineTexts(server.capturedJobs().last()).at(1),
                 QString("Prepared for Pine Ridge"));
    }
}

void PrintSequenceTest::printsOnThePrinterPaperWithTheLocaleDate_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<Queue>("queue");
    QTest::addColumn<QSizeF>("page"); // points
    QTest::addColumn<QString>("date"); // today, in the locale's short format
    const QSizeF a4(595.276, 841.89), letter(612, 792);
    QTest::newRow("C locale, a raw queue without paper: the locale's A4")
        << "C.UTF-8" << Queue::Raw << a4 << "MM/dd/yy";
    QTest::newRow("United States, a raw queue: the locale's Letter")
        << "en_US.UTF-8" << Queue::Raw << letter << "MM/dd/yyyy";
    QTest::newRow("Canada, metric but on Letter paper, a raw queue: Letter")
        << "en_CA.UTF-8" << Queue::Raw << letter << "yyyy-MM-dd";
    QTest::newRow("Germany, a raw queue: A4") << "de_DE.UTF-8" << Queue::Raw << a4 << "dd.MM.yyyy";
    // The PostScript driver's output keeps the text's places but not its letters.
    QTest::newRow("United States, a PostScript printer loaded with A4: A4 at full size")
        << "en_US.UTF-8" << Queue::PostScriptA4 << a4 << QString();
    QTest::newRow("Germany, a PostScript printer loaded with Letter: Letter at full size")
        << "de_DE.UTF-8" << Queue::PostScriptLetter << letter << QString();
    QTest::newRow("United States, an IPP Everywhere printer with A4: A4 at full size")
        << "en_US.UTF-8" << Queue::EverywhereA4 << a4 << "MM/dd/yyyy";
}

// The page is laid out on the paper the printer is loaded with, so no driver shrinks or
// moves it; a printer that names no paper gets the locale's.
void PrintSequenceTest::printsOnThePrinterPaperWithTheLocaleDate()
{
    QFETCH(QString, locale);
    QFETCH(Queue, queue);
    QFETCH(QSizeF, page);
    QFETCH(QString, date);

    QString name = "capture", error;
    bool added = true;
    const QStringList postScript{"-m", "drv:///sample.drv/generic.ppd", "-o"};
    switch (queue) {
    case Queue::Raw:
        break;
    case Queue::PostScriptA4:
        name = "psa4";
        added = server.addQueue(name, "PostScript printer", postScript + QStringList{"PageSize=A4"}, &error);
        break;
    case Queue::PostScriptLetter:
        name = "psletter";
        added = server.addQueue(name, "PostScript printer", postScript + QStringList{"PageSize=Letter"},
                                &error);
        break;
    case Queue::EverywhereA4:
        name = "everywhere";
        added = server.addEverywherePrinter(name, &error);
        break;
    }
    QVERIFY2(added, qPrintable(error));
    // The next tests find the capturing queue alone, as the default, whatever happens here.
    const auto restore = qScopeGuard([&] {
        QString ignored;
        server.run("lpadmin", {"-d", "capture"}, &ignored);
        if (queue != Queue::Raw)
            server.run("lpadmin", {"-x", name}, &ignored);
    });
    const auto received = [&] {
        return queue == Queue::EverywhereA4 ? server.everywhereJobs() : server.capturedJobs(name);
    };
    const qsizetype before = received().size();
    QVERIFY2(server.run("lpadmin", {"-d", name}, &error), qPrintable(error));
    QVERIFY(std::setlocale(LC_ALL, locale.toLatin1().constData()));
    PrintOutcome outcome;
    const bool opened = analyze([&](frmAnswers *answers) {
        outcome = print(answers, "Pine Ridge", Answer::ClickOK);
    });
    std::setlocale(LC_ALL, "C.UTF-8");

    QVERIFY(opened);
    QVERIFY2(outcome.warning.isEmpty(), qPrintable(outcome.warning));
    QVERIFY(outcome.messageShown);
    QVERIFY2(QTest::qWaitFor([&] { return received().size() == before + 1; }, 30000),
             qPrintable(server.log()));
    QString document = received().last();
    // A PostScript driver's output is read back through a PDF of it.
    if (document.endsWith(".ps")) {
        const QString pdf = dir.filePath(QString("%1.pdf").arg(QTest::currentDataTag()));
        const ToolOutput converted = runTool(
            "gs", {"-q", "-dNOPAUSE", "-dBATCH", "-dSAFER", "-sDEVICE=pdfwrite", "-o", pdf, document});
        QVERIFY2(converted.ok, qPrintable(converted.error));
        document = pdf;
    }
    QTRY_COMPARE_WITH_TIMEOUT(pdfPageCount(document), 1, 10000);
    const QSizeF size = pdfPageSize(document);
    QVERIFY2(std::abs(size.width() - page.width()) < 1 && std::abs(size.height() - page.height()) < 1,
             qPrintable(QString("page is %1 x %2 pt").arg(size.width()).arg(size.height())));
    // At full size the text keeps the page's 54-point margin; shrunk or moved it would not.
    const QList<PdfLine> lines = pdfLines(document);
    QCOMPARE(lines.size(), 22);
    QVERIFY2(std::abs(lines.at(1).left() - 54) < 1,
             qPrintable(QString("the text begins %1 pt from the edge").arg(lines.at(1).left())));
    if (!date.isEmpty()) {
        QCOMPARE(lines.at(1).text(), QString("Prepared for Pine Ridge"));
        QCOMPARE(lines.at(2).text(), "Date: " + QDate::currentDate().toString(date));
    }
}

void PrintSequenceTest::failedPrintIsToldAndNothingSent_data()
{
    QTest::addColumn<Outage>("outage");
    QTest::addColumn<QString>("told");
    QTest::newRow("queue rejecting jobs")
        << Outage::QueueRejecting << "the printer \"capture\" is not accepting jobs";
    QTest::newRow("print server stopped") << Outage::ServerStopped << "is not running";
    QTest::newRow("print server frozen")
        << Outage::ServerFrozen << "did not answer within 10 seconds";
    QTest::newRow("no printer at all") << Outage::NoPrinter << "no printer is set up";
}

void PrintSequenceTest::failedPrintIsToldAndNothingSent()
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
    case Outage::ServerFrozen:
        server.freeze();
        break;
    case Outage::NoPrinter:
        QVERIFY2(server.run("lpadmin", {"-x", "capture"}, &error), qPrintable(error));
        break;
    }

    PrintOutcome failed, retried;
    QStringList captionsBefore, captionsAfter;
    QStringList jobsAfterFailure, knownAfterFailure;
    // What a user pressing keys and clicking while Print waits gets: the window painted
    // under a busy cursor, and nothing done, then or later.
    PaintCounter paints;
    int paintsWhenPoked = -1, paintsWhenTold = -1;
    bool busyCursor = false;
    bool restored = false;
    const bool opened = analyze([&](frmAnswers *answers) {
        for (QLabel *label : answers->findChildren<QLabel *>())
            captionsBefore << label->text();
        answers->installEventFilter(&paints);
        QTimer poke;
        poke.setInterval(250);
        connect(&poke, &QTimer::timeout, answers, [&] {
            if (!QApplication::overrideCursor() || QApplication::activeModalWidget() != answers)
                return;
            busyCursor = QApplication::overrideCursor()->shape() == Qt::WaitCursor;
            answers->update();
            if (paintsWhenPoked < 0) {
                paintsWhenPoked = paints.count;
                QTest::keyClick(answers, Qt::Key_Escape);
                QTest::mouseClick(answers->cmdOK, Qt::LeftButton);
                answers->close();
            }
        });
        poke.start();
        failed = print(answers, "Pine Ridge", Answer::ClickOK, [&](frmGetRoad *) {});
        poke.stop();
        paintsWhenTold = paints.count;
        answers->removeEventFilter(&paints);
        for (QLabel *label : answers->findChildren<QLabel *>())
            captionsAfter << label->text();
        jobsAfterFailure = server.capturedJobs();
        if (outage == Outage::ServerFrozen)
            server.thaw();
        knownAfterFailure = server.isRunning() ? server.jobsKnownToServer() : knownBefore;
        // Still usable: once the printer is back, Print offers the name kept and prints.
        QString restoreError;
        switch (outage) {
        case Outage::QueueRejecting:
            restored = server.run("cupsaccept", {"capture"}, &restoreError);
            break;
        case Outage::ServerStopped:
            restored = server.start(&restoreError);
            break;
        case Outage::ServerFrozen:
            restored = true;
            break;
        case Outage::NoPrinter:
            restored = server.addCaptureQueue(&restoreError);
            break;
        }
        if (restored)
            retried = print(answers, QString(), Answer::ClickOK);
        else
            qWarning("%s", qPrintable(restoreError));
    });

    QVERIFY(opened);
    QVERIFY(failed.prompted);
    QCOMPARE(failed.warningIcon, QMessageBox::Warning);
    // The server's words are shown as written, never as markup.
    QCOMPARE(failed.warningFormat, Qt::PlainText);
    QCOMPARE(failed.warningTitle, QString("Trelvane Analysis"));
    QVERIFY2(failed.warning.contains(told), qPrintable(failed.warning));
    QVERIFY2(failed.warning.contains("choose Print again"), qPrintable(failed.warning));
    QVERIFY2(failed.warning.contains("save the analysis as a PDF file"), qPrintable(failed.warning));
    QVERIFY(!failed.messageDuringWarning);
    QVERIFY(!failed.messageShown);
    QVERIFY(!failed.timerRunning);
    QVERIFY(failed.resultsOpen);
    QCOMPARE(captionsAfter, captionsBefore);
    QCOMPARE(QString::fromStdString(session.strRoadName), QString("Pine Ridge"));
    QCOMPARE(jobsAfterFailure, jobsBefore);
    for (const QString &id : knownAfterFailure)
        QVERIFY2(knownBefore.contains(id), qPrintable("the server took job " + id));
    if (outage == Outage::ServerFrozen) {
        qInfo("a frozen server was told %lld ms after OK", failed.warnedAfterMs);
        QVERIFY2(failed.warnedAfterMs >= 9000 && failed.warnedAfterMs <= 12000,
                 qPrintable(QString("told after %1 ms").arg(failed.warnedAfterMs)));
        QVERIFY2(paintsWhenPoked >= 0, "nothing could be pressed while Print waited");
        QVERIFY2(busyCursor, "no busy cursor while Print waited");
        QVERIFY2(paintsWhenTold > paintsWhenPoked, "the window was not painted while Print waited");
    }

    QVERIFY(restored);
    QVERIFY(retried.prompted);
    QCOMPARE(retried.boxText, QString("Pine Ridge"));
    QVERIFY2(retried.warning.isEmpty(), qPrintable(retried.warning));
    QVERIFY(retried.messageShown);
    QTRY_COMPARE_WITH_TIMEOUT(server.capturedJobs().size(), jobsBefore.size() + 1, 30000);
}

// A paused printer takes the job and keeps it: the report is sent and the message shows,
// and the user is told it waits, in the printer's own words.
void PrintSequenceTest::pausedPrinterIsTold_data()
{
    QTest::addColumn<QString>("reason");
    QTest::newRow("out of paper") << "Out of paper";
    // A network printer or its administrator sets this text: shown as typed, tags and all.
    QTest::newRow("a reason written in markup, shown as typed")
        << "<b>Out</b> of paper <a href=\"http://example.org/\">details</a><img src=\"/etc/hostname\">";
}

void PrintSequenceTest::pausedPrinterIsTold()
{
    QFETCH(QString, reason);
    const qsizetype capturedBefore = server.capturedJobs().size();
    const qsizetype knownBefore = server.jobsKnownToServer().size();
    QString error;
    QVERIFY2(server.run("cupsdisable", {"-r", reason, "capture"}, &error), qPrintable(error));
    PrintOutcome outcome;
    qsizetype capturedWhilePaused = -1;
    const bool opened = analyze([&](frmAnswers *answers) {
        outcome = print(answers, "Pine Ridge", Answer::ClickOK);
        QTest::qWait(1000);
        capturedWhilePaused = server.capturedJobs().size();
    });
    QVERIFY2(server.run("cupsenable", {"capture"}, &error), qPrintable(error));

    QVERIFY(opened);
    QCOMPARE(outcome.warningName, QString("msgPrinterPaused"));
    QCOMPARE(outcome.warningIcon, QMessageBox::Information);
    QVERIFY2(outcome.warning.contains("\"capture\" is paused: " + reason), qPrintable(outcome.warning));
    QCOMPARE(outcome.warningFormat, Qt::PlainText);
    QVERIFY2(outcome.warning.contains("waits in its queue"), qPrintable(outcome.warning));
    QVERIFY2(outcome.messageDuringWarning, "the printing message did not show for a queued job");
    QCOMPARE(server.jobsKnownToServer().size(), knownBefore + 1);
    QCOMPARE(capturedWhilePaused, capturedBefore);
    // Resumed, the printer prints what waited.
    QTRY_COMPARE_WITH_TIMEOUT(server.capturedJobs().size(), capturedBefore + 1, 30000);
}

// Printers but no default: the user chooses one for this print; none becomes the default.
void PrintSequenceTest::anotherPrinterCanBeChosenWithoutADefault()
{
    QString error;
    QVERIFY2(server.run("lpadmin", {"-x", "capture"}, &error), qPrintable(error));
    QVERIFY2(server.addQueue("office", "Office laser, 2nd floor", {}, &error)
                 && server.addQueue("labels", "Label printer", {}, &error),
             qPrintable(error));
    // An earlier test may have printed on "office" too: only this print's job counts.
    const qsizetype officeBefore = server.capturedJobs("office").size();
    QStringList offered;
    bool messageShown = false;
    PendingModal choosing;
    const bool opened = analyze([&](frmAnswers *answers) {
        const PendingModal answering = onNextModal<frmGetRoad>([&](frmGetRoad *prompt) {
            choosing = onNextModal<QDialog>([&](QDialog *dialog) {
                auto *list = dialog->findChild<QListWidget *>("lstPrinters");
                QVERIFY(list);
                for (int i = 0; i < list->count(); ++i)
                    offered << list->item(i)->text();
                const QList<QListWidgetItem *> office = list->findItems("office", Qt::MatchStartsWith);
                QCOMPARE(office.size(), 1);
                list->setCurrentItem(office.constFirst());
                QTest::mouseClick(dialog->findChild<QPushButton *>("cmdPrintOn"), Qt::LeftButton);
            });
            QTest::keyClicks(prompt->txtRoadName, "Pine Ridge");
            QTest::mouseClick(prompt->cmdOK, Qt::LeftButton);
        });
        QTest::mouseClick(answers->cmdPrint, Qt::LeftButton);
        messageShown = answers->lblMessage->isVisible();
    });
    const ToolOutput defaultAfter = runTool("lpstat", {"-d"});
    QVERIFY2(server.run("lpadmin", {"-x", "office"}, &error)
                 && server.run("lpadmin", {"-x", "labels"}, &error) && server.addCaptureQueue(&error),
             qPrintable(error));

    QVERIFY(opened);
    QCOMPARE(offered, QStringList({"labels \u2014 Label printer",
                                   "office \u2014 Office laser, 2nd floor"}));
    QVERIFY(messageShown);
    QTRY_COMPARE_WITH_TIMEOUT(server.capturedJobs("office").size(), officeBefore + 1, 30000);
    QCOMPARE(pdfLineTexts(server.capturedJobs("office").constLast()).at(1),
             QString("Prepared for Pine Ridge"));
    QVERIFY2(defaultAfter.out.contains("no system default"), qPrintable(defaultAfter.out));
}

void PrintSequenceTest::reportCanBeSavedAsPdfInstead_data()
{
    QTest::addColumn<bool>("letterPrinter");
    QTest::addColumn<QSizeF>("page");
    QTest::newRow("no printer at all: the locale's A4") << false << QSizeF(595.276, 841.89);
    QTest::newRow("a Letter printer refusing jobs: its Letter") << true << QSizeF(612, 792);
}

// The PDF offered instead is laid out as the printer it replaces would have had it.
void PrintSequenceTest::reportCanBeSavedAsPdfInstead()
{
    QFETCH(bool, letterPrinter);
    QFETCH(QSizeF, page);
    QString error;
    QVERIFY2(server.run("lpadmin", {"-x", "capture"}, &error), qPrintable(error));
    if (letterPrinter)
        QVERIFY2(server.addQueue("psletter", "PostScript printer",
                                 {"-m", "drv:///sample.drv/generic.ppd", "-o", "PageSize=Letter"}, &error)
                     && server.run("lpadmin", {"-d", "psletter"}, &error)
                     && server.run("cupsreject", {"psletter"}, &error),
                 qPrintable(error));
    const QString path = dir.filePath(QString("%1.pdf").arg(QTest::currentDataTag()));
    bool dialogSeen = false;
    bool messageShown = true, timerRunning = true;
    PendingModal warning, choosing;
    const bool opened = analyze([&](frmAnswers *answers) {
        const PendingModal answering = onNextModal<frmGetRoad>([&](frmGetRoad *prompt) {
            warning = onNextModal<QMessageBox>([&](QMessageBox *box) {
                choosing = onNextModal<QFileDialog>([&](QFileDialog *dialog) {
                    dialogSeen = true;
                    chooseFile(dialog, path);
                });
                QTest::mouseClick(box->findChild<QPushButton *>("cmdSavePdf"), Qt::LeftButton);
            });
            QTest::keyClicks(prompt->txtRoadName, "Pine Ridge");
            QTest::mouseClick(prompt->cmdOK, Qt::LeftButton);
        });
        QTest::mouseClick(answers->cmdPrint, Qt::LeftButton);
        messageShown = answers->lblMessage->isVisible();
        timerRunning = answers->tmrMsgTimer->isActive();
    });
    if (letterPrinter)
        QVERIFY2(server.run("lpadmin", {"-x", "psletter"}, &error), qPrintable(error));
    QVERIFY2(server.addCaptureQueue(&error), qPrintable(error));

    QVERIFY(opened);
    QVERIFY(dialogSeen);
    QTRY_VERIFY(QFile::exists(path));
    const QStringList lines = pdfLineTexts(path);
    QCOMPARE(lines.size(), 22);
    QCOMPARE(lines.at(1), QString("Prepared for Pine Ridge"));
    QCOMPARE(lines.at(12), QString("Move no more than 14.4 cars, or REDESIGN trackage."));
    const QSizeF size = pdfPageSize(path);
    QVERIFY2(std::abs(size.width() - page.width()) < 1 && std::abs(size.height() - page.height()) < 1,
             qPrintable(QString("page is %1 x %2 pt").arg(size.width()).arg(size.height())));
    // Saved, not sent: the printing message stays hidden.
    QVERIFY(!messageShown);
    QVERIFY(!timerRunning);
}

void PrintSequenceTest::unwritablePdfIsToldAndOfferedAgain()
{
    QString error;
    QVERIFY2(server.run("lpadmin", {"-x", "capture"}, &error), qPrintable(error));
    const QString path = dir.filePath("missing folder/pine-ridge.pdf");
    QString secondText;
    bool secondOffersSave = false, messageShown = true, resultsOpen = false;
    PendingModal warning, choosing, warningAgain;
    const bool opened = analyze([&](frmAnswers *answers) {
        const PendingModal answering = onNextModal<frmGetRoad>([&](frmGetRoad *prompt) {
            warning = onNextModal<QMessageBox>([&](QMessageBox *box) {
                choosing = onNextModal<QFileDialog>([&](QFileDialog *dialog) {
                    warningAgain = onNextModal<QMessageBox>([&](QMessageBox *again) {
                        secondText = again->text();
                        secondOffersSave = again->findChild<QPushButton *>("cmdSavePdf");
                        QTest::mouseClick(again->findChild<QPushButton *>("cmdClose"),
                                          Qt::LeftButton);
                    });
                    chooseFile(dialog, path);
                });
                QTest::mouseClick(box->findChild<QPushButton *>("cmdSavePdf"), Qt::LeftButton);
            });
            QTest::mouseClick(prompt->cmdOK, Qt::LeftButton);
        });
        QTest::mouseClick(answers->cmdPrint, Qt::LeftButton);
        messageShown = answers->lblMessage->isVisible();
        resultsOpen = answers->isVisible();
    });
    QVERIFY2(server.addCaptureQueue(&error), qPrintable(error));

    QVERIFY(opened);
    QVERIFY2(secondText.contains("was not saved"), qPrintable(secondText));
    QVERIFY2(secondText.contains(path), qPrintable(secondText));
    QVERIFY2(secondText.contains("Choose another folder"), qPrintable(secondText));
    QVERIFY(secondOffersSave);
    QVERIFY(!QFile::exists(path));
    QVERIFY(!messageShown);
    QVERIFY(resultsOpen);
}

void PrintSequenceTest::analysisLeavesTheWindow_data()
{
    QTest::addColumn<WayOut>("way");
    QTest::addColumn<bool>("printedFirst"); // a print with the name "Pine Ridge" came first
    QTest::newRow("Copy Analysis (Ctrl+C) with no name given: no Prepared for line")
        << WayOut::Copy << false;
    QTest::newRow("Copy Analysis (Ctrl+C) after a print: the page's text, name and all")
        << WayOut::Copy << true;
    QTest::newRow("Save as PDF (Ctrl+S): the file holds the page the printer got")
        << WayOut::SaveAsPdf << true;
    QTest::newRow("Save as PDF with no print server: the page on the locale's A4")
        << WayOut::SaveAsPdfWithoutServer << false;
    QTest::newRow("Save as PDF over a file: asked first, in plain words, then replaced whole")
        << WayOut::SaveOverAFile << false;
    QTest::newRow("Print Preview, then Print there: the page printed, the name asked once")
        << WayOut::PreviewThenPrint << false;
    QTest::newRow("Print on Another Printer: every printer, the default marked and chosen")
        << WayOut::AnotherPrinter << false;
}

// The context menu's ways out of the results window, from its keys and its menu.
void PrintSequenceTest::analysisLeavesTheWindow()
{
    QFETCH(WayOut, way);
    QFETCH(bool, printedFirst);
    QString error;
    if (way == WayOut::AnotherPrinter)
        QVERIFY2(server.addQueue("office", "Office laser, 2nd floor", {}, &error), qPrintable(error));
    if (way == WayOut::SaveAsPdfWithoutServer)
        server.stop();
    const auto restore = qScopeGuard([&] {
        if (way == WayOut::AnotherPrinter)
            server.run("lpadmin", {"-x", "office"}, &error);
        if (!server.isRunning())
            server.start(&error);
    });
    const QString documents = QDir(qEnvironmentVariable("HOME")).filePath("Documents");
    QVERIFY(QDir().mkpath(documents));
    const QString saved = dir.filePath("saved.pdf");
    QFile::remove(saved);
    QString replaceAsked;
    Qt::TextFormat replaceFormat = Qt::AutoText;
    if (way == WayOut::SaveOverAFile) {
        QFile old(saved);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("not yet the analysis") > 0);
    }
    const qsizetype capturedBefore = server.capturedJobs().size();
    const qsizetype officeBefore = server.capturedJobs("office").size();
    const auto lines = [](const QStringList &page) {
        QStringList words;
        for (const QString &line : page)
            if (!line.trimmed().isEmpty())
                words << line.simplified();
        return words;
    };

    int prompts = 0;
    QString copied, startFile;
    QStringList previewed, offered;
    QString chosenFirst;
    bool messageShown = false;
    PendingModal prompting, next;
    const auto answerPrompts = [&] {
        prompting = onNextModal<frmGetRoad>([&](frmGetRoad *prompt) {
            ++prompts;
            if (prompt->txtRoadName->text().isEmpty())
                QTest::keyClicks(prompt->txtRoadName, "Pine Ridge");
            QTest::mouseClick(prompt->cmdOK, Qt::LeftButton);
        });
    };
    // Opens the context menu from the keyboard and goes down to the item.
    const auto fromMenu = [](frmAnswers *answers, QAction *item) {
        QTest::keyClick(answers->cmdOK, Qt::Key_F10, Qt::ShiftModifier);
        QTRY_VERIFY(answers->mnuAnalysis->isVisible());
        for (int i = 0; i < 8 && answers->mnuAnalysis->activeAction() != item; ++i)
            QTest::keyClick(answers->mnuAnalysis, Qt::Key_Down);
        QCOMPARE(answers->mnuAnalysis->activeAction(), item);
        QTest::keyClick(answers->mnuAnalysis, Qt::Key_Return);
    };
    const bool opened = analyze([&](frmAnswers *answers) {
        if (printedFirst)
            print(answers, "Pine Ridge", Answer::ClickOK);
        if (server.isRunning())
            QTRY_COMPARE_WITH_TIMEOUT(server.capturedJobs().size(),
                                      capturedBefore + (printedFirst ? 1 : 0), 30000);
        prompts = 0;
        // The keyboard back to the window once the prompt has gone, as a desktop hands it.
        answers->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(answers));
        switch (way) {
        case WayOut::Copy:
            QGuiApplication::clipboard()->clear();
            QTest::keyClick(answers->cmdOK, Qt::Key_C, Qt::ControlModifier);
            copied = QGuiApplication::clipboard()->text();
            break;
        case WayOut::SaveAsPdf:
        case WayOut::SaveAsPdfWithoutServer:
        case WayOut::SaveOverAFile:
            answerPrompts();
            next = onNextModal<QFileDialog>([&](QFileDialog *dialog) {
                startFile = dialog->directory().filePath(
                    dialog->findChild<QLineEdit *>("fileNameEdit")->text());
                if (way == WayOut::SaveOverAFile)
                    prompting = onNextModal<QMessageBox>([&](QMessageBox *box) {
                        replaceAsked = box->text();
                        replaceFormat = box->textFormat();
                        QTest::mouseClick(box->button(QMessageBox::Yes), Qt::LeftButton);
                    });
                chooseFile(dialog, saved);
            });
            QTest::keyClick(answers->cmdPrint, Qt::Key_S, Qt::ControlModifier);
            break;
        case WayOut::PreviewThenPrint:
            answerPrompts();
            next = onNextModal<PreviewWindow>([&](PreviewWindow *preview) {
                // The page's lines as a screen reader finds them.
                QAccessibleInterface *page =
                    QAccessible::queryAccessibleInterface(preview->pgePage);
                for (int i = 0; page && i < page->childCount(); ++i)
                    previewed << page->child(i)->text(QAccessible::Name);
                QTest::mouseClick(preview->cmdPrint, Qt::LeftButton);
            });
            fromMenu(answers, answers->mnuPreview);
            break;
        case WayOut::AnotherPrinter:
            answerPrompts();
            next = onNextModal<QDialog>([&](QDialog *dialog) {
                auto *list = dialog->findChild<QListWidget *>("lstPrinters");
                QVERIFY(list);
                for (int i = 0; i < list->count(); ++i)
                    offered << list->item(i)->text();
                chosenFirst = list->currentItem() ? list->currentItem()->text() : QString();
                list->setCurrentItem(list->findItems("office", Qt::MatchStartsWith).value(0));
                QTest::mouseClick(dialog->findChild<QPushButton *>("cmdPrintOn"), Qt::LeftButton);
            });
            fromMenu(answers, answers->mnuPrintOn);
            break;
        }
        QTRY_VERIFY(!QApplication::activeModalWidget() || QApplication::activeModalWidget() == answers);
        messageShown = answers->lblMessage->isVisible();
    });
    QVERIFY(opened);

    const QStringList page =
        lines(pineRidgeSaturatedPage(QDate::currentDate().toString("MM/dd/yy")));
    switch (way) {
    case WayOut::Copy: {
        QStringList expected = page;
        if (!printedFirst)
            expected.removeAll("Prepared for Pine Ridge");
        QCOMPARE(lines(copied.split('\n')), expected);
        QCOMPARE(prompts, 0);
        break;
    }
    case WayOut::SaveAsPdf: {
        QCOMPARE(startFile, QDir(documents).filePath(
                                QString("Pine Ridge analysis %1.pdf")
                                    .arg(QDate::currentDate().toString(Qt::ISODate))));
        QTRY_VERIFY(QFile::exists(saved));
        const QString spooled = server.capturedJobs().constLast();
        QCOMPARE(pdfLineTexts(saved), pdfLineTexts(spooled));
        QCOMPARE(pdfPageSize(saved), pdfPageSize(spooled));
        break;
    }
    case WayOut::SaveOverAFile:
        QVERIFY2(replaceAsked.contains(saved + "\" already exists"), qPrintable(replaceAsked));
        QCOMPARE(replaceFormat, Qt::PlainText);
        QCOMPARE(lines(pdfLineTexts(saved)), page);
        break;
    case WayOut::SaveAsPdfWithoutServer:
        QTRY_VERIFY(QFile::exists(saved));
        QCOMPARE(lines(pdfLineTexts(saved)), page);
        QVERIFY(std::abs(pdfPageSize(saved).width() - 595.276) < 1);
        break;
    case WayOut::PreviewThenPrint: {
        // Each line as printed, without its indent; the gap before the second zone one blank.
        QStringList printed;
        for (const QString &line : pineRidgeSaturatedPage(QDate::currentDate().toString("MM/dd/yy")))
            if (!line.trimmed().isEmpty())
                printed << line.trimmed();
        QCOMPARE(previewed, printed);
        QTRY_COMPARE_WITH_TIMEOUT(server.capturedJobs().size(), capturedBefore + 1, 30000);
        QCOMPARE(lines(pdfLineTexts(server.capturedJobs().constLast())), page);
        QVERIFY(messageShown);
        break;
    }
    case WayOut::AnotherPrinter:
        QCOMPARE(offered, QStringList({"capture (default)", "office \u2014 Office laser, 2nd floor"}));
        QCOMPARE(chosenFirst, QString("capture (default)"));
        QTRY_COMPARE_WITH_TIMEOUT(server.capturedJobs("office").size(), officeBefore + 1, 30000);
        QCOMPARE(server.capturedJobs().size(), capturedBefore);
        QVERIFY(messageShown);
        break;
    }
    if (way != WayOut::Copy)
        QCOMPARE(prompts, 1);
}

QTEST_MAIN(PrintSequenceTest)
#include "print_sequence_test.moc"
