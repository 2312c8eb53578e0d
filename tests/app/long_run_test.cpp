// A long session in one process: ten thousand analyses typed into the real input window
// and two hundred reports printed to a private CUPS server. Every analysis must show what
// its inputs call for, every report must reach the printer, and the process must not
// grow while it runs: a results window, message box or print job that leaves anything
// behind shows up here as hundreds or thousands of copies.
#include "pdf_reading.h"
#include "private_cups_server.h"

#include "analysis/failure.h"
#include "analysis/scale_table.h"
#include "forms/frm_answers.h"
#include "forms/frm_get_road.h"
#include "forms/frm_input.h"
#include "forms/up_down.h"
#include "forms/window_kit.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <map>
#include <optional>
#include <utility>

#if defined(__SANITIZE_ADDRESS__)
#define TRELVANE_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TRELVANE_UNDER_ASAN 1
#endif
#endif

using namespace trelvane;
using namespace trelvane::test;

namespace {

constexpr int kAnalyses = 10000;
constexpr int kWarmUpAnalyses = 500;
// One report is printed in every block of this many analyses.
constexpr int kBlock = 50;
constexpr int kPrints = kAnalyses / kBlock;
constexpr int kWarmUpPrints = kWarmUpAnalyses / kBlock;

// The bound on the growth of the resident set from after the warm-up to the end, over
// 9,500 analyses and 190 prints. A results window kept alive costs some 35 KiB, a
// failure box some 30 KiB: one kept per analysis would add over 250 MiB, one per failure
// box over 40 MiB. A report is a PDF of about 19 KiB built in memory; keeping only that
// buffer for each print adds 3.5 MiB, and anything holding it (the writer, the CUPS
// connection) more. A healthy run moves by less than half a mebibyte either way, the
// allocator's slack and caches that fill once, so 2 MiB leaves room for that noise and
// still catches a leak in either path.
constexpr qint64 kGrowthBoundKiB = 2 * 1024;

struct Footage {
    QString typed;      // what goes into the box; empty leaves it blank
    std::int16_t value; // what the box commits to
};

struct Step {
    int index = 0;
    int scale = kDefaultScaleIndex;
    std::array<Footage, 3> footages; // passing, functional, storage
    std::array<int, 8> counts{};
    bool print = false;
    std::optional<FailureKind> failure; // the message box expected instead of results
};

// The analyses of the run, one after another. The inputs drift so that every scale and
// a spread of footages and counts are analysed; in each block of fifty, eight are meant
// to fail: no functional or no storage track, with cars or without any, and a yard too
// big for its car count to be worked out. One of the others is printed.
class Plan {
public:
    Step next()
    {
        const int i = index_++;
        const int p = i % kBlock;
        Step step;
        step.index = i;
        step.scale = p == 41 ? 1 : 1 + (i / 3) % 6; // 41: Z, the scale with most cars a foot
        if (p == 17)
            counts_.fill(0);
        else
            counts_[std::size_t(i % 8)] = ((i / 8) * 5 + (i % 8) * 3) % 14;
        step.counts = counts_;

        const int passing = (i * 37) % 500;
        const int functional = p % 10 == 3 || p == 17 ? 0 : 2 + (i * 53) % 700;
        const int storage = p == 41 ? 9999 : p == 47 ? 0 : 2 + (i * 91) % 2999;
        // A box left blank counts as 0, as a typed 0 does.
        step.footages = {footage(passing, passing == 0), footage(functional, p == 13 || p == 33),
                         footage(storage, false)};
        step.print = p == kBlock / 2;

        const bool anyCars = std::any_of(counts_.begin(), counts_.end(), [](int n) { return n > 0; });
        if (p == 41)
            step.failure = FailureKind::Overflow; // 49,995 cars of storage
        else if (functional == 0 || storage == 0)
            step.failure = anyCars ? FailureKind::DivisionByZero : FailureKind::Overflow;
        return step;
    }

private:
    static Footage footage(int feet, bool blank)
    {
        return {blank ? QString() : QString::number(feet), std::int16_t(feet)};
    }

