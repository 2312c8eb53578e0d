#include "report/print_sequence.h"

#include "report/print_failure.h"
#include "report/print_system.h"

#include <QApplication>
#include <QDate>
#include <QDialogButtonBox>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStyle>

#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <thread>
#include <utility>

namespace trelvane {
namespace {

const QString kReportTitle = QStringLiteral("Trelvane analysis");

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

// A conversation with the print server on a worker thread, begun as this is made. The
// window's thread, once it waits for the end, waits in an event loop, so the windows are
// repainted while the server takes its time; until then it is free to do other things.
class ServerConversation {
public:
    explicit ServerConversation(std::function<void()> conversation)
        : worker_([this, conversation = std::move(conversation)] {
              try {
                  conversation();
              } catch (...) {
                  failure_ = std::current_exception();
              }
              QMetaObject::invokeMethod(&ended_, [this] {
                  done_ = true;
                  if (waiting_)
                      waiting_->quit();
              }, Qt::QueuedConnection);
          })
    {
    }
    // A conversation no longer wanted still ends by the deadline; until then the windows
    // keep painting, as while it is waited for.
    ~ServerConversation()
    {
        if (!worker_.joinable())
            return;
        try {
            wait();
        } catch (...) {
            // Its answer is no longer wanted.
        }
    }
    ServerConversation(const ServerConversation &) = delete;
    ServerConversation &operator=(const ServerConversation &) = delete;

    // Returns once the conversation has ended; what it threw is thrown here.
    void wait()
    {
        if (!done_) {
            QEventLoop waiting;
            waiting_ = &waiting;
            const InputDroppedWhileWaiting dropped;
            waiting.exec();
            waiting_ = nullptr;
        }
        if (worker_.joinable())
            worker_.join();
        if (failure_)
            std::rethrow_exception(std::exchange(failure_, nullptr));
    }

private:
    QObject ended_; // of the window's thread: the worker's word that it has ended comes here
    bool done_ = false;
    QEventLoop *waiting_ = nullptr;
    std::exception_ptr failure_;
    std::thread worker_; // last: it starts once the rest is made
};

void askServer(std::function<void()> conversation)
{
    ServerConversation(std::move(conversation)).wait();
}

// The paper the default printer is loaded with, asked for as soon as this is made; the
// locale's when there is no print server, no default printer, or it does not say.
class DefaultPaper {
public:
    DefaultPaper()
        : asking_([this] {
              try {
                  PrintServer server;
                  if (const std::optional<PrintQueue> queue = server.defaultQueue();
                      queue && queue->paper)
                      paper_ = *queue->paper;
              } catch (const PrintFailure &) {
                  // Nothing to print on is no reason not to lay the page out.
              }
          })
    {
    }

    QPageSize get()
    {
        asking_.wait();
        return paper_;
    }

private:
    QPageSize paper_ = localePaper();
    ServerConversation asking_;
};

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
            if (queue_ && queue_->attention.isEmpty())
                return;
            // A printer that cannot print now is not sent the report: another one may.
            installed_ = server_->queues();
            if (queue_)
                throw PrintFailure(PrintFailureKind::PrinterNeedsAttention, queue_->name,
                                   queue_->attention);
            throw PrintFailure(installed_.isEmpty() ? PrintFailureKind::NoPrinter
                                                    : PrintFailureKind::NoDefaultPrinter,
                               QString(), QString());
        });
        if (queue_->paper)
            paper_ = *queue_->paper;
        page_.emplace(kReportTitle, paper_, [this](const PdfPageLayer &document) {
            askServer([&] { queue_ = server_->submit(queue_->name, document); });
        });
        return *page_;
    }

    // The printer's paper once it is known, the locale's until then.
    const QPageSize &paper() const { return paper_; }
    // When no queue is the default, or it cannot print now: the ones the user can choose
    // from.
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

// What the user wants done instead of, or rather than, printing on the default printer.
struct Instead {
    std::optional<QString> printer; // print on this queue
    bool savePdf = false;
};

