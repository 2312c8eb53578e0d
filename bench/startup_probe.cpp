// The program's own start-up, built for timing: the same application object, session and
// start-up function as app/main.cpp, then it leaves once the input window has been drawn.
// It exits non-zero unless the input window is showing by then, so a start-up that shows
// nothing cannot pass for a fast one, or while libcups is loaded: the print library is
// meant to wait for the first print.
#include "quit_when_painted.h"

#include <QApplication>

#include "analysis/session_state.h"
#include "forms/frm_input.h"

#include <cstdio>
#include <fstream>
#include <string>

namespace {

QList<QWidget *> inputWindows()
{
    QList<QWidget *> found;
    for (QWidget *window : QApplication::topLevelWidgets())
        if (qobject_cast<trelvane::frmInput *>(window))
            found << window;
    return found;
}

bool cupsLoaded()
{
    std::ifstream maps("/proc/self/maps");
    for (std::string mapping; std::getline(maps, mapping);)
        if (mapping.find("/libcups.so") != std::string::npos)
            return true;
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    trelvane::stdGeneral session;
    trelvane::Main(session);
    const QList<QWidget *> windows = inputWindows();
    if (windows.size() != 1) {
        std::fprintf(stderr, "startup probe: %lld input windows, expected 1\n",
                     static_cast<long long>(windows.size()));
        return 1;
    }
    new QuitWhenPainted(windows.constFirst(), [] {
        int shown = 0;
        for (QWidget *window : inputWindows())
            shown += window->isVisible() ? 1 : 0;
        if (shown != 1)
            std::fprintf(stderr, "startup probe: %d input windows showing, expected 1\n", shown);
        const bool cups = cupsLoaded();
        if (cups)
            std::fprintf(stderr, "startup probe: libcups is loaded before anything is printed\n");
        QCoreApplication::exit(shown == 1 && !cups ? 0 : 1);
    });
    return app.exec();
}
