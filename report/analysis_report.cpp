#include "report/analysis_report.h"

#include "analysis/analyze.h"
#include "analysis/number_rules.h"
#include "report/print_system.h"

#include <QDate>
#include <QStringList>

namespace trelvane {
namespace {

const QString kIndent = QStringLiteral("      ");

QString number(std::int16_t value) { return QString::fromStdString(intToText(value)); }

// The report written as fixed-pitch text: a zone advance moves on to the next 14-column
// zone, at least one blank on, so that "Warning!", which fills the first zone with its
// indent, stays a word apart from the message.
class TextLayer final : public PrinterLayer {
public:
    QStringList lines;

    void printEmptyLine() override { lines << QString(); }
    void printLine(const std::vector<Piece> &pieces) override
    {
        QString line;
        for (const Piece &piece : pieces) {
            if (const QString *text = std::get_if<QString>(&piece))
                line += asOneLine(*text);
            else
                line = line.leftJustified((line.size() / kZoneColumns + 1) * kZoneColumns);
        }
        lines << line;
    }
    void setTypeSize(double) override {}
    void setBold(bool) override {}
    void endDocument() override {}
};

} // namespace

ReportContent reportContent(const stdGeneral &session, const ReportCaptions &captions)
{
    ReportContent content;
    content.roadName = QString::fromStdString(session.strRoadName);
    content.date = shortDate(QDate::currentDate());
    content.scale = QString::fromStdString(session.strScale);
    content.passTrack = session.intPassTrack;
    content.funcTrack = session.intFuncTrack;
    content.storTrack = session.intStorTrack;
    content.equivCars = session.intEquivCars;
    content.funcPct = session.intFuncPct;
    content.captions = captions;
    return content;
}

void PrintAnalysisReport(const ReportContent &c, PrinterLayer &printer)
{
    // The leading lines come before the size is set, so they keep the printer's own size.
    for (int i = 0; i < 4; ++i)
        printer.printEmptyLine();
    printer.setTypeSize(10);
    printer.setBold(true);
    printer.printLine({QStringLiteral("*** TRELVANE ***")});
    printer.setBold(false);
    printer.printEmptyLine();
    printer.printLine({QStringLiteral("Prepared for "), c.roadName});
    printer.printLine({QStringLiteral("Date:  "), c.date});
    printer.printLine({QStringLiteral("Input data furnished:")});
    printer.printLine({kIndent, QStringLiteral("Your SCALE:  "), c.scale});
    printer.printLine({kIndent, QStringLiteral("Mainline PASSING track length:  "),
                       number(c.passTrack), QStringLiteral(" ft.")});
    printer.printLine({kIndent, QStringLiteral("FUNCTIONAL track length:  "),
                       number(c.funcTrack), QStringLiteral(" ft.")});
    printer.printLine({kIndent, QStringLiteral("Total STORAGE track length:  "),
                       number(c.storTrack), QStringLiteral(" ft.")});
    printer.printLine({kIndent, QStringLiteral("EQUIVALENT number of 40' cars in service:  "),
                       number(c.equivCars)});
    printer.printEmptyLine();
    printer.printEmptyLine();
    printer.printLine({QStringLiteral("*** TRACKAGE ANALYSIS ***")});
    printer.printEmptyLine();
    printer.printLine({c.captions.passSug});
    printer.printLine({c.captions.funcStatus});
    // Only the truly empty caption is left out; a caption of blanks is printed.
    if (!c.captions.funcSug.isEmpty())
        printer.printLine({kIndent, c.captions.funcSug});
    printer.printLine({c.captions.storStatus});
    printer.printLine({kIndent, c.captions.storSug});
    printer.printEmptyLine();
    printer.printEmptyLine();
    printer.printLine({QStringLiteral("*** OPERATING ANALYSIS ***")});
    printer.printEmptyLine();
    printer.printLine({c.captions.basis});
    printer.printLine({kIndent, c.captions.hvy});
    printer.printLine({kIndent, c.captions.med});
    printer.printLine({kIndent, c.captions.lite});
    printer.printEmptyLine();
    if (functionalTrackageSaturated(c.funcPct)) {
        printer.printLine({kIndent, QStringLiteral("Warning!"), ZoneAdvance{},
                           QStringLiteral("Operation may not be satisfactory using these")});
        printer.printLine({ZoneAdvance{},
                           QStringLiteral("figures unless functional trackage is redesigned.")});
        printer.printEmptyLine();
    }
    printer.endDocument();
}

QString reportText(const ReportContent &content)
{
    TextLayer text;
    PrintAnalysisReport(content, text);
    // The page's top margin, and the empty line after the last.
    while (!text.lines.isEmpty() && text.lines.constFirst().isEmpty())
        text.lines.removeFirst();
    while (!text.lines.isEmpty() && text.lines.constLast().isEmpty())
        text.lines.removeLast();
    // With no name given, the line would read "Prepared for " and nothing after it.
    if (content.roadName.isEmpty())
        text.lines.removeOne(QStringLiteral("Prepared for "));
    return text.lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

} // namespace trelvane
