// The web page's way into the analysis and the report: the session state of one visit,
// behind plain C functions of numbers and UTF-8 strings, so that the page needs no
// generated bindings (and no eval). A returned string stays valid until the next call.
#include "analysis/analyze.h"
#include "analysis/number_rules.h"
#include "analysis/result_captions.h"
#include "analysis/scale_table.h"
#include "analysis/session_state.h"
#include "report/analysis_report.h"

#include <emscripten/emscripten.h>

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

using namespace trelvane;

namespace {

// The session state, for as long as the page is open.
stdGeneral session;
// What the results dialog shows, as the results window's labels hold it on the desktop:
// the report reads it back.
std::optional<ResultCaptions> shown;
// The text a function returned last, kept until the next one returns.
std::string lastReturned;

const char *returnText(std::string text)
{
    lastReturned = std::move(text);
    return lastReturned.c_str();
}

// A JSON string literal; UTF-8 passes through as it is.
std::string quoted(std::string_view text)
{
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", c);
            out += escape;
        } else {
            out += c;
        }
    }
    return out + '"';
}

std::string list(std::initializer_list<std::string_view> texts)
{
    std::string out = "[";
    for (std::string_view text : texts)
        out += (out.size() > 1 ? "," : "") + quoted(text);
    return out + ']';
}

// The page's printer layer: each line as the report prints it, with the type it is printed
// in, for the page to lay out. A zone advance is a tab, which the page sets 14 average
// character widths apart; the texts hold no tab of their own once they are on one line.
class PageLines final : public PrinterLayer {
public:
    std::string json = "[";

    void printEmptyLine() override { add(""); }
    void printLine(const std::vector<Piece> &pieces) override
    {
        std::string text;
        for (const Piece &piece : pieces) {
            if (const std::string *words = std::get_if<std::string>(&piece))
                text += asOneLine(*words);
            else
                text += '\t';
        }
        add(text);
    }
    void setTypeSize(double points) override { size_ = points; }
    void setBold(bool on) override { bold_ = on; }
    void endDocument() override { json += ']'; }

private:
    void add(const std::string &text)
    {
        json += json.size() > 1 ? "," : "";
        json += "{\"text\":" + quoted(text) + ",\"bold\":" + (bold_ ? "true" : "false");
        // No size until one is set: the line keeps the page's own.
        if (size_)
            json += ",\"size\":" + std::to_string(*size_);
        json += '}';
    }

    std::optional<double> size_;
    bool bold_ = false;
};

std::optional<ReportContent> report(const char *date)
{
    if (!shown)
        return std::nullopt;
    return reportContent(session, *shown, date);
}

} // namespace

extern "C" {

// What the input window does as it loads: the car factors, and the HO scale selected.
// Gives the index of that scale's option.
EMSCRIPTEN_KEEPALIVE int trelvane_load()
{
    fillCarFactors(session);
    selectScale(session, kDefaultScaleIndex);
    return kDefaultScaleIndex;
}

// The scale option `index` (1..6) chosen; 0 when there is no such option.
EMSCRIPTEN_KEEPALIVE int trelvane_select_scale(int index)
{
    return selectScale(session, index) ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE int trelvane_is_footage_entry(const char *text)
{
    return isFootageEntry(text) ? 1 : 0;
}

// The track box `box` (0 passing, 1 functional, 2 storage) left holding `text`: its
// footage taken, and the text it shows now.
EMSCRIPTEN_KEEPALIVE const char *trelvane_commit_footage(int box, const char *text)
{
    std::int16_t *const fields[] = {&session.intPassTrack, &session.intFuncTrack,
                                    &session.intStorTrack};
    if (box < 0 || box > 2)
        return returnText(text);
    return returnText(commitFootage(text, *fields[box]));
}

// Analyze with the eight counters' values: {"captions":[nine texts],"warning":bool}, or
// {"failure":{"title":...,"lines":[...]}}.
EMSCRIPTEN_KEEPALIVE const char *trelvane_analyze(int c0, int c1, int c2, int c3, int c4, int c5,
                                                  int c6, int c7, const char *decimalSeparator)
{
    shown.reset();
    const AnalysisOutcome outcome =
        Analyze(session, CarCounts{c0, c1, c2, c3, c4, c5, c6, c7}, decimalSeparator);
    if (const auto *kind = std::get_if<FailureKind>(&outcome)) {
        const std::string message = failureMessage(*kind);
        const std::size_t lineBreak = message.find('\n');
        const std::string lines = lineBreak == std::string::npos
            ? list({message})
            : list({std::string_view(message).substr(0, lineBreak),
                    std::string_view(message).substr(lineBreak + 1)});
        return returnText("{\"failure\":{\"title\":" + quoted(kFailureTitle) + ",\"lines\":" + lines
                    + "}}");
    }
    const ResultCaptions &c = shown.emplace(resultCaptions(std::get<AnalysisResult>(outcome)));
    return returnText("{\"captions\":"
                + list({c.passSug, c.funcStatus, c.funcSug, c.storStatus, c.storSug, c.basis,
                        c.hvy, c.med, c.lite})
                + ",\"warning\":"
                + (functionalTrackageSaturated(session.intFuncPct) ? "true" : "false") + "}");
}

EMSCRIPTEN_KEEPALIVE void trelvane_set_road_name(const char *name)
{
    session.strRoadName = name;
}

EMSCRIPTEN_KEEPALIVE const char *trelvane_road_name()
{
    return returnText(session.strRoadName);
}

// The report of the results shown, dated `date`, as the lines of its page: a JSON array of
// {"text","bold","size"}; empty when no results are shown.
EMSCRIPTEN_KEEPALIVE const char *trelvane_report_page(const char *date)
{
    const std::optional<ReportContent> content = report(date);
    if (!content)
        return returnText("[]");
    PageLines page;
    PrintAnalysisReport(*content, page);
    return returnText(page.json);
}

// The same report as plain text, as the desktop copies it; empty when no results are shown.
EMSCRIPTEN_KEEPALIVE const char *trelvane_report_text(const char *date)
{
    const std::optional<ReportContent> content = report(date);
    return returnText(content ? reportText(*content) : std::string());
}

} // extern "C"