    int index_ = 0;
    std::array<int, 8> counts_{};
};

// What one Analyze brought up.
struct Seen {
    int results = 0;
    bool resultsFresh = false; // no printing message or timer left from an earlier window
    int failureBoxes = 0;
    QString failureText;
    int prompts = 0;
    bool messageAfterPrint = false;
    bool timerAfterPrint = false;
    QString printFailure; // the text of a box saying the report did not go out
};

// Answers every modal window as it becomes active, from inside its own event loop: the
// results window (printing first when asked), the name prompt, and the message boxes.
// Reacting to the activation rather than polling keeps ten thousand round trips quick.
class ModalAnswerer : public QObject {
public:
    ModalAnswerer()
    {
        qApp->installEventFilter(this);
        // A modal window that never becomes active would stall the run: close it.
        connect(&watchdog_, &QTimer::timeout, this, [this] {
            QWidget *modal = QApplication::activeModalWidget();
            if (modal && !modal->property(kAnswered).toBool() && modal == unanswered_) {
                note(QString("%1 never became active").arg(modal->metaObject()->className()));
                dismiss(modal);
            }
            unanswered_ = modal;
        });
        watchdog_.start(2000);
    }
    ~ModalAnswerer() override { qApp->removeEventFilter(this); }

    // The next Analyze's record, and the railroad name to print under (none: no print).
    void expect(Seen *seen, const QString &printName)
    {
        seen_ = seen;
        printName_ = printName;
    }

    // Windows that should not have opened, or that could not be answered.
    QStringList unexpected() const { return unexpected_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::WindowActivate && watched->isWidgetType()) {
            auto *window = static_cast<QWidget *>(watched);
            if (window == QApplication::activeModalWidget()
                && !window->property(kAnswered).toBool()) {
                window->setProperty(kAnswered, true);
                QTimer::singleShot(0, this, [this, target = QPointer<QWidget>(window)] {
                    if (target)
                        answer(target);
                });
            }
        }
        return false;
    }

private:
    static constexpr const char *kAnswered = "answeredByLongRun";

    void note(const QString &what) { unexpected_ << what; }

    static void dismiss(QWidget *window)
    {
        if (auto *dialog = qobject_cast<QDialog *>(window))
            dialog->reject();
        else
            window->close();
    }

    void answer(QWidget *window)
    {
        if (!seen_) {
            note(QString("%1 opened after the analysis").arg(window->metaObject()->className()));
            dismiss(window);
        } else if (auto *answers = qobject_cast<frmAnswers *>(window)) {
            onResults(answers);
        } else if (auto *prompt = qobject_cast<frmGetRoad *>(window)) {
            onPrompt(prompt);
        } else if (auto *box = qobject_cast<QMessageBox *>(window)) {
            onMessageBox(box);
        } else {
            note(QString("unexpected %1 \"%2\"")
                     .arg(window->metaObject()->className(), window->objectName()));
            dismiss(window);
        }
    }

    void onResults(frmAnswers *answers)
    {
        ++seen_->results;
        seen_->resultsFresh =
            !answers->lblMessage->isVisibleTo(answers) && !answers->tmrMsgTimer->isActive();
        if (!printName_.isEmpty()) {
            // Print returns once the prompt is answered and the report handed over.
            QTest::mouseClick(answers->cmdPrint, Qt::LeftButton);
            seen_->messageAfterPrint = answers->lblMessage->isVisible();
            seen_->timerAfterPrint = answers->tmrMsgTimer->isActive();
        }
        QTest::mouseClick(answers->cmdOK, Qt::LeftButton);
    }

