// What the report needs of a printer: lines of text pieces and zone advances, the type
// size, bold type, and the end of the document. A layer that fails throws, and the report
// stops at that operation.
#pragma once

#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace trelvane {

// A print zone's width, in columns of the current type.
inline constexpr int kZoneColumns = 14;

// Moves the print position to the start of the next print zone.
struct ZoneAdvance {
    bool operator==(const ZoneAdvance &) const = default;
};

// A text piece is UTF-8.
using Piece = std::variant<std::string, ZoneAdvance>;

// A name or caption as it can stand on one printed line: control characters and line or
// paragraph separators become blanks, so no value can break the report's lines apart.
std::string asOneLine(std::string_view text);

class PrinterLayer {
public:
    virtual ~PrinterLayer() = default;

    virtual void printEmptyLine() = 0;
    virtual void printLine(const std::vector<Piece> &pieces) = 0;
    virtual void setTypeSize(double points) = 0;
    virtual void setBold(bool on) = 0;
    // Finishes the page and hands the document over; it has gone only when this returns.
    virtual void endDocument() = 0;
};

} // namespace trelvane
