// The report's lines, sizes and bold settings, as the printer layer receives them, and the
// same report copied as text.
#include "recording_printer.h"
#include "report_samples.h"

#include "report/analysis_report.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

namespace trelvane::test {
namespace {

using Lines = std::vector<std::string>;

// Rows show as their names in failure messages instead of a byte dump.
template <class Row>
    requires requires(const Row &row) { std::string_view(row.name); }
void PrintTo(const Row &row, std::ostream *os)
{
    *os << row.name;
}

const Lines kHead = {
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

Lines operator+(Lines head, const Lines &tail)
{
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

RecordingPrinter printed(const ReportContent &content)
{
    RecordingPrinter printer;
    PrintAnalysisReport(content, printer);
    return printer;
}

Lines printedLines(const ReportContent &content)
{
    Lines texts;
    for (const RecordedLine &line : printed(content).lines)
        texts.push_back(line.text);
    return texts;
}

Lines split(const std::string &text)
{
    Lines lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);)
        lines.push_back(line);
    return lines;
}

std::size_t leadingBlanks(const std::string &line)
{
    return std::min(line.find_first_not_of(' '), line.size());
}

// The words of a line with its blanks and zone advances taken as single blanks.
std::string words(std::string line)
{
    for (std::size_t zone; (zone = line.find("[zone]")) != std::string::npos;)
        line.replace(zone, 6, " ");
    std::istringstream stream(line);
    std::string joined;
    for (std::string word; stream >> word;)
        joined += (joined.empty() ? "" : " ") + word;
    return joined;
}

struct WholeReportRow {
    const char *name;
    ReportContent content;
    Lines events;
};

class WholeReportTest : public ::testing::TestWithParam<WholeReportRow> {};

TEST_P(WholeReportTest, printsEveryLineInItsType)
{
    const WholeReportRow &row = GetParam();
    EXPECT_EQ(printed(row.content).events, row.events);
}

// Copied as text: the printed lines from the heading on, word for word, each indented as
// printed; a line that begins with a zone advance begins at the second zone.
TEST_P(WholeReportTest, copiesThePrintedLinesAsText)
{
    const WholeReportRow &row = GetParam();
    Lines lines;
    for (const std::string &event : row.events)
        if (event == "empty" || event.starts_with("line "))
            lines.push_back(event == "empty" ? "" : event.substr(5));
    lines.erase(lines.begin(), std::find_if(lines.begin(), lines.end(),
                                            [](const std::string &l) { return !l.empty(); }));
    while (lines.back().empty())
        lines.pop_back();

    const std::string text = reportText(row.content);
    ASSERT_TRUE(text.ends_with('\n'));
    const Lines copied = split(text);
    ASSERT_EQ(copied.size(), lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(words(copied[i]), words(lines[i])) << "line " << i + 1;
        EXPECT_EQ(leadingBlanks(copied[i]),
                  lines[i].starts_with("[zone]") ? 14 : leadingBlanks(lines[i]))
            << copied[i];
    }
}

// The events of the worked example's report with `funcTrack` feet of functional track: its
// functional lines, and what follows the light session.
Lines pineRidgeEvents(const char *funcTrack, const Lines &functional, const Lines &end)
{
    return kHead
        + Lines{"line       Mainline PASSING track length:  10 ft.",
                std::string("line       FUNCTIONAL track length:  ") + funcTrack + " ft.",
                "line       Total STORAGE track length:  100 ft.",
                "line       EQUIVALENT number of 40' cars in service:  30",
                "empty",
                "empty",
                "line *** TRACKAGE ANALYSIS ***",
                "empty",
                "line Passing trackage is ADEQUATE."}
        + functional
        + Lines{"line Yard capacity is ADEQUATE.",
                "line       Use a max. of 160 cars in service.",
                "empty",
                "empty",
                "line *** OPERATING ANALYSIS ***",
                "empty",
                "line Based on 30 cars in service:",
                "line       Move 21 cars for a HEAVY session.",
                "line       Move 15 cars for an AVERAGE session.",
                "line       Move 7 cars for a LIGHT session.",
                "empty"}
        + end;
}

const WholeReportRow kWholeReportRows[] = {
    {"WorkedExampleSaturated35Lines", pineRidgeSaturated(),
     pineRidgeEvents("18",
                     {"line Functional trackage is SATURATED!",
                      "line       Move no more than 14.4 cars, or REDESIGN trackage."},
                     {"line       Warning![zone]Operation may not be satisfactory using these",
                      "line [zone]figures unless functional trackage is redesigned.", "empty",
                      "end"})},
    {"FunctionalFiftyFeetAdequate31Lines", pineRidgeAdequate(),
     pineRidgeEvents("50", {"line Functional trackage is ADEQUATE."}, {"end"})},
};
INSTANTIATE_TEST_SUITE_P(ReportLines, WholeReportTest, ::testing::ValuesIn(kWholeReportRows),
                         [](const auto &info) { return std::string(info.param.name); });

struct OneLineRow {
    const char *name;
    ReportContent content;
    std::size_t lineCount;
    std::size_t lineNumber;
    std::string expected;
};

class OneLineTest : public ::testing::TestWithParam<OneLineRow> {};

TEST_P(OneLineTest, printsTheLineAsShown)
{
    const OneLineRow &row = GetParam();
    const Lines lines = printedLines(row.content);
    ASSERT_EQ(lines.size(), row.lineCount);
    EXPECT_EQ(lines.at(row.lineNumber - 1), row.expected);
}

ReportContent with(ReportContent content, void (*change)(ReportContent &))
{
    change(content);
    return content;
}

const OneLineRow kOneLineRows[] = {
    {"EmptyNamePreparedForAndItsBlankAlone",
     with(pineRidgeSaturated(), [](ReportContent &c) { c.roadName = ""; }), 35, 7,
     "Prepared for "},
    {"NamePrintedUntrimmed",
     with(pineRidgeSaturated(), [](ReportContent &c) { c.roadName = "  Union Pacific  "; }), 35,
     7, "Prepared for   Union Pacific  "},
    {"CaptionOfSpacesOnLine21IsPrinted",
     with(pineRidgeSaturated(), [](ReportContent &c) { c.captions.funcSug = "   "; }), 35, 21,
     "         "},
    {"EmptyFunctionalSuggestionStorageStatusMovesUp",
     with(pineRidgeAdequate(), [](ReportContent &c) { c.captions.funcSug = ""; }), 31, 21,
     "Yard capacity is ADEQUATE."},
    {"Percentage50NoWarningLightSessionSecondToLast",
     with(pineRidgeSaturated(), [](ReportContent &c) { c.funcPct = 50; }), 32, 31,
     "      Move 7 cars for a LIGHT session."},
    {"Percentage51WarningWithoutLine21",
     with(pineRidgeAdequate(), [](ReportContent &c) { c.funcPct = 51; }), 34, 32,
     "      Warning![zone]Operation may not be satisfactory using these"},
    {"NegativePercentageNoWarning",
     with(pineRidgeSaturated(), [](ReportContent &c) { c.funcPct = -1; }), 32, 32, ""},
    {"Footage0PrintsAs0Ft",
     with(pineRidgeSaturated(), [](ReportContent &c) { c.passTrack = 0; }), 35, 11,
     "      Mainline PASSING track length:  0 ft."},
    {"NegativeFigureByTheIntegerRule",
     with(pineRidgeSaturated(), [](ReportContent &c) { c.equivCars = -138; }), 35, 14,
     "      EQUIVALENT number of 40' cars in service:  -138"},
    {"EmptyIndentedCaptionLeavesTheIndentAlone",
     with(pineRidgeSaturated(), [](ReportContent &c) { c.captions.storSug = ""; }), 35, 23,
     "      "},
    {"NameWithALineBreakStaysOneRecordedLine",
     with(pineRidgeSaturated(), [](ReportContent &c) { c.roadName = "Line one\nline two\ttab"; }),
     35, 7, "Prepared for Line one\nline two\ttab"},
};
INSTANTIATE_TEST_SUITE_P(ReportLines, OneLineTest, ::testing::ValuesIn(kOneLineRows),
                         [](const auto &info) { return std::string(info.param.name); });

struct CopiedNameRow {
    const char *name;
    const char *roadName;
    const char *line; // the copied text's "Prepared for" line
};

class CopiedNameTest : public ::testing::TestWithParam<CopiedNameRow> {};

// Whatever a name holds, it stays on its own line of the copied text.
TEST_P(CopiedNameTest, keepsTheNameOnOneLine)
{
    ReportContent content = pineRidgeSaturated();
    content.roadName = GetParam().roadName;
    const Lines copied = split(reportText(content));
    ASSERT_EQ(copied.size(), split(reportText(pineRidgeSaturated())).size());
    EXPECT_EQ(copied.at(2), GetParam().line);
}

const CopiedNameRow kCopiedNameRows[] = {
    {"LineFeedAndTabAsBlanks", "Line one\nline two\ttab", "Prepared for Line one line two tab"},
    {"CarriageReturnAsBlank", "A\r\nB", "Prepared for A  B"},
    {"LineAndParagraphSeparatorsAsBlanks", "A\u2028B\u2029C", "Prepared for A B C"},
    {"NextLineControlAsBlank", "A\u0085B", "Prepared for A B"},
    {"OtherCharactersKept", "Soci\u00e9t\u00e9 \u2014 \xf0\x9f\x9a\x82 Line",
     "Prepared for Soci\u00e9t\u00e9 \u2014 \xf0\x9f\x9a\x82 Line"},
};
INSTANTIATE_TEST_SUITE_P(ReportLines, CopiedNameTest, ::testing::ValuesIn(kCopiedNameRows),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(CopiedReport, leavesOutPreparedForWithoutAName)
{
    ReportContent content = pineRidgeSaturated();
    content.roadName = "";
    const Lines copied = split(reportText(content));
    EXPECT_EQ(copied.size(), split(reportText(pineRidgeSaturated())).size() - 1);
    EXPECT_EQ(copied.at(1), "");
    EXPECT_EQ(copied.at(2), "Date:  3/5/2026");
}

TEST(ReportType, onlyLineFiveIsBold)
{
    const RecordingPrinter printer = printed(pineRidgeSaturated());
    std::vector<std::size_t> boldLines;
    for (std::size_t i = 0; i < printer.lines.size(); ++i)
        if (printer.lines[i].bold)
            boldLines.push_back(i + 1);
    EXPECT_EQ(boldLines, std::vector<std::size_t>{5});
    EXPECT_EQ(printer.lines.at(16).text, "*** TRACKAGE ANALYSIS ***");
    EXPECT_EQ(printer.lines.at(25).text, "*** OPERATING ANALYSIS ***");
}

TEST(ReportType, leadingLinesKeepTheStartingSize)
{
    const RecordingPrinter printer = printed(pineRidgeSaturated());
    for (std::size_t i = 0; i < printer.lines.size(); ++i) {
        if (i < 4)
            EXPECT_FALSE(printer.lines[i].size.has_value()) << "line " << i + 1 << " has a size";
        else
            EXPECT_EQ(printer.lines[i].size, std::optional<double>(10)) << "line " << i + 1;
    }
    EXPECT_EQ(std::count(printer.events.begin(), printer.events.end(), "size 10"), 1);
    EXPECT_EQ(std::count(printer.events.begin(), printer.events.end(), "bold on"), 1);
    EXPECT_EQ(std::count(printer.events.begin(), printer.events.end(), "bold off"), 1);
}

TEST(ReportFailure, failingLineStopsTheReport)
{
    RecordingPrinter printer;
    printer.failAtLine = 12;
    bool ended = false;
    printer.onEnd = [&ended] { ended = true; };
    EXPECT_THROW(PrintAnalysisReport(pineRidgeSaturated(), printer), RecordedFailure);
    EXPECT_EQ(printer.lines.size(), 11u);
    EXPECT_FALSE(ended);
    EXPECT_EQ(std::count(printer.events.begin(), printer.events.end(), "end"), 0);
}

} // namespace
} // namespace trelvane::test
