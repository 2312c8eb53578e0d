// The report as a PDF page, read back with poppler: lines and their order, their vertical
// places, the indent, the print zone of the warning, bold type, page size and names that
// hold control characters.
#include "pdf_reading.h"
#include "report_samples.h"

#include "report/analysis_report.h"
#include "report/pdf_page_layer.h"
#include "report/print_system.h"

#include <QFontMetricsF>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QtTest>

#include <clocale>

using namespace trelvane;
using namespace trelvane::test;

Q_DECLARE_METATYPE(trelvane::ReportContent)

namespace {

constexpr double kMargin = 54; // points, the page's left and top margin
const double kPointsPerDevice = 72.0 / QPdfWriter(QString()).resolution();

using Numbered = QList<QPair<int, QString>>;

// The lines that carry text, by their line number, as pdftotext reads them (blanks
// inside a line reduced to one).
const Numbered kSaturatedTextLines = {
    {5, "*** TRELVANE ***"},
    {7, "Prepared for Pine Ridge"},
    {8, "Date: 3/5/2026"},
    {9, "Input data furnished:"},
    {10, "Your SCALE: HO"},
    {11, "Mainline PASSING track length: 10 ft."},
    {12, "FUNCTIONAL track length: 18 ft."},
    {13, "Total STORAGE track length: 100 ft."},
    {14, "EQUIVALENT number of 40' cars in service: 30"},
    {17, "*** TRACKAGE ANALYSIS ***"},
    {19, "Passing trackage is ADEQUATE."},
    {20, "Functional trackage is SATURATED!"},
    {21, "Move no more than 14.4 cars, or REDESIGN trackage."},
    {22, "Yard capacity is ADEQUATE."},
    {23, "Use a max. of 160 cars in service."},
    {26, "*** OPERATING ANALYSIS ***"},
    {28, "Based on 30 cars in service:"},
    {29, "Move 21 cars for a HEAVY session."},
    {30, "Move 15 cars for an AVERAGE session."},
    {31, "Move 7 cars for a LIGHT session."},
    {33, "Warning! Operation may not be satisfactory using these"},
    {34, "figures unless functional trackage is redesigned."},
};

const Numbered kAdequateTextLines = {
    {5, "*** TRELVANE ***"},
    {7, "Prepared for Pine Ridge"},
    {8, "Date: 3/5/2026"},
    {9, "Input data furnished:"},
    {10, "Your SCALE: HO"},
    {11, "Mainline PASSING track length: 10 ft."},
    {12, "FUNCTIONAL track length: 50 ft."},
    {13, "Total STORAGE track length: 100 ft."},
    {14, "EQUIVALENT number of 40' cars in service: 30"},
    {17, "*** TRACKAGE ANALYSIS ***"},
    {19, "Passing trackage is ADEQUATE."},
    {20, "Functional trackage is ADEQUATE."},
    {21, "Yard capacity is ADEQUATE."},
    {22, "Use a max. of 160 cars in service."},
    {25, "*** OPERATING ANALYSIS ***"},
    {27, "Based on 30 cars in service:"},
    {28, "Move 21 cars for a HEAVY session."},
    {29, "Move 15 cars for an AVERAGE session."},
    {30, "Move 7 cars for a LIGHT session."},
};

// The report's 10-point type as the page measures it, in points.
QFontMetricsF tenPointMetrics(QPdfWriter &device)
{
    QFont font; // the report sets no face, so the default one is printed
    font.setPointSizeF(10);
    return QFontMetricsF(font, &device);
}

} // namespace

class PdfPageTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void linesStandOnTheirNumbers_data();
    void linesStandOnTheirNumbers();
    void leadingLinesUseTheStartingSize();
    void onlyTheFirstHeadingIsBold();
    void indentIsSixBlanks();
    void warningHalvesStartAtTheSecondZone();
    void pageSizeFollowsTheLocale_data();
    void pageSizeFollowsTheLocale();
    void namesStayOnTheirLine_data();
    void namesStayOnTheirLine();
    void longLinesContinueAtTheirIndent_data();
    void longLinesContinueAtTheirIndent();

private:
    QString render(const ReportContent &content, const QString &name,
                   const QPageSize &paper = QPageSize(QPageSize::Letter));
    QTemporaryDir dir;
};

