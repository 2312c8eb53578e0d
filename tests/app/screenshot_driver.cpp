// Makes the README's pictures from the real program: starts it as the executable does,
// enters a layout whose functional track and yards are saturated, and saves each window
// as it stands, the print preview among them, then the report it prints to a private CUPS
// server, as a PDF. Keys only, as in the keyboard test.
// Usage: screenshot_driver OUTPUT_DIR (run on a display, e.g. under xvfb-run).
#include "modal_windows.h"
#include "private_cups_server.h"
#include "window_driving.h"

#include "analysis/session_state.h"
#include "forms/frm_answers.h"
#include "forms/frm_get_road.h"
#include "forms/frm_input.h"
#include "forms/help_window.h"
#include "forms/preview_window.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QScrollBar>
#include <QTextBrowser>
#include <QTimer>

#include <cstdio>

using namespace trelvane;
using namespace trelvane::test;

namespace {

QStringList g_failures;

void save(QWidget *window, const QString &path)
{
    // Let pending layout and painting finish first.
    QTest::qWait(200);
    if (!window->grab().save(path))
        g_failures << "could not write " + path;
}

// Tab from the selected scale to the 34' counter passes the three boxes, Analyze and Exit.
void enterLayout()
{
    press(Qt::Key_Tab);
    type("3");
    press(Qt::Key_Tab);
    type("18");
    press(Qt::Key_Tab);
    type("22");
    press(Qt::Key_Tab);
    press(Qt::Key_Tab);
    // The eight counters: 34', 40', 50', 55', 60', 70', 80', 86'.
    for (int count : {4, 12, 8, 0, 6, 0, 0, 4}) {
        press(Qt::Key_Tab);
        for (int i = 0; i < count / 10; ++i)
            press(Qt::Key_PageUp);
        for (int i = 0; i < count % 10; ++i)
            press(Qt::Key_Up);
    }
    // Back past the counters to Analyze.
    for (int i = 0; i < 9; ++i)
        press(Qt::Key_Tab, Qt::ShiftModifier);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR\n", argv[0]);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    // The pictures read the same wherever they are made.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));

    PrivateCupsServer server;
    QString error;
    if (!server.startForThisProcess(&error)) {
        std::fprintf(stderr, "no print server: %s\n", qPrintable(error));
        return 1;
    }
    stdGeneral session;
    Main(session);
    frmInput *input = openedInputWindow();
    // A bare display has no window manager to give the new window the keyboard.
    if (input && QTest::qWaitForWindowExposed(input))
        input->activateWindow();
    if (!input || !QTest::qWaitForWindowActive(input)) {
        std::fprintf(stderr, "the input window did not open\n");
        return 1;
    }

    const PendingModal waitForResults = onNextModal<frmAnswers>([&](frmAnswers *answers) {
        if (!answers->lblWarn->isVisible())
            g_failures << "the example does not show the warning";
        save(answers, out.filePath("results.png"));
        const PendingModal waitForPrompt = onNextModal<frmGetRoad>([&](frmGetRoad *prompt) {
            type("Pine Ridge & Western");
            save(prompt, out.filePath("prompt.png"));
            press(Qt::Key_Return);
        });
        press(Qt::Key_Tab);
        press(Qt::Key_Space);
        // The preview, from the context menu, which opens on its first item: the fourth one
        // down; the name is offered again.
        const PendingModal waitForPreview = onNextModal<PreviewWindow>([&](PreviewWindow *preview) {
            save(preview, out.filePath("preview.png"));
            press(Qt::Key_Escape);
        });
        const PendingModal confirmName = onNextModal<frmGetRoad>([](frmGetRoad *) {
            press(Qt::Key_Return);
        });
        press(Qt::Key_F10, Qt::ShiftModifier);
        for (int i = 0; i < 3; ++i)
            press(Qt::Key_Down);
        press(Qt::Key_Return);
        QTest::qWait(500);
        press(Qt::Key_Escape);
    });

    QTimer::singleShot(0, &app, [&] {
        enterLayout();
        if (focused() != "cmdAnalyze")
            g_failures << "Analyze does not have the focus but " + focused();
        save(input, out.filePath("input.png"));
        press(Qt::Key_Space); // returns when the results window has closed

        press(Qt::Key_F1);
        if (auto *help = input->findChild<HelpWindow *>()) {
            help->resize(help->width(), help->height() * 2 / 3);
            save(help, out.filePath("help.png"));
            press(Qt::Key_Escape);
        } else {
            g_failures << "F1 opened no help";
        }
        press(Qt::Key_Tab);
        press(Qt::Key_Space); // Exit
    });
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, &app, [] {
        g_failures << "timed out";
        QCoreApplication::exit(1);
    });
    guard.start(60000);
    const int status = app.exec();
    if (!QTest::qWaitFor([&server] { return !server.capturedJobs().isEmpty(); }, 30000)
        || !QFile::copy(server.capturedJobs().constFirst(), out.filePath("report.pdf")))
        g_failures << "the report did not reach the print queue";
    for (const QString &failure : g_failures)
        std::fprintf(stderr, "%s\n", qPrintable(failure));
    return status == 0 && g_failures.isEmpty() ? 0 : 1;
}
