// The report's lines, sizes and bold settings, as the printer layer receives them.
#include "recording_printer.h"
#include "report_samples.h"

#include "report/analysis_report.h"
#include "report/print_failure.h"

#include <QtTest>

using namespace trelvane;
using trelvane::test::RecordingPrinter;

Q_DECLARE_METATYPE(trelvane::ReportContent)

namespace {

const QStringList kHead = {
    "empty",
    "empty",
    "empty",
    "empty",
    "size 10",
    "bold on",
    "line *** TRELVANE ***",
    "bold off",
    "empty",
    "line Prepared for Pine Ridge",
    "line Date:  3/5/2026",
    "line Input data furnished:",
    "line       Your SCALE:  HO",
};

QStringList events(const ReportContent &content)
{
    RecordingPrinter printer;
    PrintAnalysisReport(content, printer);
    return printer.events;
}

QStringList printedLines(const ReportContent &content)
{
    RecordingPrinter printer;
    PrintAnalysisReport(content, printer);
    QStringList texts;
    for (const auto &line : printer.lines)
        texts << line.text;
    return texts;
}

qsizetype leadingBlanks(const QString &line)
{
    qsizetype blanks = 0;
    while (blanks < line.size() && line.at(blanks) == ' ')
        ++blanks;
    return blanks;
}

} // namespace

class ReportLinesTest : public QObject {
    Q_OBJECT
private slots:
    void wholeReport_data();
    void wholeReport();
    void oneLine_data();
    void oneLine();
    void onlyLineFiveIsBold();
    void leadingLinesKeepTheStartingSize();
    void failingLineStopsTheReport();
};

void ReportLinesTest::wholeReport_data()
{
    QTest::addColumn<ReportContent>("content");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("worked example, saturated: 35 lines")
        << test::pineRidgeSaturated()
        << kHead + QStringList{
               "line       Mainline PASSING track length:  10 ft.",
               "line       FUNCTIONAL track length:  18 ft.",
               "line       Total STORAGE track length:  100 ft.",
               "line       EQUIVALENT number of 40' cars in service:  30",
               "empty",
               "empty",
               "line *** TRACKAGE ANALYSIS ***",
               "empty",
               "line Passing trackage is ADEQUATE.",
               "line Functional trackage is SATURATED!",
               "line       Move no more than 14.4 cars, or REDESIGN trackage.",
               "line Yard capacity is ADEQUATE.",
               "line       Use a max. of 160 cars in service.",
               "empty",
               "empty",
               "line *** OPERATING ANALYSIS ***",
               "empty",
               "line Based on 30 cars in service:",
               "line       Move 21 cars for a HEAVY session.",
               "line       Move 15 cars for an AVERAGE session.",
               "line       Move 7 cars for a LIGHT session.",
               "empty",
               "line       Warning![zone]Operation may not be satisfactory using these",
               "line [zone]figures unless functional trackage is redesigned.",
               "empty",
               "end",
           };

    QTest::newRow("functional 50 ft., adequate: 31 lines")
        << test::pineRidgeAdequate()
        << kHead + QStringList{
               "line       Mainline PASSING track length:  10 ft.",
               "line       FUNCTIONAL track length:  50 ft.",
               "line       Total STORAGE track length:  100 ft.",
               "line       EQUIVALENT number of 40' cars in service:  30",
               "empty",
               "empty",
               "line *** TRACKAGE ANALYSIS ***",
               "empty",
               "line Passing trackage is ADEQUATE.",
               "line Functional trackage is ADEQUATE.",
               "line Yard capacity is ADEQUATE.",
               "line       Use a max. of 160 cars in service.",
               "empty",
               "empty",
               "line *** OPERATING ANALYSIS ***",
               "empty",
               "line Based on 30 cars in service:",
               "line       Move 21 cars for a HEAVY session.",
               "line       Move 15 cars for an AVERAGE session.",
               "line       Move 7 cars for a LIGHT session.",
               "empty",
               "end",
           };
}

void ReportLinesTest::wholeReport()
{
    QFETCH(ReportContent, content);
    QFETCH(QStringList, expected);
    QCOMPARE(events(content), expected);

    // Copied as text: the printed lines from the heading on, word for word, each indented
    // as printed; a line that begins with a zone advance begins at the second zone.
    QStringList printed;
    for (const QString &event : expected)
        if (event == "empty" || event.startsWith("line "))
            printed << event.mid(5);
    while (printed.constFirst().isEmpty())
        printed.removeFirst();
    while (printed.constLast().isEmpty())
        printed.removeLast();
    const QString text = reportText(content);
    QVERIFY(text.endsWith('\n'));
    const QStringList copied = text.chopped(1).split('\n');
    QCOMPARE(copied.size(), printed.size());
    for (qsizetype i = 0; i < printed.size(); ++i) {
        const QString words = QString(printed[i]).replace("[zone]", " ").simplified();
        QCOMPARE(copied[i].simplified(), words);
        QCOMPARE(leadingBlanks(copied[i]),
                 printed[i].startsWith("[zone]") ? 14 : leadingBlanks(printed[i]));
    }
}

