// How long the analysis takes to leave the results window, through the program's own
// windows and a private CUPS server on this machine:
//   print    from OK in the name prompt until the job is in the print queue;
//   preview  from OK in the name prompt until the preview's page has been painted;
//   pdf      from the save dialog's closing until the file is written;
//   copy     Copy Analysis (Ctrl+C) until the text is on the clipboard.
// Usage: trelvane_print_latency [print|preview|pdf|copy|all] [TIMES]   (default: print 20);
// prints each time and the median.
#include "modal_windows.h"
#include "private_cups_server.h"
#include "window_driving.h"

#include "forms/frm_answers.h"
#include "forms/frm_get_road.h"
#include "forms/frm_input.h"
#include "forms/preview_window.h"
#include "forms/up_down.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace trelvane;
using namespace trelvane::test;

namespace {

// Notes when a preview's page is first painted.
class PagePainted : public QObject {
public:
    QElapsedTimer *clock = nullptr;
    double at = -1;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && at < 0 && qobject_cast<PageView *>(watched))
            at = clock->nsecsElapsed() / 1e6;
        return false;
    }
};

// One timing of the way out, in milliseconds, or a negative number when it failed.
double timeOnce(const QString &way, frmAnswers *answers, const QString &folder)
{
    QElapsedTimer clock;
    const auto confirm = [&clock] {
        return onNextModal<frmGetRoad>([&clock](frmGetRoad *prompt) {
            clock.start();
            QTest::mouseClick(prompt->cmdOK, Qt::LeftButton);
        });
    };
    answers->activateWindow();
    if (!QTest::qWaitForWindowActive(answers))
        return -1;
    if (way == "print") {
        const PendingModal answering = confirm();
        QTest::mouseClick(answers->cmdPrint, Qt::LeftButton);
        // Print returns once the job is in the queue, and only then shows the message.
        return clock.isValid() && answers->lblMessage->isVisible() ? clock.nsecsElapsed() / 1e6 : -1;
    }
    if (way == "preview") {
        PagePainted painted;
        painted.clock = &clock;
        qApp->installEventFilter(&painted);
        const PendingModal answering = confirm();
        const PendingModal closing = onNextModal<PreviewWindow>([](PreviewWindow *preview) {
            QTest::mouseClick(preview->cmdClose, Qt::LeftButton);
        });
        answers->mnuPreview->trigger();
        qApp->removeEventFilter(&painted);
        return painted.at;
    }
    if (way == "pdf") {
        const QString path = QDir(folder).filePath("analysis.pdf");
        QFile::remove(path);
        const PendingModal answering = onNextModal<frmGetRoad>([](frmGetRoad *prompt) {
            QTest::mouseClick(prompt->cmdOK, Qt::LeftButton);
        });
        const PendingModal saving = onNextModal<QFileDialog>([&](QFileDialog *dialog) {
            auto *name = dialog->findChild<QLineEdit *>("fileNameEdit");
            name->setText(path);
            clock.start();
            QTest::keyClick(name, Qt::Key_Return);
        });
        QTest::keyClick(answers->cmdOK, Qt::Key_S, Qt::ControlModifier);
        return QFile::exists(path) ? clock.nsecsElapsed() / 1e6 : -1;
    }
    QGuiApplication::clipboard()->clear();
    clock.start();
    QTest::keyClick(answers->cmdOK, Qt::Key_C, Qt::ControlModifier);
    const double took = clock.nsecsElapsed() / 1e6;
    return QGuiApplication::clipboard()->text().contains("*** TRELVANE ***") ? took : -1;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString asked = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("print");
    const int times = argc > 2 ? std::max(1, std::atoi(argv[2])) : 20;
    const QStringList known{"print", "preview", "pdf", "copy"};
    const QStringList ways = asked == "all" ? known : QStringList{asked};
    if (!known.contains(ways.constFirst())) {
        std::fprintf(stderr, "usage: %s [print|preview|pdf|copy|all] [TIMES]\n", argv[0]);
        return 2;
    }

    PrivateCupsServer server;
    QString error;
    if (!server.startForThisProcess(&error)) {
        std::fprintf(stderr, "no print server: %s\n", qPrintable(error));
        return 1;
    }
    QTemporaryDir folder;
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

    bool failed = false;
    const PendingModal results = onNextModal<frmAnswers>([&](frmAnswers *answers) {
        for (const QString &way : ways) {
            std::vector<double> taken;
            for (int i = 0; i < times && !failed; ++i) {
                const double ms = timeOnce(way, answers, folder.path());
                if (ms < 0) {
                    std::fprintf(stderr, "%s %d did not get out\n", qPrintable(way), i + 1);
                    failed = true;
                    break;
                }
                taken.push_back(ms);
                std::printf("%s %2d: %.2f ms\n", qPrintable(way), i + 1, ms);
            }
            if (failed)
                break;
            std::sort(taken.begin(), taken.end());
            const std::size_t n = taken.size();
            const double median = n % 2 ? taken[n / 2] : (taken[n / 2 - 1] + taken[n / 2]) / 2;
            std::printf("%s, %zu times: median %.2f ms, fastest %.2f ms, slowest %.2f ms\n",
                        qPrintable(way), n, median, taken.front(), taken.back());
        }
        answers->accept();
    });
    QTest::mouseClick(input->findChild<QPushButton *>("cmdAnalyze"), Qt::LeftButton);
    input->close();
    server.stop();
    return failed ? 1 : 0;
}
