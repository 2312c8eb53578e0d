#include "report/pdf_page_layer.h"

#include "report/print_failure.h"

#include <QFontMetricsF>
#include <QMarginsF>
#include <QPageLayout>

#include <cmath>
#include <optional>
#include <utility>

namespace trelvane {
namespace {

constexpr double kMarginPoints = 54;

// How many characters of text, from its start, fit in the width; never half a character
// made of two code units.
qsizetype fittingLength(const QFontMetricsF &metrics, const QString &text, double width)
{
    qsizetype low = 0, high = text.size();
    while (low < high) {
        const qsizetype middle = (low + high + 1) / 2;
        if (metrics.horizontalAdvance(text.left(middle)) <= width)
            low = middle;
        else
            high = middle - 1;
    }
    if (low > 0 && low < text.size() && text.at(low - 1).isHighSurrogate())
        --low;
    return low;
}

} // namespace

PdfPageLayer::PdfPageLayer(const QString &title, const QPageSize &pageSize, Delivery deliver)
    : buffer_(&pdf_), writer_(&buffer_), pageSize_(pageSize), deliver_(std::move(deliver))
{
    writer_.setTitle(title);
    writer_.setCreator(QStringLiteral("Trelvane"));
    writer_.setPageLayout(QPageLayout(pageSize, QPageLayout::Portrait,
                                      QMarginsF(kMarginPoints, kMarginPoints, kMarginPoints,
                                                kMarginPoints),
                                      QPageLayout::Point));
    if (!buffer_.open(QIODevice::WriteOnly) || !painter_.begin(&writer_))
        throw PrintFailure(PrintFailureKind::RenderFailed, title,
                           QStringLiteral("The page could not be started."));
    // The report sets no face of its own: it starts from the device's default type.
    font_ = painter_.font();
    startPage();
}

void PdfPageLayer::startPage()
{
    if (!pages_.isEmpty())
        writer_.newPage();
    pages_.append({pageSize_.sizePoints(), {}});
    top_ = 0;
}

void PdfPageLayer::draw(double x, double baseline, const QString &text)
{
    painter_.drawText(QPointF(x, baseline), text);
    const double points = 72.0 / writer_.resolution();
    const double width = QFontMetricsF(font_, &writer_).horizontalAdvance(text);
    pages_.last().texts.append({QPointF(kMarginPoints + x * points,
                                        kMarginPoints + baseline * points),
                                width * points, font_, text});
}

PdfPageLayer::~PdfPageLayer()
{
    // A report stopped part-way is dropped; nothing of it is delivered.
    if (painter_.isActive())
        painter_.end();
}

void PdfPageLayer::printEmptyLine()
{
    top_ += QFontMetricsF(font_, &writer_).lineSpacing();
}

void PdfPageLayer::nextLine(const QFontMetricsF &metrics)
{
    top_ += metrics.lineSpacing();
    if (top_ + metrics.height() > writer_.height())
        startPage();
}

void PdfPageLayer::printLine(const std::vector<Piece> &pieces)
{
    const QFontMetricsF metrics(font_, &writer_);
    painter_.setFont(font_);
    const double zone = kZoneColumns * metrics.averageCharWidth();
    const double width = writer_.width();
    if (top_ > 0 && top_ + metrics.height() > writer_.height())
        startPage();
    double x = 0;
    std::optional<double> indent; // where the line's first character stands
    for (const Piece &piece : pieces) {
        const std::string *text = std::get_if<std::string>(&piece);
        if (!text) {
            x = (std::floor(x / zone) + 1) * zone;
            continue;
        }
        QString rest = QString::fromStdString(asOneLine(*text));
        if (!indent) {
            qsizetype blanks = 0;
            while (blanks < rest.size() && rest.at(blanks) == QLatin1Char(' '))
                ++blanks;
            if (blanks < rest.size())
                indent = x + metrics.horizontalAdvance(rest.left(blanks));
        }
        while (!rest.isEmpty()) {
            qsizetype fits = fittingLength(metrics, rest, width - x);
            if (fits == rest.size()) {
                draw(x, top_ + metrics.ascent(), rest);
                x += metrics.horizontalAdvance(rest);
                break;
            }
            const double continuation = indent.value_or(0) < width / 2 ? indent.value_or(0) : 0;
            // Nothing fits after the text already there: the piece starts on the next line.
            if (fits == 0 && x > continuation) {
                nextLine(metrics);
                x = continuation;
                continue;
            }
            // Break after the last blank that fits, or inside a word longer than the line.
            const qsizetype blank = rest.lastIndexOf(QLatin1Char(' '), fits);
            const qsizetype cut = blank > 0 ? blank : std::max<qsizetype>(fits, 1);
            draw(x, top_ + metrics.ascent(), rest.left(cut));
            rest = rest.mid(blank > 0 ? cut + 1 : cut);
            nextLine(metrics);
            x = continuation;
        }
    }
    top_ += metrics.lineSpacing();
}

void PdfPageLayer::setTypeSize(double points) { font_.setPointSizeF(points); }

void PdfPageLayer::setBold(bool on) { font_.setBold(on); }

void PdfPageLayer::endDocument()
{
    // QPainter::end() succeeds even when nothing reached the buffer, so look at the result.
    if (!painter_.end() || !pdf_.startsWith("%PDF"))
        throw PrintFailure(PrintFailureKind::RenderFailed, writer_.title(),
                           QStringLiteral("The page could not be finished."));
    deliver_(*this);
}

} // namespace trelvane
