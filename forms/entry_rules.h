// What the input window decides about typed characters, track-box texts and failures,
// kept free of widgets so it can be checked on its own.
#pragma once

#include "analysis/failure.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace trelvane {

// A track box takes only the characters "0" to "9".
constexpr bool isFootageCharacter(char16_t code)
{
    return code >= u'0' && code <= u'9';
}

// The text a track box holds once it has lost the focus: an empty box reads "0".
std::string committedFootageText(std::string_view text);

// The footage a committed text stands for, or nothing for text that is not a footage.
std::optional<std::int16_t> committedFootage(std::string_view text);

// The message box text of a failure: its lines joined by line breaks.
std::string failureMessageText(FailureKind kind);

} // namespace trelvane
