#include "forms/start_up.h"

#include "forms/frm_input.h"

namespace trelvane {

void Main(stdGeneral &session, PrintSequence printSequence)
{
    // No owner: the window deletes itself when closed, and the program ends with it.
    auto *input = new frmInput(session, std::move(printSequence));
    input->show();
}

} // namespace trelvane
