// Shared fixtures of the analysis tests: sessions in a chosen scale with their footages,
// car counts, and readable printing of outcomes.
#pragma once

#include "analysis/analyze.h"
#include "analysis/session_state.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>

namespace trelvane {

// Let failing expectations show the outcome instead of a byte dump.
inline const char *kindName(FailureKind kind)
{
    switch (kind) {
    case FailureKind::Overflow:
        return "Overflow";
    case FailureKind::DivisionByZero:
        return "DivisionByZero";
    case FailureKind::Undetermined:
        return "Undetermined";
    }
    return "?";
}

inline void PrintTo(FailureKind kind, std::ostream *os) { *os << kindName(kind); }

inline void PrintTo(const AnalysisResult &r, std::ostream *os)
{
    *os << "{\"" << r.passSuggestion << "\", \"" << r.funcStatus << "\", \"" << r.funcSuggestion
        << "\", \"" << r.storStatus << "\", \"" << r.storSuggestion << "\", \"" << r.basisLine
        << "\", " << r.heavyCars << ", " << r.averageCars << ", " << r.lightCars << "}";
}

namespace test {

// Option indexes of the scales.
enum Scale : int { Z = 1, N = 2, HO = 3, S = 4, O = 5, G = 6 };

// The six fields an analysis writes, in the order it writes them.
struct Written {
    std::int16_t funcCap, storCap, equivCars, passCars, funcPct, storPct;
    friend bool operator==(const Written &, const Written &) = default;
    friend void PrintTo(const Written &w, std::ostream *os)
    {
        *os << "{cap " << w.funcCap << "/" << w.storCap << ", equiv " << w.equivCars << ", pass "
            << w.passCars << ", pct " << w.funcPct << "/" << w.storPct << "}";
    }
};

// Distinct stale values, so that a field that is not written, or written into the wrong
// place, shows.
inline constexpr Written kStale{1111, 1112, 1113, 1114, 1115, 1116};

inline Written written(const stdGeneral &s)
{
    return {s.intFuncCap, s.intStorCap, s.intEquivCars, s.intPassCars, s.intFuncPct, s.intStorPct};
}

// A session as the input window leaves it, holding stale figures of an earlier analysis.
inline stdGeneral sessionWith(int scale, std::int16_t pass, std::int16_t func, std::int16_t stor)
{
    stdGeneral s;
    fillCarFactors(s);
    selectScale(s, scale);
    s.intPassTrack = pass;
    s.intFuncTrack = func;
    s.intStorTrack = stor;
    s.intFuncCap = kStale.funcCap;
    s.intStorCap = kStale.storCap;
    s.intEquivCars = kStale.equivCars;
    s.intPassCars = kStale.passCars;
    s.intFuncPct = kStale.funcPct;
    s.intStorPct = kStale.storPct;
    return s;
}

inline CarCounts fortyFootCars(std::int32_t n)
{
    CarCounts counts{};
    counts[1] = n;
    return counts;
}

// Rows show as their names in failure messages instead of a byte dump. The unnamed
// namespace is the one each test file puts its rows in.
namespace {
template <class Row>
    requires requires(const Row &row) { std::string_view(row.name); }
void PrintTo(const Row &row, std::ostream *os)
{
    *os << row.name;
}
} // namespace

// Names each instantiated row after its case.
struct RowName {
    template <class Row>
    std::string operator()(const ::testing::TestParamInfo<Row> &info) const
    {
        return info.param.name;
    }
};

} // namespace test
} // namespace trelvane
