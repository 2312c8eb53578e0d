#include "report/analysis_report.h"

#include "analysis/analyze.h"
#include "analysis/number_rules.h"

namespace trelvane {
namespace {

const QString kIndent = QStringLiteral("      ");

QString number(std::int16_t value) { return QString::fromStdString(intToText(value)); }

} // namespace

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

} // namespace trelvane