    void onPrompt(frmGetRoad *prompt)
    {
        ++seen_->prompts;
        if (printName_.isEmpty()) {
            note("the name prompt opened without Print");
            QTest::mouseClick(prompt->cmdCancel, Qt::LeftButton);
            return;
        }
        // The box offers the last name; select it and type the new one over it.
        QTest::keyClick(prompt->txtRoadName, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(prompt->txtRoadName, printName_);
        QTest::mouseClick(prompt->cmdOK, Qt::LeftButton);
    }

    void onMessageBox(QMessageBox *box)
    {
        if (box->objectName() == "failureMessage") {
            ++seen_->failureBoxes;
            seen_->failureText = box->text();
            QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
        } else if (box->objectName() == "msgPrintFailure") {
            seen_->printFailure = box->text();
            QTest::mouseClick(box->findChild<QPushButton *>("cmdClose"), Qt::LeftButton);
        } else {
            note(QString("unexpected message box \"%1\": %2").arg(box->objectName(), box->text()));
            dismiss(box);
        }
    }

    Seen *seen_ = nullptr;
    QString printName_;
    QStringList unexpected_;
    QTimer watchdog_;
    QPointer<QWidget> unanswered_;
};

struct Memory {
    qint64 rssKiB = -1;
    qint64 peakKiB = -1;
};

qint64 statusField(const QList<QByteArray> &lines, const QByteArray &name)
{
    for (const QByteArray &line : lines)
        if (line.startsWith(name))
            return line.mid(name.size()).trimmed().split(' ').constFirst().toLongLong();
    return -1;
}

// Measured once the event loop has run dry, so that windows waiting to be deleted are
// gone and what remains is what the process holds on to.
Memory memoryNow()
{
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return {};
    const QList<QByteArray> lines = status.readAll().split('\n');
    return {statusField(lines, "VmRSS:"), statusField(lines, "VmHWM:")};
}

// The offscreen platform says this for every message box it shows; 1,600 of them would
// bury the figures the run prints.
QtMessageHandler forwardedMessages = nullptr;

void withoutSizeHintNotices(QtMsgType type, const QMessageLogContext &context,
                            const QString &message)
{
    if (type == QtWarningMsg
        && message == QLatin1String("This plugin does not support propagateSizeHints()"))
        return;
    forwardedMessages(type, context, message);
}

double mib(qint64 kib) { return double(kib) / 1024.0; }

QString printName(int print) { return QString("Long Run Road %1").arg(print); }

} // namespace

class LongRunTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void analysesAndPrintsLeaveNothingBehind();

private:
    void enter(const Step &step);
    QString analyze(const Step &step, int printsSoFar);
    QString runUntil(Plan &plan, int count);
    bool waitForJobs(int count, int timeoutMs);

    PrivateCupsServer server;
    stdGeneral session;
    QPointer<frmInput> input;
    std::array<QRadioButton *, 6> scales{};
    std::array<QLineEdit *, 3> boxes{};
    std::array<UpDown *, 8> counters{};
    QPushButton *analyzeButton = nullptr;
    int beeps = 0;
    int analysesDone = 0;
    int printsDone = 0;
    std::map<FailureKind, int> failuresDone;
};

void LongRunTest::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    forwardedMessages = qInstallMessageHandler(withoutSizeHintNotices);
    setBeepHandler([this] { ++beeps; });
    QString error;
    QVERIFY2(server.startForThisProcess(&error), qPrintable(error));

    Main(session);
    for (QWidget *window : QApplication::topLevelWidgets())
        if (auto *found = qobject_cast<frmInput *>(window))
            input = found;
    QVERIFY(input);
    QVERIFY(QTest::qWaitForWindowActive(input));
    for (int i = 0; i < 6; ++i)
        QVERIFY(scales[std::size_t(i)] =
                    input->findChild<QRadioButton *>(QString("optScale%1").arg(i + 1)));
    const char *boxNames[] = {"txtPassTrack", "txtFuncTrack", "txtStorTrack"};
    for (std::size_t i = 0; i < boxes.size(); ++i)
        QVERIFY(boxes[i] = input->findChild<QLineEdit *>(boxNames[i]));
    for (std::size_t i = 0; i < counters.size(); ++i)
        QVERIFY(counters[i] = input->findChild<UpDown *>(QString("udNoCars%1").arg(i)));
    QVERIFY(analyzeButton = input->findChild<QPushButton *>("cmdAnalyze"));
}

void LongRunTest::cleanupTestCase()
{
    if (input)
        input->close(); // the window deletes itself
    QTRY_VERIFY(!input);
    server.stop();
    setBeepHandler({});
    qInstallMessageHandler(forwardedMessages);
}

