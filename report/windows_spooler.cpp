#include "report/print_system.h"

#include "report/pdf_page_layer.h"
#include "report/print_failure.h"
#include "report/spooler_state.h"

#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include <windows.h>
#include <winspool.h>

#include <atomic>
#include <condition_variable>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace trelvane {

// The spooler's values, as winspool.h has them; mingw-w64's lacks only the server's being
// offline (0x2000000 in the Windows SDK).
static_assert(spooler::kPaused == PRINTER_STATUS_PAUSED && spooler::kError == PRINTER_STATUS_ERROR
              && spooler::kPendingDeletion == PRINTER_STATUS_PENDING_DELETION
              && spooler::kPaperJam == PRINTER_STATUS_PAPER_JAM
              && spooler::kPaperOut == PRINTER_STATUS_PAPER_OUT
              && spooler::kPaperProblem == PRINTER_STATUS_PAPER_PROBLEM
              && spooler::kOffline == PRINTER_STATUS_OFFLINE
              && spooler::kOutputBinFull == PRINTER_STATUS_OUTPUT_BIN_FULL
              && spooler::kNotAvailable == PRINTER_STATUS_NOT_AVAILABLE
              && spooler::kNoToner == PRINTER_STATUS_NO_TONER
              && spooler::kUserIntervention == PRINTER_STATUS_USER_INTERVENTION
              && spooler::kOutOfMemory == PRINTER_STATUS_OUT_OF_MEMORY
              && spooler::kDoorOpen == PRINTER_STATUS_DOOR_OPEN
              && spooler::kWorkOffline == PRINTER_ATTRIBUTE_WORK_OFFLINE);

namespace {

using Clock = std::chrono::steady_clock;

// The system's own words for an error code.
QString systemWords(DWORD error)
{
    wchar_t *words = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t *>(&words), 0, nullptr);
    QString text = length ? QString::fromWCharArray(words, int(length)).trimmed()
                          : QStringLiteral("error %1").arg(error);
    LocalFree(words);
    return text;
}

// Why the spooler did not do what was asked: it does not run, or it refused.
[[noreturn]] void fail(DWORD error, const QString &printer)
{
    if (error == RPC_S_SERVER_UNAVAILABLE || error == ERROR_SERVICE_NOT_ACTIVE)
        throw PrintFailure(PrintFailureKind::ServerNotRunning, QString(), QString());
    throw PrintFailure(PrintFailureKind::JobRefused, printer, systemWords(error));
}

// Where a request on a thread of its own stands, for itself and for the caller waiting for
// it: given up on, it hands nothing more to the spooler; once it has handed the whole
// document over, nothing can withdraw it.
enum class Stage { Asking, GivenUp, HandedOver };

// Runs one request to the spooler on a thread of its own and waits for it until the
// deadline: a spooler call cannot be interrupted, and one to a printer on an unreachable
// server can take minutes. A request still running then is given up on; it ends on its
// own and keeps what it uses.
template <class Result>
Result beforeDeadline(Clock::time_point deadline,
                      std::function<Result(std::atomic<Stage> &stage)> request)
{
    struct Shared {
        std::mutex mutex;
        std::condition_variable ended;
        std::optional<Result> result;
        std::exception_ptr failure;
        bool done = false;
        std::atomic<Stage> stage{Stage::Asking};
    };
    const auto shared = std::make_shared<Shared>();
    std::thread([shared, request = std::move(request)] {
        std::optional<Result> result;
        std::exception_ptr failure;
        try {
            result.emplace(request(shared->stage));
        } catch (...) {
            failure = std::current_exception();
        }
        const std::lock_guard lock(shared->mutex);
        shared->result = std::move(result);
        shared->failure = failure;
        shared->done = true;
        shared->ended.notify_all();
    }).detach();
    std::unique_lock lock(shared->mutex);
    if (!shared->ended.wait_until(lock, deadline, [&] { return shared->done; })) {
        Stage asking = Stage::Asking;
        if (shared->stage.compare_exchange_strong(asking, Stage::GivenUp))
            throw PrintFailure(PrintFailureKind::ServerNotAnswering, QString(), QString());
        throw PrintFailure(PrintFailureKind::ServerNotAnswering, QString(),
                           QStringLiteral("The whole analysis had reached the spooler: it may "
                                          "still be printed once the spooler answers, so look "
                                          "in the printer's queue before you print it again."));
    }
    if (shared->failure)
        std::rethrow_exception(shared->failure);
    return std::move(*shared->result);
}

