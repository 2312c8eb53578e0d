// A printer layer for tests: keeps every call in order, with the type each line was
// printed in, and can be told to fail at a chosen line.
#pragma once

#include "report/printer_layer.h"

#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace trelvane::test {

struct RecordedLine {
    std::string text;           // the pieces joined, a zone advance written as "[zone]"
    std::optional<double> size; // nothing while the printer's starting size applies
    bool bold = false;
};

// What the recorder throws at the line it was told to fail at.
struct RecordedFailure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class RecordingPrinter : public PrinterLayer {
public:
    // "empty", "line <text>", "size <points>", "bold on", "bold off", "end".
    std::vector<std::string> events;
    std::vector<RecordedLine> lines; // empty lines included, as ""

    std::optional<int> failAtLine; // 1-based; that line throws instead of printing
    std::function<void()> onEnd;   // runs inside endDocument, before it returns

    void printEmptyLine() override;
    void printLine(const std::vector<Piece> &pieces) override;
    void setTypeSize(double points) override;
    void setBold(bool on) override;
    void endDocument() override;

private:
    void record(const std::string &text, const std::string &event);

    std::optional<double> size_;
    bool bold_ = false;
};

} // namespace trelvane::test