// As a user would: click the scale, click each box and type over what it holds, step
// each counter with the keys.
void LongRunTest::enter(const Step &step)
{
    QRadioButton *scale = scales[std::size_t(step.scale - 1)];
    if (!scale->isChecked())
        QTest::mouseClick(scale, Qt::LeftButton);
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        QLineEdit *box = boxes[i];
        QTest::mouseClick(box, Qt::LeftButton);
        QTest::keyClick(box, Qt::Key_End);
        QTest::keyClick(box, Qt::Key_Home, Qt::ShiftModifier);
        if (step.footages[i].typed.isEmpty())
            QTest::keyClick(box, Qt::Key_Delete);
        else
            QTest::keyClicks(box, step.footages[i].typed);
    }
    for (std::size_t i = 0; i < counters.size(); ++i) {
        UpDown *counter = counters[i];
        const int change = step.counts[i] - counter->value();
        if (change == 0)
            continue;
        counter->setFocus(Qt::TabFocusReason);
        const int steps = std::abs(change);
        for (int n = 0; n < steps / 10; ++n)
            QTest::keyClick(counter, change > 0 ? Qt::Key_PageUp : Qt::Key_PageDown);
        for (int n = 0; n < steps % 10; ++n)
            QTest::keyClick(counter, change > 0 ? Qt::Key_Up : Qt::Key_Down);
    }
}

// Enters the step, clicks Analyze and answers what opens; the empty text when all came
// out as the step calls for, otherwise what differed.
QString LongRunTest::analyze(const Step &step, int printsSoFar)
{
    ModalAnswerer answerer;
    enter(step);
    const QString name = step.print ? printName(printsSoFar + 1) : QString();
    Seen seen;
    answerer.expect(&seen, name);
    QTest::mouseClick(analyzeButton, Qt::LeftButton);
    answerer.expect(nullptr, QString());
    // The offscreen platform has no window manager to hand the activation back.
    input->activateWindow();
    if (!QTest::qWaitForWindowActive(input))
        return "the input window did not become active again";

    QStringList wrong;
    const std::array<std::int16_t, 3> committed{session.intPassTrack, session.intFuncTrack,
                                                session.intStorTrack};
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        if (committed[i] != step.footages[i].value)
            wrong << QString("%1 committed %2, not %3")
                         .arg(boxes[i]->objectName())
                         .arg(committed[i])
                         .arg(step.footages[i].value);
        if (boxes[i]->text() != QString::number(step.footages[i].value))
            wrong << QString("%1 shows \"%2\"").arg(boxes[i]->objectName(), boxes[i]->text());
    }
    for (std::size_t i = 0; i < counters.size(); ++i)
        if (counters[i]->value() != step.counts[i])
            wrong << QString("counter %1 at %2, not %3")
                         .arg(i)
                         .arg(counters[i]->value())
                         .arg(step.counts[i]);
    const ScaleEntry scale = *findScale(step.scale);
    if (session.strScale != scale.name)
        wrong << QString("scale %1").arg(QString::fromStdString(session.strScale));

    if (step.failure) {
        const QString expected = QString::fromStdString(failureMessage(*step.failure));
        if (seen.failureBoxes != 1 || seen.results != 0)
            wrong << QString("%1 failure boxes and %2 results windows instead of one box")
                         .arg(seen.failureBoxes)
                         .arg(seen.results);
        else if (seen.failureText != expected)
            wrong << QString("the box said \"%1\", not \"%2\"").arg(seen.failureText, expected);
    } else {
        if (seen.results != 1 || seen.failureBoxes != 0)
            wrong << QString("%1 results windows and %2 failure boxes instead of one window "
                             "(the box said \"%3\")")
                         .arg(seen.results)
                         .arg(seen.failureBoxes)
                         .arg(seen.failureText);
        else if (!seen.resultsFresh)
            wrong << "the results window opened with the printing message";
    }
    if (seen.prompts != (step.print ? 1 : 0))
        wrong << QString("%1 name prompts").arg(seen.prompts);
    if (step.print) {
        if (!seen.printFailure.isEmpty())
            wrong << "the report was not printed: " + seen.printFailure;
        if (!seen.messageAfterPrint || !seen.timerAfterPrint)
            wrong << "no printing message after Print";
        if (QString::fromStdString(session.strRoadName) != name || !session.blnPrintOK)
            wrong << QString("printed for \"%1\"").arg(QString::fromStdString(session.strRoadName));
    }
    wrong << answerer.unexpected();
    return wrong.join("; ");
}

