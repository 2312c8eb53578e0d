#include "report/print_failure.h"

#include <utility>

namespace trelvane {

PrintFailure::PrintFailure(PrintFailureKind kind, QString destination, QString detail)
    : std::runtime_error(detail.toStdString()), kind_(kind), destination_(std::move(destination)),
      detail_(std::move(detail))
{
}

} // namespace trelvane
