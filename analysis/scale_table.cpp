#include "analysis/scale_table.h"

namespace trelvane {

std::optional<ScaleEntry> findScale(int index)
{
    if (index < 1 || index > static_cast<int>(kScaleTable.size()))
        return std::nullopt;
    return kScaleTable[static_cast<std::size_t>(index - 1)];
}

} // namespace trelvane
