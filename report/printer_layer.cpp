#include "report/printer_layer.h"

namespace trelvane {

std::string asOneLine(std::string_view text)
{
    std::string line;
    line.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const auto next = [&](std::size_t ahead) {
            return i + ahead < text.size() ? static_cast<unsigned char>(text[i + ahead]) : 0;
        };
        std::size_t length = 0; // of the character that becomes a blank
        if (byte < 0x20 || byte == 0x7f)
            length = 1; // C0 controls and DEL
        else if (byte == 0xc2 && next(1) >= 0x80 && next(1) <= 0x9f)
            length = 2; // C1 controls, U+0080..U+009F
        else if (byte == 0xe2 && next(1) == 0x80 && (next(2) == 0xa8 || next(2) == 0xa9))
            length = 3; // U+2028 LINE SEPARATOR, U+2029 PARAGRAPH SEPARATOR
        if (length == 0) {
            line += text[i];
        } else {
            line += ' ';
            i += length - 1;
        }
    }
    return line;
}

} // namespace trelvane