void ReportLinesTest::oneLine_data()
{
    QTest::addColumn<ReportContent>("content");
    QTest::addColumn<int>("lineCount");
    QTest::addColumn<int>("lineNumber");
    QTest::addColumn<QString>("expected");

    ReportContent c = test::pineRidgeSaturated();
    c.roadName = "";
    QTest::newRow("empty name: Prepared for and its blank alone") << c << 35 << 7 << "Prepared for ";

    c = test::pineRidgeSaturated();
    c.roadName = "  Union Pacific  ";
    QTest::newRow("name printed untrimmed") << c << 35 << 7 << "Prepared for   Union Pacific  ";

    c = test::pineRidgeSaturated();
    c.captions.funcSug = "   ";
    QTest::newRow("caption of spaces on line 21 is printed") << c << 35 << 21 << "         ";

    c = test::pineRidgeAdequate();
    c.captions.funcSug = "";
    QTest::newRow("empty functional suggestion: storage status moves up")
        << c << 31 << 21 << "Yard capacity is ADEQUATE.";

    c = test::pineRidgeSaturated();
    c.funcPct = 50;
    QTest::newRow("percentage 50: no warning, light session is second to last")
        << c << 32 << 31 << "      Move 7 cars for a LIGHT session.";

    c = test::pineRidgeAdequate();
    c.funcPct = 51;
    QTest::newRow("percentage 51: warning without line 21")
        << c << 34 << 32 << "      Warning![zone]Operation may not be satisfactory using these";

    c = test::pineRidgeSaturated();
    c.funcPct = -1;
    QTest::newRow("negative percentage: no warning") << c << 32 << 32 << "";

    c = test::pineRidgeSaturated();
    c.passTrack = 0;
    QTest::newRow("footage 0 prints as 0 ft.")
        << c << 35 << 11 << "      Mainline PASSING track length:  0 ft.";

    c = test::pineRidgeSaturated();
    c.equivCars = -138;
    QTest::newRow("negative figure by the integer rule")
        << c << 35 << 14 << "      EQUIVALENT number of 40' cars in service:  -138";

    c = test::pineRidgeSaturated();
    c.captions.storSug = "";
    QTest::newRow("empty indented caption leaves the indent alone") << c << 35 << 23 << "      ";

    c = test::pineRidgeSaturated();
    c.roadName = "Line one\nline two\ttab";
    QTest::newRow("name with a line break stays one recorded line")
        << c << 35 << 7 << "Prepared for Line one\nline two\ttab";
}

void ReportLinesTest::oneLine()
{
    QFETCH(ReportContent, content);
    QFETCH(int, lineCount);
    QFETCH(int, lineNumber);
    QFETCH(QString, expected);

    const QStringList lines = printedLines(content);
    QCOMPARE(lines.size(), lineCount);
    QCOMPARE(lines.at(lineNumber - 1), expected);
}

void ReportLinesTest::onlyLineFiveIsBold()
{
    RecordingPrinter printer;
    PrintAnalysisReport(test::pineRidgeSaturated(), printer);
    QList<int> boldLines;
    for (std::size_t i = 0; i < printer.lines.size(); ++i)
        if (printer.lines[i].bold)
            boldLines << static_cast<int>(i) + 1;
    QCOMPARE(boldLines, QList<int>{5});
    QCOMPARE(printer.lines.at(16).text, QString("*** TRACKAGE ANALYSIS ***"));
    QCOMPARE(printer.lines.at(25).text, QString("*** OPERATING ANALYSIS ***"));
}

void ReportLinesTest::leadingLinesKeepTheStartingSize()
{
    RecordingPrinter printer;
    PrintAnalysisReport(test::pineRidgeSaturated(), printer);
    for (std::size_t i = 0; i < printer.lines.size(); ++i) {
        const auto &size = printer.lines[i].size;
        if (i < 4)
            QVERIFY2(!size.has_value(), qPrintable(QString("line %1 has a size").arg(i + 1)));
        else
            QCOMPARE(size, std::optional<double>(10));
    }
    QCOMPARE(printer.events.count("size 10"), 1);
    QCOMPARE(printer.events.count("bold on"), 1);
    QCOMPARE(printer.events.count("bold off"), 1);
}

void ReportLinesTest::failingLineStopsTheReport()
{
    RecordingPrinter printer;
    printer.failAtLine = 12;
    bool ended = false;
    printer.onEnd = [&ended] { ended = true; };
    QVERIFY_THROWS_EXCEPTION(PrintFailure, PrintAnalysisReport(test::pineRidgeSaturated(), printer));
    QCOMPARE(printer.lines.size(), std::size_t(11));
    QVERIFY(!ended);
    QVERIFY(!printer.events.contains("end"));
}

QTEST_GUILESS_MAIN(ReportLinesTest)
#include "report_lines_test.moc"
