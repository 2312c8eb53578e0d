#include "forms/entry_rules.h"

#include "analysis/number_rules.h"

namespace trelvane {

std::string committedFootageText(std::string_view text)
{
    return text.empty() ? std::string("0") : std::string(text);
}

std::optional<std::int16_t> committedFootage(std::string_view text)
{
    return parseFootage(committedFootageText(text));
}

std::string failureMessageText(FailureKind kind)
{
    std::string text;
    for (std::string_view line : failureMessageLines(kind)) {
        if (!text.empty())
            text += '\n';
        text += line;
    }
    return text;
}

} // namespace trelvane
