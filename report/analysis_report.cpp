#include "report/analysis_report.h"

#include "analysis/analyze.h"
#include "analysis/number_rules.h"

#include <algorithm>

namespace trelvane {
namespace {

const std::string kIndent = "      ";

// Characters, not bytes: a UTF-8 continuation byte starts no column of its own.
std::size_t columns(std::string_view text)
{
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xc0) != 0x80;
    }));
}

// The report written as fixed-pitch text: a zone advance moves on to the next 14-column
// zone, at least one blank on, so that "Warning!", which fills the first zone with its
// indent, stays a word apart from the message.
class TextLayer final : public PrinterLayer {
public:
    std::vector<std::string> lines;

    void printEmptyLine() override { lines.emplace_back(); }
    void printLine(const std::vector<Piece> &pieces) override
    {
        std::string line;
        for (const Piece &piece : pieces) {
            if (const std::string *text = std::get_if<std::string>(&piece)) {
                line += asOneLine(*text);
            } else {
                const std::size_t zone = kZoneColumns;
                line.append((columns(line) / zone + 1) * zone - columns(line), ' ');
            }
        }
        lines.push_back(std::move(line));
    }
    void setTypeSize(double) override {}
    void setBold(bool) override {}
    void endDocument() override {}
};

} // namespace

ReportContent reportContent(const stdGeneral &session, const ResultCaptions &captions,
                            std::string date)
{
    ReportContent content;
    content.roadName = session.strRoadName;
    content.date = std::move(date);
    content.scale = session.strScale;
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
    printer.printLine({"*** TRELVANE ***"});
    printer.setBold(false);
    printer.printEmptyLine();
    printer.printLine({"Prepared for ", c.roadName});
    printer.printLine({"Date:  ", c.date});
    printer.printLine({"Input data furnished:"});
    printer.printLine({kIndent, "Your SCALE:  ", c.scale});
    printer.printLine({kIndent, "Mainline PASSING track length:  ", intToText(c.passTrack), " ft."});
    printer.printLine({kIndent, "FUNCTIONAL track length:  ", intToText(c.funcTrack), " ft."});
    printer.printLine({kIndent, "Total STORAGE track length:  ", intToText(c.storTrack), " ft."});
    printer.printLine({kIndent, "EQUIVALENT number of 40' cars in service:  ", intToText(c.equivCars)});
    printer.printEmptyLine();
    printer.printEmptyLine();
    printer.printLine({"*** TRACKAGE ANALYSIS ***"});
    printer.printEmptyLine();
    printer.printLine({c.captions.passSug});
    printer.printLine({c.captions.funcStatus});
    // Only the truly empty caption is left out; a caption of blanks is printed.
    if (!c.captions.funcSug.empty())
        printer.printLine({kIndent, c.captions.funcSug});
    printer.printLine({c.captions.storStatus});
    printer.printLine({kIndent, c.captions.storSug});
    printer.printEmptyLine();
    printer.printEmptyLine();
    printer.printLine({"*** OPERATING ANALYSIS ***"});
    printer.printEmptyLine();
    printer.printLine({c.captions.basis});
    printer.printLine({kIndent, c.captions.hvy});
    printer.printLine({kIndent, c.captions.med});
    printer.printLine({kIndent, c.captions.lite});
    printer.printEmptyLine();
    if (functionalTrackageSaturated(c.funcPct)) {
        printer.printLine({kIndent, "Warning!", ZoneAdvance{},
                           "Operation may not be satisfactory using these"});
        printer.printLine({ZoneAdvance{}, "figures unless functional trackage is redesigned."});
        printer.printEmptyLine();
    }
    printer.endDocument();
}

std::string reportText(const ReportContent &content)
{
    TextLayer text;
    PrintAnalysisReport(content, text);
    std::vector<std::string> &lines = text.lines;
    // The page's top margin, and the empty line after the last.
    const auto first = std::find_if(lines.begin(), lines.end(),
                                    [](const std::string &line) { return !line.empty(); });
    lines.erase(lines.begin(), first);
    while (!lines.empty() && lines.back().empty())
        lines.pop_back();
    // With no name given, the line would read "Prepared for " and nothing after it.
    if (content.roadName.empty())
        std::erase(lines, std::string("Prepared for "));
    std::string joined;
    for (const std::string &line : lines)
        joined += line + '\n';
    return joined;
}

} // namespace trelvane