// The printer's status and attribute bits, and its comment, as GetPrinter gives them.
struct PrinterInfo {
    DWORD status = 0;
    DWORD attributes = 0;
    QString comment;
};

PrinterInfo printerInfo(const QString &name)
{
    std::wstring wide = name.toStdWString();
    HANDLE printer = nullptr;
    if (!OpenPrinterW(wide.data(), &printer, nullptr))
        fail(GetLastError(), name);
    const std::unique_ptr<void, decltype(&ClosePrinter)> closing(printer, &ClosePrinter);
    DWORD needed = 0;
    GetPrinterW(printer, 2, nullptr, 0, &needed);
    std::vector<BYTE> buffer(needed);
    if (needed == 0 || !GetPrinterW(printer, 2, buffer.data(), needed, &needed))
        fail(GetLastError(), name);
    const auto *info = reinterpret_cast<const PRINTER_INFO_2W *>(buffer.data());
    return {info->Status, info->Attributes,
            info->pComment ? QString::fromWCharArray(info->pComment).trimmed() : QString()};
}

// The printer as it stands now; run on a request's thread.
PrintQueue queueNamed(const QString &name)
{
    const QPrinterInfo printer = QPrinterInfo::printerInfo(name);
    if (printer.isNull())
        throw PrintFailure(PrintFailureKind::JobRefused, name,
                           QStringLiteral("There is no printer of that name."));
    const PrinterInfo info = printerInfo(name);
    const SpoolerReading reading = readSpoolerState(info.status, info.attributes);
    PrintQueue queue;
    queue.name = name;
    queue.description = info.comment.isEmpty() ? name : info.comment;
    if (const QPageSize paper = printer.defaultPageSize(); paper.isValid())
        queue.paper = paper;
    queue.paused = reading.paused;
    queue.attention = reading.attention;
    return queue;
}

// Paints the pages onto the printer as one document; run on a request's thread. A job
// given up on before it was handed over is withdrawn rather than finished.
void printPages(const QString &name, const QString &title, const QList<DrawnPage> &pages,
                std::atomic<Stage> &stage)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPrinterName(name);
    if (!printer.isValid())
        throw PrintFailure(PrintFailureKind::JobRefused, name,
                           QStringLiteral("The printer could not be opened."));
    printer.setDocName(title);
    // The pages are laid out from the paper's corner, margins and all. Qt puts the origin
    // by the page's margins even on a full page: with none, it is the paper's corner.
    printer.setFullPage(true);
    printer.setPageMargins(QMarginsF(), QPageLayout::Point);
    // A printer that took longer to open than the user was told to wait gets no job.
    if (stage == Stage::GivenUp)
        return;
    QPainter painter;
    if (!painter.begin(&printer))
        throw PrintFailure(PrintFailureKind::JobRefused, name,
                           QStringLiteral("The printer would not begin the document."));
    const double dots = printer.resolution() / 72.0;
    for (qsizetype i = 0; i < pages.size(); ++i) {
        if (i > 0 && !printer.newPage()) {
            printer.abort();
            throw PrintFailure(PrintFailureKind::JobRefused, name,
                               QStringLiteral("The printer would not begin a new page."));
        }
        for (const DrawnText &text : pages.at(i).texts) {
            painter.setFont(text.font);
            painter.drawText(text.baseline * dots, text.text);
        }
    }
    Stage asking = Stage::Asking;
    if (!stage.compare_exchange_strong(asking, Stage::HandedOver)) {
        printer.abort();
        painter.end();
        return;
    }
    if (!painter.end())
        throw PrintFailure(PrintFailureKind::JobRefused, name,
                           QStringLiteral("The printer would not finish the document."));
}

} // namespace

