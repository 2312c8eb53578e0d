// How long the printed report takes to draw: the whole page rendered into a PDF in
// memory, as the print sequence does before it hands the document to the queue.
#include "report/analysis_report.h"
#include "report/pdf_page_layer.h"
#include "tests/report/report_samples.h"

#include <QApplication>
#include <QByteArray>
#include <QPageSize>

#include <benchmark/benchmark.h>

#include <array>

namespace {

using namespace trelvane;

struct Case {
    const char *name;
    ReportContent (*content)();
    QPageSize::PageSizeId page;
};

// The saturated layout prints every line, the warning included; the adequate one drops
// the functional suggestion and the warning. Letter and A4 are the two pages the locale
// can choose.
const std::array<Case, 3> kCases{{
    {"saturated/Letter", test::pineRidgeSaturated, QPageSize::Letter},
    {"saturated/A4", test::pineRidgeSaturated, QPageSize::A4},
    {"adequate/Letter", test::pineRidgeAdequate, QPageSize::Letter},
}};

void BM_RenderReportPage(benchmark::State &state, const Case &c)
{
    const ReportContent content = c.content();
    const QPageSize page(c.page);
    qsizetype bytes = 0;
    for (auto _ : state) {
        QByteArray delivered;
        PdfPageLayer layer(QStringLiteral("Trelvane analysis"), page, [&](const PdfPageLayer &document) { delivered = document.pdf(); });
        PrintAnalysisReport(content, layer);
        if (!delivered.startsWith("%PDF")) {
            state.SkipWithError("the page was not delivered as a PDF");
            break;
        }
        bytes = delivered.size();
        benchmark::DoNotOptimize(delivered.data());
    }
    state.counters["pdf_bytes"] = double(bytes);
}

} // namespace

int main(int argc, char **argv)
{
    // Drawing text needs a GUI application, but no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    for (const Case &c : kCases)
        benchmark::RegisterBenchmark(("BM_RenderReportPage/" + std::string(c.name)).c_str(),
                                     BM_RenderReportPage, c)
            ->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
