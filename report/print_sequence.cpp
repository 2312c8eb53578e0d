#include "report/print_sequence.h"

#include "report/cups_printer.h"
#include "report/pdf_page_layer.h"
#include "report/print_failure.h"

#include <QApplication>
#include <QDate>
#include <QDialogButtonBox>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSaveFile>
#include <QStyle>

#include <ctime>
#include <exception>
#include <memory>
#include <optional>
#include <thread>

namespace trelvane {
namespace {

const QString kReportTitle = QStringLiteral("Trelvane analysis");

// The date in the system's short format, as the C library gives it for the user's
// LC_TIME: 12/08/2026 in the United States, 08.12.2026 in Germany.
QString shortDate(const QDate &date)
{
    std::tm day{};
    day.tm_year = date.year() - 1900;
    day.tm_mon = date.month() - 1;
    day.tm_mday = date.day();
    day.tm_wday = date.dayOfWeek() % 7;
    day.tm_yday = date.dayOfYear() - 1;
    char text[128];
    const std::size_t length = std::strftime(text, sizeof text, "%x", &day);
    return QString::fromLocal8Bit(text, qsizetype(length));
}

// The session's figures and the captions the window shows at this moment, dated today.
ReportContent reportContent(const stdGeneral &session, const ReportCaptions &captions)
{
    ReportContent content;
    content.roadName = QString::fromStdString(session.strRoadName);
    content.date = shortDate(QDate::currentDate());
    content.scale = QString::fromStdString(session.strScale);
    content.passTrack = session.intPassTrack;
    content.funcTrack = session.intFuncTrack;
    content.storTrack = session.intStorTrack;
    content.equivCars = session.intEquivCars;
    content.funcPct = session.intFuncPct;
    content.captions = captions;
    return content;
}

// While the print server works on a request, the windows keep painting under a busy
// cursor, but no handler runs: keys, clicks and the close box meanwhile are dropped, not
// kept for afterwards.
class InputDroppedWhileWaiting : public QObject {
public:
    InputDroppedWhileWaiting()
    {
        qApp->installEventFilter(this);
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~InputDroppedWhileWaiting() override
    {
        QApplication::restoreOverrideCursor();
        qApp->removeEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::Close:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TouchCancel:
        case QEvent::TabletPress:
        case QEvent::TabletMove:
        case QEvent::TabletRelease:
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
        case QEvent::InputMethod:
        case QEvent::NativeGesture:
            return true;
        default:
            return false;
        }
    }
};

// Runs a conversation with the print server on a worker thread, and returns when it has
// ended; what it throws is thrown here. The window's thread waits in an event loop
// meanwhile, so the window is repainted while the server takes its time.
template <class Conversation>
void askServer(Conversation &&conversation)
{
    std::exception_ptr failure;
    QEventLoop waiting;
    std::thread worker([&] {
        try {
            conversation();
        } catch (...) {
            failure = std::current_exception();
        }
        QMetaObject::invokeMethod(&waiting, &QEventLoop::quit, Qt::QueuedConnection);
    });
    {
        const InputDroppedWhileWaiting dropped;
        waiting.exec();
    }
    worker.join();
    if (failure)
        std::rethrow_exception(failure);
}

// Where one attempt sends the report: a chosen queue, or the default one. The queue is
// found when the page is asked for, the page laid out on the queue's paper, and the
// finished document handed to the queue as the report ends it.
class Destination {
public:
    explicit Destination(std::optional<QString> chosen) : chosen_(std::move(chosen)) {}

    // Throws PrintFailure.
    PrinterLayer &page()
    {
        askServer([this] {
            server_ = std::make_unique<PrintServer>();
            queue_ = chosen_ ? server_->queue(*chosen_) : server_->defaultQueue();
            if (queue_)
                return;
            installed_ = server_->queues();
            throw PrintFailure(installed_.isEmpty() ? PrintFailureKind::NoPrinter
                                                    : PrintFailureKind::NoDefaultPrinter,
                               QString(), QString());
        });
        if (queue_->paper)
            paper_ = *queue_->paper;
        page_.emplace(kReportTitle, paper_, [this](const QByteArray &pdf) {
            askServer([&] { queue_ = server_->submitPdf(queue_->name, pdf, kReportTitle); });
        });
        return *page_;
    }

