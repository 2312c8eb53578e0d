#include "console.h"

#include <cstdio>

namespace trelvane {

void tellOnConsole(const std::string &text, Answer kind)
{
    std::fputs(text.c_str(), kind == Answer::Error ? stderr : stdout);
}

} // namespace trelvane
