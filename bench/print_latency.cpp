// How long a print takes from OK in the name prompt until the job is in the print queue,
// through the program's own windows and a private CUPS server on this machine.
// Usage: trelvane_print_latency [PRINTS]   (default 20); prints each time and the median.
#include "modal_windows.h"
#include "private_cups_server.h"
#include "window_driving.h"

#include "forms/frm_answers.h"
#include "forms/frm_get_road.h"
#include "forms/frm_input.h"
#include "forms/up_down.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace trelvane;
using namespace trelvane::test;

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int prints = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;

    PrivateCupsServer server;
    QString error;
    if (!server.startForThisProcess(&error)) {
        std::fprintf(stderr, "no print server: %s\n", qPrintable(error));
        return 1;
    }
    stdGeneral session;
    Main(session);
    QWidget *input = openedInputWindow();
    if (!input || !QTest::qWaitForWindowActive(input)) {
        std::fprintf(stderr, "the input window did not open\n");
        return 1;
    }
    // The worked example: 10, 18 and 100 ft., thirty 40' cars.
    for (const auto &[name, footage] : {std::pair{"txtPassTrack", "10"},
                                        std::pair{"txtFuncTrack", "18"},
                                        std::pair{"txtStorTrack", "100"}}) {
        auto *box = input->findChild<QLineEdit *>(name);
        QTest::mouseClick(box, Qt::LeftButton);
        QTest::keyClicks(box, footage);
    }
    input->findChild<UpDown *>("udNoCars1")->setValue(30);

    std::vector<double> times;
    const PendingModal results = onNextModal<frmAnswers>([&](frmAnswers *answers) {
        for (int i = 0; i < prints; ++i) {
            QElapsedTimer sinceOK;
            const PendingModal answering = onNextModal<frmGetRoad>([&](frmGetRoad *prompt) {
                sinceOK.start();
                QTest::mouseClick(prompt->cmdOK, Qt::LeftButton);
            });
            QTest::mouseClick(answers->cmdPrint, Qt::LeftButton);
            // Print returns once the job is in the queue, and only then shows the message.
            if (!sinceOK.isValid() || !answers->lblMessage->isVisible()) {
                std::fprintf(stderr, "print %d did not reach the queue\n", i + 1);
                break;
            }
            times.push_back(sinceOK.nsecsElapsed() / 1e6);
            std::printf("print %2d: %.1f ms\n", i + 1, times.back());
        }
        answers->accept();
    });
    QTest::mouseClick(input->findChild<QPushButton *>("cmdAnalyze"), Qt::LeftButton);
    input->close();
    server.stop();

    if (int(times.size()) != prints)
        return 1;
    std::vector<double> sorted = times;
    std::sort(sorted.begin(), sorted.end());
    const double median = prints % 2 ? sorted[prints / 2]
                                     : (sorted[prints / 2 - 1] + sorted[prints / 2]) / 2;
    std::printf("OK to queued, %d prints: median %.1f ms, fastest %.1f ms, slowest %.1f ms\n",
                prints, median, sorted.front(), sorted.back());
    return 0;
}
