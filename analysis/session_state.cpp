#include "analysis/session_state.h"

#include "analysis/scale_table.h"

namespace trelvane {

void fillCarFactors(stdGeneral &session)
{
    session.vntCarFactors.clear();
    session.vntCarFactors.reserve(kCarClasses.size());
    for (const CarClass &carClass : kCarClasses)
        session.vntCarFactors.push_back(carClass.factor);
}

bool selectScale(stdGeneral &session, int index)
{
    const auto scale = findScale(index);
    if (!scale)
        return false;
    session.sngCarsPerFoot = scale->carsPerFoot;
    session.strScale = std::string(scale->name);
    return true;
}

} // namespace trelvane
