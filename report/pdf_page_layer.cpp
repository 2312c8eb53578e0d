#include "report/pdf_page_layer.h"

#include "report/print_failure.h"

#include <QFontMetricsF>
#include <QMarginsF>
#include <QPageLayout>

#include <cmath>
#include <utility>

namespace trelvane {
namespace {

constexpr int kZoneColumns = 14;

// A name or caption as it can stand on one printed line: control characters and line or
// paragraph separators become blanks, so no value can break the report's lines apart.
QString asOneLine(const QString &text)
{
    QString line = text;
    for (QChar &ch : line) {
        const char16_t u = ch.unicode();
        if (ch.category() == QChar::Other_Control || u == 0x2028 || u == 0x2029)
            ch = QLatin1Char(' ');
    }
    return line;
}

} // namespace

QPageSize pageSizeForLocale(const QLocale &locale)
{
    return QPageSize(locale.measurementSystem() == QLocale::ImperialUSSystem ? QPageSize::Letter
                                                                              : QPageSize::A4);
}

PdfPageLayer::PdfPageLayer(const QString &title, const QPageSize &pageSize, Delivery deliver)
    : buffer_(&pdf_), writer_(&buffer_), deliver_(std::move(deliver))
{
    writer_.setTitle(title);
    writer_.setCreator(QStringLiteral("Trelvane"));
    writer_.setPageLayout(QPageLayout(pageSize, QPageLayout::Portrait,
                                      QMarginsF(54, 54, 54, 54), QPageLayout::Point));
    if (!buffer_.open(QIODevice::WriteOnly) || !painter_.begin(&writer_))
        throw PrintFailure(PrintFailureKind::RenderFailed, title,
                           QStringLiteral("The page could not be started."));
    // The report sets no face of its own: it starts from the device's default type.
    font_ = painter_.font();
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

void PdfPageLayer::printLine(const std::vector<Piece> &pieces)
{
    const QFontMetricsF metrics(font_, &writer_);
    painter_.setFont(font_);
    const double zone = kZoneColumns * metrics.averageCharWidth();
    const double baseline = top_ + metrics.ascent();
    double x = 0;
    for (const Piece &piece : pieces) {
        if (const QString *text = std::get_if<QString>(&piece)) {
            const QString shown = asOneLine(*text);
            painter_.drawText(QPointF(x, baseline), shown);
            x += metrics.horizontalAdvance(shown);
        } else {
            x = (std::floor(x / zone) + 1) * zone;
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
    deliver_(pdf_);
}

} // namespace trelvane
