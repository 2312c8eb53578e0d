#include "analysis/failure.h"

namespace trelvane {

std::string failureMessage(FailureKind kind)
{
    switch (kind) {
    case FailureKind::Overflow:
        return "No VALUE has been entered for either the Functional or Storage\n"
               "track, and no CAR QUANTITIES have been entered.";
    case FailureKind::DivisionByZero:
        return "No VALUE has been entered for either the Functional or Storage track.";
    case FailureKind::Undetermined:
        break;
    }
    return "An undetermined error has occured.  Please be sure that appropriate\n"
           "values have been entered in all the input boxes.";
}

const char *AnalysisFailure::what() const noexcept
{
    switch (m_kind) {
    case FailureKind::Overflow:
        return "overflow";
    case FailureKind::DivisionByZero:
        return "division by zero";
    case FailureKind::Undetermined:
        break;
    }
    return "undetermined failure";
}

} // namespace trelvane