// Lets the user print on one of the printers this time (nothing is made the default), or
// save the analysis as a PDF file: asked when no printer is the default, with why, or on
// request, with the default marked and chosen.
Instead choosePrinter(QWidget &window, const QString &why, QStyle::StandardPixmap sign,
                      const QList<PrintQueue> &printers, const QString &defaultPrinter)
{
    QDialog dialog(&window);
    dialog.setObjectName("dlgChoosePrinter");
    dialog.setWindowTitle(window.windowTitle());
    auto *text = new QLabel(why, &dialog);
    // The server's words are shown as written, never taken for markup.
    text->setTextFormat(Qt::PlainText);
    text->setWordWrap(true);
    auto *list = new QListWidget(&dialog);
    list->setObjectName("lstPrinters");
    list->setAccessibleName("Printers");
    for (const PrintQueue &printer : printers) {
        QString shown = printer.description == printer.name
                            ? printer.name
                            : QStringLiteral("%1 \u2014 %2").arg(printer.name, printer.description);
        if (printer.name == defaultPrinter)
            shown += QStringLiteral(" (default)");
        (new QListWidgetItem(shown, list))->setData(Qt::UserRole, printer.name);
        if (printer.name == defaultPrinter || list->count() == 1)
            list->setCurrentRow(list->count() - 1);
    }
    auto *buttons = new QDialogButtonBox(&dialog);
    QPushButton *print = buttons->addButton("Print", QDialogButtonBox::AcceptRole);
    print->setObjectName("cmdPrintOn");
    QPushButton *save = buttons->addButton("Save as PDF...", QDialogButtonBox::ActionRole);
    save->setObjectName("cmdSavePdf");
    QPushButton *close = buttons->addButton(QDialogButtonBox::Close);
    close->setObjectName("cmdClose");
    print->setDefault(true);
    // Laid out as the message boxes are: the sign beside the text, the list under it as
    // high as its printers, up to six.
    auto *icon = new QLabel(&dialog);
    icon->setPixmap(dialog.style()->standardIcon(sign).pixmap(32, 32));
    icon->setAlignment(Qt::AlignTop);
    list->setMaximumHeight(list->sizeHintForRow(0) * std::min<int>(list->count(), 6)
                           + 2 * list->frameWidth());
    auto *layout = new QGridLayout(&dialog);
    layout->addWidget(icon, 0, 0);
    layout->addWidget(text, 0, 1);
    layout->addWidget(list, 1, 1);
    layout->addWidget(buttons, 2, 0, 1, 2);
    list->setFocus();

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
        return choosePrinter(window, printFailureText(failure), QStyle::SP_MessageBoxWarning,
                             printers, QString());
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

// "Pine Ridge analysis 2026-12-09.pdf": the railroad and the day, without the characters
// that file systems refuse, those of memory sticks included, and short enough for any.
QString pdfFileName(const QString &roadName)
{
    constexpr qsizetype kLongestName = 100;
    QString name = roadName.simplified();
    for (QChar &ch : name)
        if (QStringLiteral("/\\:*?\"<>|").contains(ch) || ch.category() == QChar::Other_Control)
            ch = QLatin1Char('-');
    if (name.size() > kLongestName)
        name.truncate(name.at(kLongestName - 1).isHighSurrogate() ? kLongestName - 1
                                                                  : kLongestName);
    // A leading dot would hide the file; trailing dots and blanks some file systems drop.
    while (name.startsWith(QLatin1Char('.')))
        name.remove(0, 1);
    while (name.endsWith(QLatin1Char('.')) || name.endsWith(QLatin1Char(' ')))
        name.chop(1);
    if (name.isEmpty())
        name = QStringLiteral("Trelvane");
    return QStringLiteral("%1 analysis %2.pdf")
        .arg(name, QDate::currentDate().toString(Qt::ISODate));
}

// Where the file dialog starts: the user's documents folder, or home without one.
QString documentsFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QDir(documents).exists() ? documents : QDir::homePath();
}

// Asks for the file, and before replacing one that exists, whether to: the toolkit's own
// question would take a file name that looks like markup for markup.
std::optional<QString> askForPdfFile(QWidget &window, const ReportContent &content)
{
    QString proposed =
        QDir(documentsFolder()).filePath(pdfFileName(QString::fromStdString(content.roadName)));
    while (true) {
        QFileDialog dialog(&window, "Save the analysis as PDF", proposed, "PDF files (*.pdf)");
        dialog.setObjectName("dlgSavePdf");
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setDefaultSuffix("pdf");
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::nullopt;
        const QString chosen = dialog.selectedFiles().constFirst();
        if (!QFileInfo::exists(chosen))
            return chosen;
        QMessageBox replace(QMessageBox::Warning, window.windowTitle(),
                            QStringLiteral("The file \"%1\" already exists.\n\nDo you want to "
                                           "replace it with the analysis?")
                                .arg(QDir::toNativeSeparators(chosen)),
                            QMessageBox::Yes | QMessageBox::No, &window);
        replace.setObjectName("msgReplaceFile");
        replace.setTextFormat(Qt::PlainText);
        replace.setDefaultButton(QMessageBox::No);
        if (replace.exec() == QMessageBox::Yes)
            return chosen;
        proposed = chosen;
    }
}

