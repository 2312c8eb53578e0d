// The printed page on the screen before any paper is used: the pages exactly as Print
// would send them, drawn again from the printer layer's own layout on the same paper,
// fitted to the screen. Ctrl+Plus and Ctrl+Minus enlarge and shrink the page, Ctrl+0 fits
// it again; screen readers find each printed line as a text of the page.
#pragma once

#include "report/pdf_page_layer.h"

#include <QDialog>
#include <QWidget>

class QPushButton;

namespace trelvane {

// The pages, one under the other on a grey ground, at a zoom in pixels to the point.
class PageView : public QWidget {
    Q_OBJECT
public:
    PageView(const QList<DrawnPage> &pages, QWidget *parent);

    // The printed lines, each as read on the page, with where it stands in this widget.
    struct Line {
        QString text;
        QRectF place;
    };
    const QList<Line> &lines() const { return m_lines; }
    int pageCount() const { return int(m_pages.size()); }

    double zoom() const { return m_zoom; }
    void setZoom(double pixelsPerPoint);
    // The zoom at which a whole page fits this height.
    double zoomToFit(int height) const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QRectF pagePlace(int page) const;
    void placeLines();

    QList<DrawnPage> m_pages;
    QList<Line> m_lines;
    double m_zoom = 1;
};

class PreviewWindow : public QDialog {
    Q_OBJECT
public:
    enum class Choice { Close, Print, SavePdf };

    PreviewWindow(const QList<DrawnPage> &pages, QWidget *parent);

    // What the user chose when the window closed.
    Choice choice() const { return m_choice; }

    PageView *const pgePage;
    QPushButton *const cmdPrint;
    QPushButton *const cmdSavePdf;
    QPushButton *const cmdClose;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void finish(Choice choice);

    double m_fit = 1; // the zoom at which a page fits the screen
    Choice m_choice = Choice::Close;
};

} // namespace trelvane
