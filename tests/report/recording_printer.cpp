#include "recording_printer.h"

#include "report/print_failure.h"

namespace trelvane::test {

void RecordingPrinter::record(const QString &text, const QString &event)
{
    if (failAtLine && *failAtLine == static_cast<int>(lines.size()) + 1)
        throw PrintFailure(PrintFailureKind::JobRefused, QStringLiteral("recorder"),
                           QStringLiteral("told to fail at line %1").arg(*failAtLine));
    lines.push_back({text, size_, bold_});
    events << event;
}

void RecordingPrinter::printEmptyLine() { record(QString(), QStringLiteral("empty")); }

void RecordingPrinter::printLine(const std::vector<Piece> &pieces)
{
    QString text;
    for (const Piece &piece : pieces)
        text += std::holds_alternative<QString>(piece) ? std::get<QString>(piece)
                                                        : QStringLiteral("[zone]");
    record(text, QStringLiteral("line ") + text);
}

void RecordingPrinter::setTypeSize(double points)
{
    size_ = points;
    events << QStringLiteral("size %1").arg(points);
}

void RecordingPrinter::setBold(bool on)
{
    bold_ = on;
    events << (on ? QStringLiteral("bold on") : QStringLiteral("bold off"));
}

void RecordingPrinter::endDocument()
{
    if (onEnd)
        onEnd();
    events << QStringLiteral("end");
}

} // namespace trelvane::test