bool LongRunTest::waitForJobs(int count, int timeoutMs)
{
    return QTest::qWaitFor([&] { return server.capturedJobs().size() >= count; }, timeoutMs);
}

// Runs the plan's analyses up to the given count; the first that went wrong, if any.
QString LongRunTest::runUntil(Plan &plan, int count)
{
    while (analysesDone < count) {
        const Step step = plan.next();
        const QString wrong = analyze(step, printsDone);
        if (!wrong.isEmpty())
            return QString("analysis %1: %2").arg(step.index).arg(wrong);
        ++analysesDone;
        printsDone += step.print ? 1 : 0;
        if (step.failure)
            ++failuresDone[*step.failure];
    }
    return QString();
}

void LongRunTest::analysesAndPrintsLeaveNothingBehind()
{
    Plan plan;
    QElapsedTimer clock;
    clock.start();

    // The warm-up: fonts, the style's caches, libcups and the PDF writer set themselves
    // up once, and that belongs in the baseline.
    QString wrong = runUntil(plan, kWarmUpAnalyses);
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
    QVERIFY2(waitForJobs(kWarmUpPrints, 60000), qPrintable(server.log()));
    const Memory start = memoryNow();
    QVERIFY(start.rssKiB > 0 && start.peakKiB >= start.rssKiB);
    const qint64 warmUpMs = clock.elapsed();
    qInfo("RSS after warm-up (%d analyses, %d prints, %lld ms): %.1f MiB, peak %.1f MiB",
          analysesDone, printsDone, warmUpMs, mib(start.rssKiB), mib(start.peakKiB));

    wrong = runUntil(plan, kAnalyses);
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
    const qint64 analysesMs = clock.elapsed();
    // The backend writes each job as it comes; all of them must have come.
    const bool allArrived = waitForJobs(kPrints, 120000);
    const qint64 totalMs = clock.elapsed();
    const Memory end = memoryNow();
    QVERIFY(end.rssKiB > 0 && end.peakKiB >= end.rssKiB);
    const qint64 growth = end.rssKiB - start.rssKiB;
    const int divisions = failuresDone[FailureKind::DivisionByZero];
    const int overflows = failuresDone[FailureKind::Overflow];
    qInfo("RSS at end (%d analyses, %d + %d failure boxes, %d prints, %lld ms; jobs in %lld ms "
          "more): %.1f MiB, peak %.1f MiB; growth since warm-up %+.2f MiB",
          analysesDone, divisions, overflows, printsDone, analysesMs, totalMs - analysesMs,
          mib(end.rssKiB), mib(end.peakKiB), mib(growth));

    QCOMPARE(beeps, 0);
    const QStringList jobs = server.capturedJobs();
    QVERIFY2(allArrived, qPrintable(QString("%1 of %2 jobs reached the printer\n%3")
                                        .arg(jobs.size())
                                        .arg(kPrints)
                                        .arg(server.log())));
    QCOMPARE(jobs.size(), kPrints);
    for (const QString &job : jobs) {
        QFile file(job);
        QVERIFY2(file.open(QIODevice::ReadOnly) && file.read(5) == "%PDF-", qPrintable(job));
    }
    // The first and the last report, each for its own railroad.
    for (const auto &[job, print] : {std::pair{jobs.constFirst(), 1}, {jobs.constLast(), kPrints}}) {
        QString error;
        const QStringList lines = pdfLineTexts(job, &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QVERIFY2(lines.contains("Prepared for " + printName(print)), qPrintable(lines.join('\n')));
    }

#ifdef TRELVANE_UNDER_ASAN
    // AddressSanitizer holds freed memory in its quarantine, so the resident set grows
    // whatever the program does; LeakSanitizer checks for leaks at exit instead.
    qInfo("the growth bound of %.0f MiB is not checked under AddressSanitizer",
          mib(kGrowthBoundKiB));
#else
    QVERIFY2(growth <= kGrowthBoundKiB,
             qPrintable(QString("the resident set grew by %1 MiB, more than %2 MiB")
                            .arg(mib(growth), 0, 'f', 2)
                            .arg(mib(kGrowthBoundKiB))));
#endif
}

QTEST_MAIN(LongRunTest)
#include "long_run_test.moc"
