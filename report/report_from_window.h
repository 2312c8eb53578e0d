// Gathers what a report shows from the session and from the captions that the results
// window is showing at this moment.
#pragma once

#include "analysis/session_state.h"
#include "report/report_content.h"

#include <QDate>

namespace trelvane {

class frmAnswers;

// The date in the locale's short format, without time of day.
QString reportDate(const QDate &date);

ReportContent reportContentFrom(const stdGeneral &session, const frmAnswers &answers,
                                const QDate &date);

} // namespace trelvane
