// The report through the real CUPS route, against a private server: what the queue
// receives, and each way the printing system can refuse it.
#include "pdf_reading.h"
#include "private_cups_server.h"
#include "report_samples.h"

#include "report/analysis_report.h"
#include "report/cups_printer.h"
#include "report/pdf_page_layer.h"
#include "report/print_failure.h"

#include <QPrinterInfo>
#include <QtTest>

using namespace trelvane;
using namespace trelvane::test;

Q_DECLARE_METATYPE(trelvane::PrintFailureKind)

namespace {

enum class Situation { QueueRejecting, ServerStopped, NoQueueAtAll, DefaultNamesMissingQueue };

// The report through the default queue, one PDF page in one job.
void printOnDefaultQueue(const ReportContent &content)
{
    CupsDefaultQueue queue;
    PdfPageLayer page(QStringLiteral("Trelvane analysis"), QPageSize(QPageSize::Letter),
                      [&queue](const QByteArray &pdf) {
                          queue.submitPdf(pdf, QStringLiteral("Trelvane analysis"));
                      });
    PrintAnalysisReport(content, page);
}

QStringList texts(const QList<PdfTextLine> &lines)
{
    QStringList result;
    for (const PdfTextLine &line : lines)
        result << line.text;
    return result;
}

} // namespace

class CupsPrintingTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void defaultQueueIsThePrivateOne();
    void printedReportArrivesWhole();
    void refusalIsReported_data();
    void refusalIsReported();

private:
    PrivateCupsServer server;
};

void CupsPrintingTest::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    server.useInThisProcess();
    QString error;
    QVERIFY2(server.start(&error), qPrintable(error));
    QVERIFY2(server.addCaptureQueue(&error), qPrintable(error));
}

void CupsPrintingTest::cleanupTestCase()
{
    server.stop();
    QVERIFY(!server.isRunning());
}

void CupsPrintingTest::defaultQueueIsThePrivateOne()
{
    QCOMPARE(QPrinterInfo::availablePrinterNames(), QStringList{"capture"});
    QCOMPARE(QPrinterInfo::defaultPrinter().printerName(), QString("capture"));
    QCOMPARE(CupsDefaultQueue().name(), QString("capture"));
}

void CupsPrintingTest::printedReportArrivesWhole()
{
    const int before = server.capturedJobs().size();
    printOnDefaultQueue(pineRidgeSaturated());
    QTRY_COMPARE_WITH_TIMEOUT(server.capturedJobs().size(), before + 1, 30000);
    const QString job = server.capturedJobs().last();
    QCOMPARE(pdfPageCount(job), 1);
    QString error;
    const QList<PdfTextLine> lines = pdfTextLines(job, &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(texts(lines), pineRidgeSaturatedPage(pineRidgeSaturated().date));
}

void CupsPrintingTest::refusalIsReported_data()
{
    QTest::addColumn<Situation>("situation");
    QTest::addColumn<PrintFailureKind>("kind");
    QTest::addColumn<QString>("told");

    QTest::newRow("queue rejecting jobs: refused at submission")
        << Situation::QueueRejecting << PrintFailureKind::JobRefused
        << "the printer \"capture\" refused the job";
    QTest::newRow("server stopped: unreachable")
        << Situation::ServerStopped << PrintFailureKind::ServerUnreachable
        << "could not be reached";
    QTest::newRow("no queue at all: no default printer")
        << Situation::NoQueueAtAll << PrintFailureKind::NoDefaultPrinter
        << "no default printer is set up";
    QTest::newRow("PRINTER names a missing queue: no default printer")
        << Situation::DefaultNamesMissingQueue << PrintFailureKind::NoDefaultPrinter
        << "no default printer is set up";
}

void CupsPrintingTest::refusalIsReported()
{
    QFETCH(Situation, situation);
    QFETCH(PrintFailureKind, kind);
    QFETCH(QString, told);

    const QStringList jobsBefore = server.capturedJobs();
    const QStringList knownBefore = server.jobsKnownToServer();
    QString error;
    switch (situation) {
    case Situation::QueueRejecting:
        QVERIFY2(server.run("cupsreject", {"capture"}, &error), qPrintable(error));
        break;
    case Situation::ServerStopped:
        server.stop();
        break;
    case Situation::NoQueueAtAll:
        QVERIFY2(server.run("lpadmin", {"-x", "capture"}, &error), qPrintable(error));
        break;
    case Situation::DefaultNamesMissingQueue:
        qputenv("PRINTER", "nosuchqueue");
        break;
    }
    bool reported = false;
    try {
        printOnDefaultQueue(pineRidgeSaturated());
    } catch (const PrintFailure &failure) {
        reported = true;
        QCOMPARE(failure.kind(), kind);
        const QString text = printFailureText(failure);
        QVERIFY2(text.contains(told), qPrintable(text));
        QVERIFY2(text.contains("choose Print again"), qPrintable(text));
        if (situation == Situation::QueueRejecting)
            QVERIFY2(failure.detail().contains("not accepting jobs"), qPrintable(failure.detail()));
    }

    // Put the server back before judging, so a failed row leaves the next one a server.
    switch (situation) {
    case Situation::QueueRejecting:
        QVERIFY2(server.run("cupsaccept", {"capture"}, &error), qPrintable(error));
        break;
    case Situation::ServerStopped:
        QVERIFY2(server.start(&error), qPrintable(error));
        break;
    case Situation::NoQueueAtAll:
        QVERIFY2(server.addCaptureQueue(&error), qPrintable(error));
        break;
    case Situation::DefaultNamesMissingQueue:
        qunsetenv("PRINTER");
        break;
    }
    QVERIFY2(reported, "the report was taken as sent");
    // No new job anywhere in the server (removing a queue may drop old ones).
    for (const QString &id : server.jobsKnownToServer())
        QVERIFY2(knownBefore.contains(id), qPrintable("the server took job " + id));
    QCOMPARE(server.capturedJobs(), jobsBefore);
}

QTEST_MAIN(CupsPrintingTest)
#include "cups_printing_test.moc"
