#include "forms/start_up.h"

namespace trelvane {
void Main(stdGeneral &, PrintSequence) {}
}  // namespace trelvane
