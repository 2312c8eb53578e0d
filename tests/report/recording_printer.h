// A printer layer for tests: keeps every call in order, with the type each line was
// printed in, and can be told to fail at a chosen line.
#pragma once

#include "report/printer_layer.h"

#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

namespace trelvane::test {

struct RecordedLine {
    QString text;              // the pieces joined, a zone advance written as "[zone]"
    std::optional<double> size; // nothing while the printer's starting size applies
    bool bold = false;
};

class RecordingPrinter : public PrinterLayer {
public:
    // "empty", "line <text>", "size <points>", "bold on", "bold off", "end".
    QStringList events;
    std::vector<RecordedLine> lines; // empty lines included, as ""

    std::optional<int> failAtLine;  // 1-based; that line throws instead of printing
    std::function<void()> onEnd;    // runs inside endDocument, before it returns

    void printEmptyLine() override;
    void printLine(const std::vector<Piece> &pieces) override;
    void setTypeSize(double points) override;
    void setBold(bool on) override;
    void endDocument() override;

private:
    void record(const QString &text, const QString &event);

    std::optional<double> size_;
    bool bold_ = false;
};

} // namespace trelvane::test
