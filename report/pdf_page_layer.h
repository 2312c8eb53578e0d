// A printer layer that draws the report as a PDF page in memory and then hands the finished
// document to a delivery (a print queue or a file).
#pragma once

#include "report/printer_layer.h"

#include <QBuffer>
#include <QByteArray>
#include <QFont>
#include <QFontMetricsF>
#include <QList>
#include <QPointF>
#include <QSizeF>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <functional>

namespace trelvane {

// What one page of a document shows, in points from the page's top left corner: each
// piece of text where it stands and how wide it was set, in the type it was printed in.
struct DrawnText {
    QPointF baseline;
    double width = 0;
    QFont font;
    QString text;
};
struct DrawnPage {
    QSizeF size;
    QList<DrawnText> texts;
};

// A line wider than the page continues on the next, indented as its first part was; a
// line that would run past the bottom starts a new page. Besides the PDF document, it
// keeps what it drew on each page, so the same pages can be drawn again on the screen.
class PdfPageLayer final : public PrinterLayer {
public:
    // Receives the finished document; throws PrintFailure when it cannot take it.
    using Delivery = std::function<void(const PdfPageLayer &document)>;

    PdfPageLayer(const QString &title, const QPageSize &pageSize, Delivery deliver);
    ~PdfPageLayer() override;
    PdfPageLayer(const PdfPageLayer &) = delete;
    PdfPageLayer &operator=(const PdfPageLayer &) = delete;

    void printEmptyLine() override;
    void printLine(const std::vector<Piece> &pieces) override;
    void setTypeSize(double points) override;
    void setBold(bool on) override;
    void endDocument() override;

    QString title() const { return writer_.title(); }
    // The PDF document, whole once the document has ended.
    const QByteArray &pdf() const { return pdf_; }
    const QList<DrawnPage> &pages() const { return pages_; }

private:
    void startPage();
    void draw(double x, double baseline, const QString &text);
    // Moves down one line of the current type, to a new page when this one is full.
    void nextLine(const QFontMetricsF &metrics);

    QByteArray pdf_;
    QBuffer buffer_;
    QPdfWriter writer_;
    QPainter painter_;
    QFont font_;
    QPageSize pageSize_;
    QList<DrawnPage> pages_;
    double top_ = 0; // top of the current line, in device units
    Delivery deliver_;
};

} // namespace trelvane
