// What the user is told of a printer from the state bits that the Windows spooler gives
// for it (GetPrinter, level 2), in winspool's own values.
#include "report/print_failure.h"
#include "report/spooler_state.h"

#include <QtTest>

using namespace trelvane;

class SpoolerStateTest : public QObject {
    Q_OBJECT
private slots:
    void printerIsToldByItsState_data();
    void printerIsToldByItsState();
};

void SpoolerStateTest::printerIsToldByItsState_data()
{
    QTest::addColumn<quint32>("status");
    QTest::addColumn<quint32>("attributes");
    QTest::addColumn<bool>("paused");
    QTest::addColumn<QString>("told"); // what keeps it from printing; empty when it can

    QTest::newRow("ready") << 0x0u << 0x0u << false << QString();
    QTest::newRow("printing, busy, warming up, toner low, saving power: ready")
        << (0x400u | 0x200u | 0x10000u | 0x20000u | 0x1000000u) << 0x0u << false << QString();
    QTest::newRow("paused: the report waits") << 0x1u << 0x0u << true << QString();
    QTest::newRow("offline") << 0x80u << 0x0u << false << "is offline";
    QTest::newRow("set to be used offline") << 0x0u << 0x400u << false << "is offline";
    QTest::newRow("out of paper, with the error bit") << (0x10u | 0x2u) << 0x0u << false
                                                      << "is out of paper";
    QTest::newRow("paper jam") << 0x8u << 0x0u << false << "has a paper jam";
    QTest::newRow("door open") << 0x400000u << 0x0u << false << "has a door open";
    QTest::newRow("toner or ink out") << 0x40000u << 0x0u << false << "is out of toner or ink";
    QTest::newRow("needs someone") << 0x100000u << 0x0u << false << "needs someone to see to it";
    QTest::newRow("error alone") << 0x2u << 0x0u << false << "reports an error";
    QTest::newRow("print server offline") << 0x2000000u << 0x0u << false
                                          << "is on a print server that is offline";
    QTest::newRow("being removed") << 0x4u << 0x0u << false << "is being removed";
    QTest::newRow("offline and out of paper: offline first") << (0x80u | 0x10u) << 0x0u << false
                                                            << "is offline";
    QTest::newRow("paused and out of paper: the paper told") << (0x1u | 0x10u) << 0x0u << true
                                                            << "is out of paper";
}

void SpoolerStateTest::printerIsToldByItsState()
{
    QFETCH(quint32, status);
    QFETCH(quint32, attributes);
    QFETCH(bool, paused);
    QFETCH(QString, told);

    const SpoolerReading reading = readSpoolerState(status, attributes);
    QCOMPARE(reading.paused, paused);
    QCOMPARE(reading.attention, told);
    if (!told.isEmpty()) {
        const QString message = printFailureText(
            PrintFailure(PrintFailureKind::PrinterNeedsAttention, "Office", reading.attention));
        QVERIFY2(message.startsWith("The analysis was not printed: the printer \"Office\" " + told
                                    + ".\n\n"),
                 qPrintable(message));
    }
}

QTEST_MAIN(SpoolerStateTest)
#include "spooler_state_test.moc"
