// The three ways an analysis can fail, and the message the user is shown for each.
#pragma once

#include <exception>
#include <string>
#include <string_view>

namespace trelvane {

enum class FailureKind {
    Overflow,       // a floor or round out of the 16-bit range, or of 0 / 0
    DivisionByZero, // a non-zero value divided by a zero capacity
    Undetermined,   // anything else that goes wrong inside an analysis
};

inline constexpr std::string_view kFailureTitle = "Problem - Invalid or Missing Input";

// The message box text of a kind, its lines joined by line breaks.
std::string failureMessage(FailureKind kind);

// Raised by the number rules; Analyze turns it into its kind.
class AnalysisFailure : public std::exception {
public:
    explicit AnalysisFailure(FailureKind kind) : m_kind(kind) {}
    FailureKind kind() const noexcept { return m_kind; }
    const char *what() const noexcept override;

private:
    FailureKind m_kind;
};

} // namespace trelvane