    // The printer's paper once it is known, the locale's until then.
    const QPageSize &paper() const { return paper_; }
    // When no queue is the default: the ones the user can choose from.
    const QList<PrintQueue> &installed() const { return installed_; }
    // The queue as it stood once the whole report was in it.
    const PrintQueue &queue() const { return *queue_; }

private:
    std::optional<QString> chosen_;
    std::unique_ptr<PrintServer> server_;
    std::optional<PrintQueue> queue_;
    QPageSize paper_ = localePaper();
    QList<PrintQueue> installed_;
    std::optional<PdfPageLayer> page_;
};

// What the user wants done instead of the print that failed.
struct Instead {
    std::optional<QString> printer; // print on this queue
    bool savePdf = false;
};

// No printer is the default, but some are installed: lets the user print on one of them
// this time (nothing is made the default), or save the analysis as a PDF file.
Instead askForAnotherPrinter(QWidget &window, const PrintFailure &failure,
                             const QList<PrintQueue> &printers)
{
    QDialog dialog(&window);
    dialog.setObjectName("dlgChoosePrinter");
    dialog.setWindowTitle(window.windowTitle());
    auto *text = new QLabel(printFailureText(failure), &dialog);
    // The server's words are shown as written, never taken for markup.
    text->setTextFormat(Qt::PlainText);
    text->setWordWrap(true);
    auto *list = new QListWidget(&dialog);
    list->setObjectName("lstPrinters");
    list->setAccessibleName("Printers");
    for (const PrintQueue &printer : printers) {
        const QString shown = printer.description == printer.name
                                  ? printer.name
                                  : QStringLiteral("%1 \u2014 %2").arg(printer.name,
                                                                       printer.description);
        (new QListWidgetItem(shown, list))->setData(Qt::UserRole, printer.name);
    }
    list->setCurrentRow(0);
    auto *buttons = new QDialogButtonBox(&dialog);
    QPushButton *print = buttons->addButton("Print", QDialogButtonBox::AcceptRole);
    print->setObjectName("cmdPrintOn");
    QPushButton *save = buttons->addButton("Save as PDF...", QDialogButtonBox::ActionRole);
    save->setObjectName("cmdSavePdf");
    QPushButton *close = buttons->addButton(QDialogButtonBox::Close);
    close->setObjectName("cmdClose");
    print->setDefault(true);
    // Laid out as the message boxes are: the warning sign beside the text, the list under it
    // as high as its printers, up to six.
    auto *sign = new QLabel(&dialog);
    sign->setPixmap(dialog.style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(32, 32));
    sign->setAlignment(Qt::AlignTop);
    list->setMaximumHeight(list->sizeHintForRow(0) * std::min<int>(list->count(), 6)
                           + 2 * list->frameWidth());
    auto *layout = new QGridLayout(&dialog);
    layout->addWidget(sign, 0, 0);
    layout->addWidget(text, 0, 1);
    layout->addWidget(list, 1, 1);
    layout->addWidget(buttons, 2, 0, 1, 2);

    Instead instead;
    QObject::connect(print, &QPushButton::clicked, &dialog, [&] {
        if (const QListWidgetItem *item = list->currentItem())
            instead.printer = item->data(Qt::UserRole).toString();
        dialog.accept();
    });
    QObject::connect(list, &QListWidget::itemActivated, print, &QPushButton::click);
    QObject::connect(save, &QPushButton::clicked, &dialog, [&] {
        instead.savePdf = true;
        dialog.accept();
    });
    QObject::connect(close, &QPushButton::clicked, &dialog, &QDialog::reject);
    dialog.exec();
    return instead;
}

// Tells the user why the report did not go out, and asks what to do instead.
Instead askInstead(QWidget &window, const PrintFailure &failure,
                   const QList<PrintQueue> &printers)
{
    if (!printers.isEmpty())
        return askForAnotherPrinter(window, failure, printers);
    QMessageBox box(QMessageBox::Warning, window.windowTitle(), printFailureText(failure),
                    QMessageBox::NoButton, &window);
    box.setObjectName("msgPrintFailure");
    // Printer names, the server's words, file paths and the system's error texts come from
    // outside the program: shown as written, they can never be taken for markup.
    box.setTextFormat(Qt::PlainText);
    QPushButton *save = box.addButton("Save as PDF...", QMessageBox::AcceptRole);
    save->setObjectName("cmdSavePdf");
    QPushButton *close = box.addButton(QMessageBox::Close);
    close->setObjectName("cmdClose");
    box.setDefaultButton(close);
    box.setEscapeButton(close);
    box.exec();
    return {std::nullopt, box.clickedButton() == save};
}

std::optional<QString> askForPdfFile(QWidget &window)
{
    QFileDialog dialog(&window, "Save the analysis as PDF",
                       QDir::home().filePath("Trelvane analysis.pdf"), "PDF files (*.pdf)");
    dialog.setObjectName("dlgSavePdf");
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix("pdf");
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

// Saves the report as a PDF file on the given paper, asking again while the file chosen
// cannot be written and the user still wants it saved.
void saveAsPdf(QWidget &window, const ReportContent &content, const QPageSize &paper)
{
    while (const std::optional<QString> path = askForPdfFile(window)) {
        try {
            PdfPageLayer file(kReportTitle, paper, [&path](const QByteArray &pdf) {
                // Written beside the target and renamed, so a failed save leaves no broken
                // file.
                QSaveFile saved(*path);
                if (!saved.open(QIODevice::WriteOnly) || saved.write(pdf) != pdf.size()
                    || !saved.commit())
                    throw PrintFailure(PrintFailureKind::FileNotWritten, *path,
                                       saved.errorString());
            });
            PrintAnalysisReport(content, file);
            return;
        } catch (const PrintFailure &failure) {
            if (!askInstead(window, failure, {}).savePdf)
                return;
        }
    }
}

// A report that reached a paused printer waits there unseen; say so, in the printer's words.
void tellIfWaiting(QWidget &window, const PrintQueue &queue)
{
    if (!queue.paused)
        return;
    const QString reason = queue.stateMessage.isEmpty() ? QString() : ": " + queue.stateMessage;
    QMessageBox box(QMessageBox::Information, window.windowTitle(),
                    QStringLiteral("The printer \"%1\" is paused%2.\n\nThe analysis waits in its "
                                   "queue and will be printed when the printer is resumed in "
                                   "your system's printer settings.")
                        .arg(queue.name, reason),
                    QMessageBox::Ok, &window);
    box.setObjectName("msgPrinterPaused");
    // The printer's state is set by whoever runs it: shown as written, never as markup.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

} // namespace

void runPrintSequence(PrintingWindow &window, stdGeneral &session)
{
    window.askForRoadName();
    window.repaintNow();
    if (!session.blnPrintOK)
        return;

    // Read once, so that another printer or a PDF file gets exactly what was to be printed.
    const ReportContent content = reportContent(session, window.captions());
    QWidget &parent = window.widget();
    std::optional<QString> printer; // the default printer, until the user chooses another
    while (true) {
        Destination destination(printer);
        try {
            PrintAnalysisReport(content, destination.page());
        } catch (const PrintFailure &failure) {
            const Instead instead = askInstead(parent, failure, destination.installed());
            if (instead.printer) {
                printer = instead.printer;
                continue;
            }
            if (instead.savePdf)
                saveAsPdf(parent, content, destination.paper());
            return;
        } catch (const std::exception &failure) {
            // Nothing may cross the event loop; the window stays open for another try.
            QMessageBox box(QMessageBox::Warning, parent.windowTitle(),
                            QString("The analysis could not be printed: %1")
                                .arg(QString::fromLocal8Bit(failure.what())),
                            QMessageBox::Ok, &parent);
            box.setTextFormat(Qt::PlainText);
            box.exec();
            return;
        }
        window.showPrintingMessage();
        tellIfWaiting(parent, destination.queue());
        return;
    }
}

} // namespace trelvane
