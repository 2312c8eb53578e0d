// A printer layer that draws the report as one PDF page in memory and then hands the
// finished document to a delivery (a print queue or a file).
#pragma once

#include "report/printer_layer.h"

#include <QBuffer>
#include <QByteArray>
#include <QFont>
#include <QLocale>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <functional>

namespace trelvane {

// Letter where the locale measures in US units, A4 everywhere else.
QPageSize pageSizeForLocale(const QLocale &locale);

class PdfPageLayer final : public PrinterLayer {
public:
    // Receives the finished document; throws PrintFailure when it cannot take it.
    using Delivery = std::function<void(const QByteArray &pdf)>;

    PdfPageLayer(const QString &title, const QPageSize &pageSize, Delivery deliver);
    ~PdfPageLayer() override;
    PdfPageLayer(const PdfPageLayer &) = delete;
    PdfPageLayer &operator=(const PdfPageLayer &) = delete;

    void printEmptyLine() override;
    void printLine(const std::vector<Piece> &pieces) override;
    void setTypeSize(double points) override;
    void setBold(bool on) override;
    void endDocument() override;

private:
    QByteArray pdf_;
    QBuffer buffer_;
    QPdfWriter writer_;
    QPainter painter_;
    QFont font_;
    double top_ = 0; // top of the next line, in device units
    Delivery deliver_;
};

} // namespace trelvane
