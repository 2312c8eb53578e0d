#include "report/print_failure.h"

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
    switch (f.kind()) {
    case PrintFailureKind::NoDefaultPrinter:
        return withDetail(
            QStringLiteral("The analysis was not printed: no default printer is set up."),
            f.detail(),
            QStringLiteral("Add a printer and make it the default in your system's printer "
                           "settings, then choose Print again.")
                + kOrSave);
    case PrintFailureKind::ServerUnreachable:
        return withDetail(
            QStringLiteral("The analysis was not printed: the printing service (CUPS at %1) "
                           "could not be reached.")
                .arg(f.destination()),
            f.detail(),
            QStringLiteral("Check that the printing service is running, then choose Print "
                           "again.")
                + kOrSave);
    case PrintFailureKind::PrintingSystemMissing:
        return withDetail(
            QStringLiteral("The analysis was not printed: the printing system's library (%1) "
                           "could not be loaded.")
                .arg(f.destination()),
            f.detail(),
            QStringLiteral("Install the package libcups2, then choose Print again.") + kOrSave);
    case PrintFailureKind::JobRefused:
        return withDetail(
            QStringLiteral("The analysis was not printed: the printer \"%1\" refused the job.")
                .arg(f.destination()),
            f.detail(),
            QStringLiteral("Check in your system's printer settings that the printer is "
                           "enabled and accepting jobs, then choose Print again.")
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
