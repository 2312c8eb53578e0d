#include "report/report_from_window.h"

#include "forms/frm_answers.h"

#include <QLabel>
#include <QLocale>

namespace trelvane {

QString reportDate(const QDate &date) { return QLocale().toString(date, QLocale::ShortFormat); }

ReportContent reportContentFrom(const stdGeneral &session, const frmAnswers &answers,
                                const QDate &date)
{
    ReportContent content;
    content.roadName = QString::fromStdString(session.strRoadName);
    content.date = reportDate(date);
    content.scale = QString::fromStdString(session.strScale);
    content.passTrack = session.intPassTrack;
    content.funcTrack = session.intFuncTrack;
    content.storTrack = session.intStorTrack;
    content.equivCars = session.intEquivCars;
    content.funcPct = session.intFuncPct;
    content.captions = {answers.lblPassSug->text(),    answers.lblFuncStatus->text(),
                        answers.lblFuncSug->text(),    answers.lblStorStatus->text(),
                        answers.lblStorSug->text(),    answers.lblBasis->text(),
                        answers.lblHvy->text(),        answers.lblMed->text(),
                        answers.lblLite->text()};
    return content;
}

} // namespace trelvane
