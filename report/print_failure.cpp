#include "report/print_failure.h"

#include "report/print_system.h"

#include <utility>

namespace trelvane {

PrintFailure::PrintFailure(PrintFailureKind kind, QString destination, QString detail)
    : std::runtime_error(detail.toStdString()), kind_(kind), destination_(std::move(destination)),
      detail_(std::move(detail))
{
}

namespace {

QString withDetail(const QString &what, const QString &detail, const QString &advice)
{
    QString text = what;
    if (!detail.isEmpty())
        text += QStringLiteral("\n\nDetails: ") + detail;
    return text + QStringLiteral("\n\n") + advice;
}

const QString kOrSave = QStringLiteral(" You can also save the analysis as a PDF file now.");

} // namespace

QString printFailureText(const PrintFailure &f)
{
    const QString notPrinted = QStringLiteral("The analysis was not printed: ");
    const PrintServiceWords service = printServiceWords(f.destination());
    switch (f.kind()) {
    case PrintFailureKind::PrintingSystemMissing:
        return withDetail(
            notPrinted
                + QStringLiteral("the printing system's library (%1) could not be loaded.")
                      .arg(f.destination()),
            f.detail(), service.install + QStringLiteral(", then choose Print again.") + kOrSave);
    case PrintFailureKind::ServerNotRunning:
        return withDetail(notPrinted + service.name + QStringLiteral(" is not running."),
                          f.detail(),
                          service.start + QStringLiteral(", then choose Print again.") + kOrSave);
    case PrintFailureKind::ServerNotAnswering:
        return withDetail(notPrinted + service.name
                              + QStringLiteral(" did not answer within %1 seconds.")
                                    .arg(PrintServer::kPatience.count()),
                          f.detail(),
                          QStringLiteral("It may be busy or stuck: wait a little, or ")
                              + service.restart + QStringLiteral(", then choose Print again.")
                              + kOrSave);
    case PrintFailureKind::NoPrinter:
        return withDetail(notPrinted + QStringLiteral("no printer is set up."), f.detail(),
                          QStringLiteral("Add a printer in your system's printer settings, "
                                         "then choose Print again.")
                              + kOrSave);
    case PrintFailureKind::NoDefaultPrinter:
        return withDetail(notPrinted + QStringLiteral("no default printer is set up."), f.detail(),
                          QStringLiteral("Choose a printer to print it on this time, or make "
                                         "one the default in your system's printer settings "
                                         "and choose Print again.")
                              + kOrSave);
    case PrintFailureKind::PrinterNotAccepting:
        return withDetail(
            notPrinted
                + QStringLiteral("the printer \"%1\" is not accepting jobs.").arg(f.destination()),
            f.detail(),
            QStringLiteral("Let it accept jobs again in your system's printer settings, then "
                           "choose Print again.")
                + kOrSave);
    case PrintFailureKind::PrinterNeedsAttention:
        return withDetail(
            notPrinted
                + QStringLiteral("the printer \"%1\" %2.").arg(f.destination(), f.detail()),
            QString(),
            QStringLiteral("See to the printer and choose Print again, or choose another "
                           "printer to print it on this time.")
                + kOrSave);
    case PrintFailureKind::JobRefused:
        return withDetail(
            notPrinted
                + QStringLiteral("the printer \"%1\" refused the job.").arg(f.destination()),
            f.detail(),
            QStringLiteral("Check the printer in your system's printer settings, then choose "
                           "Print again.")
                + kOrSave);
    case PrintFailureKind::RenderFailed:
        return withDetail(QStringLiteral("The analysis could not be prepared for printing."),
                          f.detail(),
                          QStringLiteral("Choose Print again; if it keeps failing, save the "
                                         "analysis as a PDF file instead."));
    case PrintFailureKind::FileNotWritten:
        return QStringLiteral("The analysis was not saved: the file \"%1\" could not be "
                              "written (%2).\n\nChoose another folder or file name and save "
                              "again.")
            .arg(f.destination(), f.detail());
    }
    return f.detail();
}

} // namespace trelvane