// Saves the report as a PDF file on the paper given once a file is chosen, asking again
// while the file chosen cannot be written and the user still wants it saved.
void saveAsPdf(QWidget &window, const ReportContent &content,
               const std::function<QPageSize()> &paper)
{
    while (const std::optional<QString> path = askForPdfFile(window, content)) {
        try {
            PdfPageLayer file(kReportTitle, paper(), [&path](const PdfPageLayer &document) {
                // Written beside the target and renamed, so a failed save leaves no broken
                // file and an overwritten one is replaced whole.
                const QByteArray &pdf = document.pdf();
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

std::optional<ReportContent> askForReport(PrintingWindow &window, stdGeneral &session)
{
    window.askForRoadName();
    window.repaintNow();
    if (!session.blnPrintOK)
        return std::nullopt;
    // Read once, so that another printer or a PDF file gets exactly what was to be printed.
    return reportToday(session, window.captions());
}

ReportContent reportToday(const stdGeneral &session, const ResultCaptions &captions)
{
    return reportContent(session, captions, shortDate(QDate::currentDate()).toStdString());
}

void runPrintSequence(PrintingWindow &window, stdGeneral &session)
{
    if (const std::optional<ReportContent> content = askForReport(window, session))
        printReport(window, *content);
}

void printReport(PrintingWindow &window, const ReportContent &content,
                 std::optional<QString> printer)
{
    QWidget &parent = window.widget();
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
                saveAsPdf(parent, content, [&destination] { return destination.paper(); });
            return;
        }
        window.showPrintingMessage();
        tellIfWaiting(parent, destination.queue());
        return;
    }
}

void printOnChosenPrinter(PrintingWindow &window, const ReportContent &content)
{
    QWidget &parent = window.widget();
    QList<PrintQueue> printers;
    QString defaultPrinter;
    try {
        askServer([&] {
            PrintServer server;
            printers = server.queues();
            try {
                if (const std::optional<PrintQueue> queue = server.defaultQueue())
                    defaultPrinter = queue->name;
            } catch (const PrintFailure &failure) {
                // A default that names no printer is no default.
                if (failure.kind() != PrintFailureKind::NoDefaultPrinter)
                    throw;
            }
            if (printers.isEmpty())
                throw PrintFailure(PrintFailureKind::NoPrinter, QString(), QString());
        });
    } catch (const PrintFailure &failure) {
        if (askInstead(parent, failure, {}).savePdf)
            saveReportAsPdf(parent, content);
        return;
    }
    const Instead instead =
        choosePrinter(parent, QStringLiteral("Choose the printer to print the analysis on."),
                      QStyle::SP_MessageBoxQuestion, printers, defaultPrinter);
    if (instead.printer)
        printReport(window, content, instead.printer);
    else if (instead.savePdf)
        saveReportAsPdf(parent, content);
}

void saveReportAsPdf(QWidget &window, const ReportContent &content)
{
    // Asked while the user chooses the file, so the page is ready as soon as it is chosen.
    DefaultPaper paper;
    saveAsPdf(window, content, [&paper] { return paper.get(); });
}

void tellWhyNotSent(QWidget &window, const std::exception &failure)
{
    const auto *known = dynamic_cast<const PrintFailure *>(&failure);
    QMessageBox box(QMessageBox::Warning, window.windowTitle(),
                    known ? printFailureText(*known)
                          : QString("The analysis could not be printed: %1")
                                .arg(QString::fromLocal8Bit(failure.what())),
                    QMessageBox::Ok, &window);
    box.setObjectName("msgNotSent");
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

QList<DrawnPage> layOutReport(const ReportContent &content)
{
    DefaultPaper paper;
    PdfPageLayer page(kReportTitle, paper.get(), [](const PdfPageLayer &) {});
    PrintAnalysisReport(content, page);
    return page.pages();
}

} // namespace trelvane
