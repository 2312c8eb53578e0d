#include "recording_printer.h"

#include <sstream>

namespace trelvane::test {

void RecordingPrinter::record(const std::string &text, const std::string &event)
{
    if (failAtLine && *failAtLine == static_cast<int>(lines.size()) + 1)
        throw RecordedFailure("told to fail at line " + std::to_string(*failAtLine));
    lines.push_back({text, size_, bold_});
    events.push_back(event);
}

void RecordingPrinter::printEmptyLine() { record("", "empty"); }

void RecordingPrinter::printLine(const std::vector<Piece> &pieces)
{
    std::string text;
    for (const Piece &piece : pieces)
        text += std::holds_alternative<std::string>(piece) ? std::get<std::string>(piece)
                                                           : "[zone]";
    record(text, "line " + text);
}

void RecordingPrinter::setTypeSize(double points)
{
    size_ = points;
    std::ostringstream event;
    event << "size " << points;
    events.push_back(event.str());
}

void RecordingPrinter::setBold(bool on)
{
    bold_ = on;
    events.push_back(on ? "bold on" : "bold off");
}

void RecordingPrinter::endDocument()
{
    if (onEnd)
        onEnd();
    events.push_back("end");
}

} // namespace trelvane::test
