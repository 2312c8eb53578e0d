#include "forms/start_up.h"

#include "forms/desktop_id.h"
#include "forms/frm_input.h"
#include "forms/help_key.h"

#include <QGuiApplication>

namespace trelvane {

void Main(stdGeneral &session, PrintSequence printSequence)
{
    // The desktop matches the windows to the installed entry and its icon by this name.
    QGuiApplication::setDesktopFileName(kDesktopId);
    installHelpKey();
    // No owner: the window deletes itself when closed, and the program ends with it.
    auto *input = new frmInput(session, std::move(printSequence));
    input->show();
}

} // namespace trelvane