struct PrintServer::Connection {
    Clock::time_point deadline = Clock::now() + kPatience;
};

PrintServer::PrintServer()
    : connection_(std::make_unique<Connection>())
{
    // Listing the printers is what tells a spooler that does not run.
    beforeDeadline<bool>(connection_->deadline, [](std::atomic<Stage> &) {
        DWORD needed = 0, count = 0;
        if (!EnumPrintersW(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, nullptr, 4, nullptr, 0,
                           &needed, &count)
            && GetLastError() != ERROR_INSUFFICIENT_BUFFER)
            fail(GetLastError(), QString());
        return true;
    });
}

PrintServer::~PrintServer() = default;

std::optional<PrintQueue> PrintServer::defaultQueue()
{
    return beforeDeadline<std::optional<PrintQueue>>(
        connection_->deadline, [](std::atomic<Stage> &) -> std::optional<PrintQueue> {
            const QString name = QPrinterInfo::defaultPrinterName();
            if (name.isEmpty())
                return std::nullopt;
            return queueNamed(name);
        });
}

QList<PrintQueue> PrintServer::queues()
{
    return beforeDeadline<QList<PrintQueue>>(connection_->deadline, [](std::atomic<Stage> &) {
        QList<PrintQueue> all;
        for (const QString &name : QPrinterInfo::availablePrinterNames()) {
            try {
                all << queueNamed(name);
            } catch (const PrintFailure &failure) {
                // A printer that cannot be asked now (a connection to a server that is
                // gone) can still be chosen, and is told about when it is.
                if (failure.kind() != PrintFailureKind::JobRefused)
                    throw;
                all << PrintQueue{name, name, std::nullopt, false, QString(), QString()};
            }
        }
        return all;
    });
}

PrintQueue PrintServer::queue(const QString &name)
{
    return beforeDeadline<PrintQueue>(connection_->deadline,
                                      [name](std::atomic<Stage> &) { return queueNamed(name); });
}

PrintQueue PrintServer::submit(const QString &queue, const PdfPageLayer &document)
{
    // Copies: the request's thread may outlive this call.
    beforeDeadline<bool>(connection_->deadline,
                         [queue, title = document.title(),
                          pages = document.pages()](std::atomic<Stage> &stage) {
                             printPages(queue, title, pages, stage);
                             return true;
                         });
    // The job is with the spooler whatever comes next; the printer's state only tells
    // whether it waits.
    try {
        return this->queue(queue);
    } catch (const PrintFailure &) {
        return PrintQueue{queue, queue, std::nullopt, false, QString(), QString()};
    }
}

PrintServiceWords printServiceWords(const QString &)
{
    return {QStringLiteral("the Windows print spooler"),
            QStringLiteral("Start the Print Spooler service (in Services, or by restarting "
                           "Windows)"),
            QStringLiteral("restart the Print Spooler service in Services"),
            QStringLiteral("Install Trelvane again")};
}

QPageSize localePaper()
{
    DWORD paper = 0;
    if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_IPAPERSIZE | LOCALE_RETURN_NUMBER,
                        reinterpret_cast<wchar_t *>(&paper), sizeof paper / sizeof(wchar_t))) {
        const QPageSize::PageSizeId id = QPageSize::id(int(paper));
        if (id != QPageSize::Custom)
            return QPageSize(id);
    }
    return QPageSize(QPageSize::A4);
}

QString shortDate(const QDate &date)
{
    SYSTEMTIME day{};
    day.wYear = WORD(date.year());
    day.wMonth = WORD(date.month());
    day.wDay = WORD(date.day());
    day.wDayOfWeek = WORD(date.dayOfWeek() % 7);
    wchar_t text[128];
    const int length = GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &day, nullptr,
                                       text, int(std::size(text)), nullptr);
    // The length counts the closing null.
    return length > 1 ? QString::fromWCharArray(text, length - 1) : date.toString(Qt::ISODate);
}

} // namespace trelvane