void PdfPageTest::initTestCase()
{
    QVERIFY(dir.isValid());
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

QString PdfPageTest::render(const ReportContent &content, const QString &name,
                            const QPageSize &paper)
{
    const QString path = dir.filePath(name);
    PdfPageLayer page(QStringLiteral("Trelvane analysis"), paper,
                      [&path](const PdfPageLayer &document) {
                          QFile file(path);
                          QVERIFY(file.open(QIODevice::WriteOnly)
                                  && file.write(document.pdf()) == document.pdf().size());
                      });
    PrintAnalysisReport(content, page);
    return path;
}

void PdfPageTest::linesStandOnTheirNumbers_data()
{
    QTest::addColumn<ReportContent>("content");
    QTest::addColumn<Numbered>("expected");
    QTest::newRow("worked example, 35 lines") << pineRidgeSaturated() << kSaturatedTextLines;
    QTest::newRow("functional adequate, 31 lines") << pineRidgeAdequate() << kAdequateTextLines;
}

void PdfPageTest::linesStandOnTheirNumbers()
{
    QFETCH(ReportContent, content);
    QFETCH(Numbered, expected);
    const QString path = render(content, QString("%1.pdf").arg(QTest::currentDataTag()));
    QCOMPARE(pdfPageCount(path), 1);

    QString error;
    const QList<PdfLine> lines = pdfLines(path, &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(lines.size(), expected.size());
    // Lines 7 and 8 are consecutive text lines: their distance is one 10-point line.
    const double step = lines.at(2).top() - lines.at(1).top();
    QVERIFY(step > 8 && step < 16);
    for (int i = 0; i < lines.size(); ++i) {
        QCOMPARE(lines.at(i).text(), expected.at(i).second);
        const double number = 5 + (lines.at(i).top() - lines.at(0).top()) / step;
        QVERIFY2(std::abs(number - expected.at(i).first) < 0.1,
                 qPrintable(QString("\"%1\" stands at line %2, not %3")
                                .arg(expected.at(i).second)
                                .arg(number)
                                .arg(expected.at(i).first)));
    }
}

void PdfPageTest::leadingLinesUseTheStartingSize()
{
    // A starting size far from 10 points, so four lines of either size cannot be confused.
    const QFont applicationFont = QGuiApplication::font();
    QFont large = applicationFont;
    large.setPointSizeF(20);
    QGuiApplication::setFont(large);
    const QString path = render(pineRidgeSaturated(), "leading.pdf");
    QGuiApplication::setFont(applicationFont);

    const QList<PdfLine> lines = pdfLines(path);
    QVERIFY(!lines.isEmpty());
    QPdfWriter device(QString{});
    const double startSpacing = QFontMetricsF(large, &device).lineSpacing() * kPointsPerDevice;
    const double tenSpacing = tenPointMetrics(device).lineSpacing() * kPointsPerDevice;
    // pdftotext puts a word's top at its baseline less the font's ascent, which is where
    // the report starts the line.
    const double headingTop = lines.at(0).top() - kMargin;
    QVERIFY2(std::abs(headingTop - 4 * startSpacing) < 1.0,
             qPrintable(QString("heading at %1 pt below the margin, expected %2 "
                                "(four 10-point lines would give %3)")
                            .arg(headingTop)
                            .arg(4 * startSpacing)
                            .arg(4 * tenSpacing)));
    // And from the heading on the type is 10 points: the next text line is two below.
    QVERIFY(std::abs(lines.at(1).top() - lines.at(0).top() - 2 * tenSpacing) < 0.5);
}

void PdfPageTest::onlyTheFirstHeadingIsBold()
{
    const QString path = render(pineRidgeSaturated(), "bold.pdf");
    QString error;
    const QStringList bold = pdfBoldTexts(path, &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(bold, QStringList{"*** TRELVANE ***"});

    const ToolOutput fonts = runTool("pdffonts", {path});
    QVERIFY2(fonts.ok, qPrintable(fonts.error));
    QVERIFY2(fonts.out.contains("Bold"), qPrintable(fonts.out));
}

void PdfPageTest::indentIsSixBlanks()
{
    const QString path = render(pineRidgeSaturated(), "indent.pdf");
    const QList<PdfLine> lines = pdfLines(path);
    QCOMPARE(lines.size(), kSaturatedTextLines.size());
    QPdfWriter device(QString{});
    const double indent = tenPointMetrics(device).horizontalAdvance("      ") * kPointsPerDevice;
    const QList<int> indented = {10, 11, 12, 13, 14, 21, 23, 29, 30, 31, 33};
    for (int i = 0; i < lines.size(); ++i) {
        const int number = kSaturatedTextLines.at(i).first;
        if (number == 34)
            continue; // starts at the second zone, see below
        const double expected = kMargin + (indented.contains(number) ? indent : 0);
        QVERIFY2(std::abs(lines.at(i).left() - expected) < 0.6,
                 qPrintable(QString("line %1 starts at %2 pt, expected %3")
                                .arg(number)
                                .arg(lines.at(i).left())
                                .arg(expected)));
    }
}

void PdfPageTest::warningHalvesStartAtTheSecondZone()
{
    const QString path = render(pineRidgeSaturated(), "zones.pdf");
    const QList<PdfLine> lines = pdfLines(path);
    QCOMPARE(lines.size(), kSaturatedTextLines.size());
    const PdfLine &first = lines.at(lines.size() - 2);
    const PdfLine &second = lines.at(lines.size() - 1);
    QCOMPARE(first.words.at(0).text, QString("Warning!"));
    QCOMPARE(first.words.at(1).text, QString("Operation"));
    QCOMPARE(second.words.at(0).text, QString("figures"));

    QPdfWriter device(QString{});
    const double zone = 14 * tenPointMetrics(device).averageCharWidth() * kPointsPerDevice;
    QVERIFY(first.words.at(0).xMax < kMargin + zone);
    QVERIFY2(std::abs(first.words.at(1).xMin - (kMargin + zone)) < 0.6,
             qPrintable(QString("message at %1, zone at %2")
                            .arg(first.words.at(1).xMin)
                            .arg(kMargin + zone)));
    QVERIFY2(std::abs(second.words.at(0).xMin - first.words.at(1).xMin) < 0.6,
             qPrintable(QString("second half at %1, first at %2")
                            .arg(second.words.at(0).xMin)
                            .arg(first.words.at(1).xMin)));
}

void PdfPageTest::pageSizeFollowsTheLocale_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QSizeF>("points");
    QTest::newRow("C: A4") << "C.UTF-8" << QSizeF(595.276, 841.89);
    QTest::newRow("United States: Letter") << "en_US.UTF-8" << QSizeF(612, 792);
    QTest::newRow("Canada, metric but on Letter paper") << "en_CA.UTF-8" << QSizeF(612, 792);
    QTest::newRow("Germany: A4") << "de_DE.UTF-8" << QSizeF(595.276, 841.89);
}

// The paper comes from the C library's LC_PAPER, which the program's environment sets.
void PdfPageTest::pageSizeFollowsTheLocale()
{
    QFETCH(QString, locale);
    QFETCH(QSizeF, points);
    QVERIFY2(std::setlocale(LC_PAPER, locale.toLatin1().constData()),
             qPrintable(locale + " is not made (LOCPATH=" + qEnvironmentVariable("LOCPATH") + ")"));
    const QPageSize paper = localePaper();
    std::setlocale(LC_PAPER, "C.UTF-8");
    const QString path = render(pineRidgeSaturated(), QString("%1.pdf").arg(locale), paper);
    const QSizeF size = pdfPageSize(path);
    QVERIFY2(std::abs(size.width() - points.width()) < 1
                 && std::abs(size.height() - points.height()) < 1,
             qPrintable(QString("page is %1 x %2 pt").arg(size.width()).arg(size.height())));
}

void PdfPageTest::namesStayOnTheirLine_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("line7");
    QTest::newRow("line feed") << "Pine\nRidge" << "Prepared for Pine Ridge";
    QTest::newRow("carriage return and line feed") << "Pine\r\nRidge" << "Prepared for Pine Ridge";
    QTest::newRow("tab and form feed") << "Pine\tRidge\f& Western"
                                       << "Prepared for Pine Ridge & Western";
    QTest::newRow("next line, line and paragraph separators")
        << QString::fromUtf8("A\u0085B\u2028C\u2029D") << "Prepared for A B C D";
    QTest::newRow("bell and nul") << QString("Bell\aNul") + QChar(0) + "End"
                                  << "Prepared for Bell Nul End";
    QTest::newRow("right-to-left with digits")
        << QString::fromUtf8("מסילת הרכבת 12") << QString();
    QTest::newRow("emoji") << QString::fromUtf8("Steam 🚂 Line") << QString();
}

void PdfPageTest::namesStayOnTheirLine()
{
    QFETCH(QString, name);
    QFETCH(QString, line7);
    ReportContent content = pineRidgeSaturated();
    content.roadName = name.toStdString();
    const QString path = render(content, QString("name-%1.pdf").arg(QTest::currentDataTag()));
    QCOMPARE(pdfPageCount(path), 1);
    const QStringList texts = pdfLineTexts(path);
    // Every other line where it belongs: the name added no line and took none away.
    QCOMPARE(texts.size(), kSaturatedTextLines.size());
    QCOMPARE(texts.at(0), QString("*** TRELVANE ***"));
    QVERIFY2(texts.at(1).startsWith("Prepared for"), qPrintable(texts.at(1)));
    QCOMPARE(texts.at(2), QString("Date: 3/5/2026"));
    QCOMPARE(texts.last(), QString("figures unless functional trackage is redesigned."));
    if (!line7.isEmpty())
        QCOMPARE(texts.at(1), line7);
}

void PdfPageTest::longLinesContinueAtTheirIndent_data()
{
    QTest::addColumn<ReportContent>("content");
    QTest::addColumn<QString>("line");  // the line wider than the page
    QTest::addColumn<QString>("after"); // the line that follows it
    QTest::addColumn<int>("pages");

    ReportContent longName = pineRidgeSaturated();
    while (longName.roadName.size() < 300)
        longName.roadName += " & Western Mountain Division";
    longName.roadName.resize(300);
    QTest::newRow("300-character name")
        << longName << QString::fromStdString("Prepared for " + longName.roadName)
        << "Date: 3/5/2026" << 1;

    ReportContent longCaption = pineRidgeSaturated();
    const QString caption = QString::fromStdString(longCaption.captions.funcSug);
    longCaption.captions.funcSug = (caption + " ").repeated(4).trimmed().toStdString();
    QTest::newRow("indented caption four times the page's width")
        << longCaption << QString::fromStdString(longCaption.captions.funcSug)
        << "Yard capacity is ADEQUATE." << 1;

    ReportContent oneWord = pineRidgeSaturated();
    oneWord.roadName = std::string(5000, 'W');
    QTest::newRow("five thousand characters without a blank, over three pages")
        << oneWord << QString::fromStdString("Prepared for " + oneWord.roadName)
        << "Date: 3/5/2026" << 3;
}

// Nothing of a line is lost: what does not fit continues on the next line, indented as
// the line's first part was, and everything after it moves down.
void PdfPageTest::longLinesContinueAtTheirIndent()
{
    QFETCH(ReportContent, content);
    QFETCH(QString, line);
    QFETCH(QString, after);
    QFETCH(int, pages);
    const QPageSize paper(QPageSize::Letter);
    const QString path = render(content, QString("long-%1.pdf").arg(QTest::currentDataTag()), paper);
    QCOMPARE(pdfPageCount(path), pages);
    QList<PdfLine> lines;
    for (int page = 1; page <= pages; ++page)
        lines += pdfLines(path, nullptr, page);

    const QString first = line.trimmed().section(' ', 0, 0).left(20);
    qsizetype start = 0;
    while (start < lines.size() && !lines.at(start).text().startsWith(first))
        ++start;
    QVERIFY2(start < lines.size(), qPrintable("no line begins with " + first));
    qsizetype end = start + 1;
    while (end < lines.size() && lines.at(end).text() != after)
        ++end;
    QVERIFY2(end < lines.size(), qPrintable("the line after it is gone: " + after));
    QVERIFY2(end - start > 1, "the line was not continued");

    QString printed;
    const double right = paper.size(QPageSize::Point).width() - kMargin;
    for (qsizetype i = start; i < end; ++i) {
        printed += lines.at(i).text();
        QVERIFY2(std::abs(lines.at(i).left() - lines.at(start).left()) < 0.5,
                 qPrintable(QString("line %1 of it starts at %2, the first at %3")
                                .arg(i - start + 1)
                                .arg(lines.at(i).left())
                                .arg(lines.at(start).left())));
        for (const PdfWord &word : lines.at(i).words)
            QVERIFY2(word.xMax <= right + 0.5, qPrintable(word.text + " runs past the margin"));
    }
    QCOMPARE(printed.remove(' '), QString(line).remove(' '));
    QCOMPARE(lines.last().text(), QString("figures unless functional trackage is redesigned."));
}

QTEST_MAIN(PdfPageTest)
#include "pdf_page_test.moc"
