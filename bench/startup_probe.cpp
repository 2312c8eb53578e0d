// The program's own start-up, built for timing: the same application object, session,
// start-up function and print sequence as app/main.cpp, then it leaves on the first turn
// of the event loop. It exits non-zero unless the input window is showing by then, so a
// start-up that shows nothing cannot pass for a fast one.
#include <QApplication>
#include <QTimer>

#include "analysis/session_state.h"
#include "forms/frm_input.h"
#include "forms/start_up.h"
#include "report/print_sequence.h"

#include <cstdio>

namespace {

int visibleInputWindows()
{
    int shown = 0;
    for (QWidget *window : QApplication::topLevelWidgets())
        if (qobject_cast<trelvane::frmInput *>(window) && window->isVisible())
            ++shown;
    return shown;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    trelvane::stdGeneral session;
    trelvane::Main(session, trelvane::makePrintSequence(session));
    QTimer::singleShot(0, &app, [] {
        const int shown = visibleInputWindows();
        if (shown != 1)
            std::fprintf(stderr, "startup probe: %d input windows showing, expected 1\n", shown);
        QCoreApplication::exit(shown == 1 ? 0 : 1);
    });
    return app.exec();
}
