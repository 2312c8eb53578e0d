#include "forms/preview_window.h"

#include "forms/window_kit.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QDialogButtonBox>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace trelvane {

namespace {

constexpr double kGap = 16;            // pixels around and between the pages
constexpr double kZoomStep = 1.25;
constexpr double kSmallest = 0.25;     // pixels to the point
constexpr double kLargest = 8;
// Room on the screen for the window's title, buttons and margins below a fitted page.
constexpr int kRoomAroundPage = 150;

// One printed line of the page, for screen readers: its words and where it stands.
class PageLineAccessible : public QAccessibleInterface {
public:
    PageLineAccessible(PageView *view, int line) : m_view(view), m_line(line) {}

    bool isValid() const override { return m_view; }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_view->window()->windowHandle(); }
    QList<QPair<QAccessibleInterface *, QAccessible::Relation>>
    relations(QAccessible::Relation) const override
    {
        return {};
    }
    QAccessibleInterface *focusChild() const override { return nullptr; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *parent() const override
    {
        return QAccessible::queryAccessibleInterface(m_view);
    }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QString text(QAccessible::Text kind) const override
    {
        return kind == QAccessible::Name ? m_view->lines().at(m_line).text : QString();
    }
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override
    {
        const QRect place = m_view->lines().at(m_line).place.toAlignedRect();
        return QRect(m_view->mapToGlobal(place.topLeft()), place.size());
    }
    QAccessible::Role role() const override { return QAccessible::StaticText; }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        state.readOnly = true;
        return state;
    }

private:
    QPointer<PageView> m_view;
    int m_line;
};

// The page as screen readers have it: a pane named after the page, whose children are its
// printed lines, made when first asked for and gone with the page.
class PageAccessible : public QAccessibleWidget {
public:
    explicit PageAccessible(PageView *view) : QAccessibleWidget(view, QAccessible::Pane) {}
    ~PageAccessible() override
    {
        for (QAccessible::Id id : std::as_const(m_lines))
            QAccessible::deleteAccessibleInterface(id);
    }

    QString text(QAccessible::Text kind) const override
    {
        if (kind != QAccessible::Name)
            return QAccessibleWidget::text(kind);
        return view()->pageCount() == 1
                   ? QStringLiteral("The page as it will print")
                   : QStringLiteral("The %1 pages as they will print").arg(view()->pageCount());
    }
    int childCount() const override { return int(view()->lines().size()); }
    QAccessibleInterface *child(int index) const override
    {
        if (index < 0 || index >= childCount())
            return nullptr;
        if (!m_lines.contains(index))
            m_lines.insert(index, QAccessible::registerAccessibleInterface(
                                      new PageLineAccessible(view(), index)));
        return QAccessible::accessibleInterface(m_lines.value(index));
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        for (auto line = m_lines.cbegin(); line != m_lines.cend(); ++line)
            if (QAccessible::accessibleInterface(line.value()) == child)
                return line.key();
        return -1;
    }
    QAccessibleInterface *childAt(int x, int y) const override
    {
        const QPoint at = view()->mapFromGlobal(QPoint(x, y));
        for (int i = 0; i < childCount(); ++i)
            if (view()->lines().at(i).place.contains(at))
                return child(i);
        return nullptr;
    }

private:
    PageView *view() const { return static_cast<PageView *>(widget()); }

    mutable QHash<int, QAccessible::Id> m_lines;
};

QAccessibleInterface *pageAccessibility(const QString &className, QObject *object)
{
    if (className == QLatin1String("trelvane::PageView"))
        return new PageAccessible(static_cast<PageView *>(object));
    return nullptr;
}

// A font of `points` drawn where one unit is one point, whatever the screen's resolution.
QFont inPointUnits(QFont font, const QPaintDevice &device)
{
    font.setPointSizeF(font.pointSizeF() * 72.0 / device.logicalDpiY());
    return font;
}

} // namespace

PageView::PageView(const QList<DrawnPage> &pages, QWidget *parent)
    : QWidget(parent)
    , m_pages(pages)
{
    static const bool accessible = [] {
        QAccessible::installFactory(pageAccessibility);
        return true;
    }();
    Q_UNUSED(accessible);
    setFocusPolicy(Qt::StrongFocus);
    setBackgroundRole(QPalette::Dark);
    setAutoFillBackground(true);
    placeLines();
}

QRectF PageView::pagePlace(int page) const
{
    double top = kGap;
    for (int i = 0; i < page; ++i)
        top += m_pages.at(i).size.height() * m_zoom + kGap;
    const QSizeF size = m_pages.at(page).size * m_zoom;
    return QRectF(QPointF(std::max(kGap, (width() - size.width()) / 2), top), size);
}

// The pieces of text standing on one baseline make one line; a gap between two pieces, as
// a zone advance leaves, reads as a blank.
void PageView::placeLines()
{
    m_lines.clear();
    for (int page = 0; page < pageCount(); ++page) {
        const QRectF paper = pagePlace(page);
        std::optional<double> baseline;
        double end = 0;
        for (const DrawnText &piece : m_pages.at(page).texts) {
            const QFontMetricsF metrics(piece.font);
            const double points = 72.0 / metrics.fontDpi();
            const QRectF place(paper.topLeft()
                                   + QPointF(piece.baseline.x(),
                                             piece.baseline.y() - metrics.ascent() * points)
                                         * m_zoom,
                               QSizeF(piece.width, metrics.height() * points) * m_zoom);
            if (baseline != piece.baseline.y()) {
                m_lines.append({piece.text, place});
            } else {
                Line &line = m_lines.last();
                if (piece.baseline.x() > end + 0.5)
                    line.text += QLatin1Char(' ');
                line.text += piece.text;
                line.place = line.place.united(place);
            }
            baseline = piece.baseline.y();
            end = piece.baseline.x() + piece.width;
        }
    }
    // Blanks are not read: the indents and the lines of blanks go.
    for (Line &line : m_lines)
        line.text = line.text.trimmed();
    m_lines.removeIf([](const Line &line) { return line.text.isEmpty(); });
}

void PageView::setZoom(double pixelsPerPoint)
{
    m_zoom = std::clamp(pixelsPerPoint, kSmallest, kLargest);
    resize(sizeHint());
    placeLines();
    update();
}

double PageView::zoomToFit(int height) const
{
    double tallest = 1;
    for (const DrawnPage &page : m_pages)
        tallest = std::max(tallest, page.size.height());
    return (height - 2 * kGap) / tallest;
}

QSize PageView::sizeHint() const
{
    double width = 0;
    double height = kGap;
    for (const DrawnPage &page : m_pages) {
        width = std::max(width, page.size.width() * m_zoom);
        height += page.size.height() * m_zoom + kGap;
    }
    return QSizeF(width + 2 * kGap, height).toSize();
}

void PageView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    for (int page = 0; page < pageCount(); ++page) {
        const QRectF paper = pagePlace(page);
        painter.fillRect(paper.translated(3, 3), palette().color(QPalette::Shadow));
        painter.fillRect(paper, Qt::white);
        painter.save();
        painter.translate(paper.topLeft());
        painter.scale(m_zoom, m_zoom);
        painter.setPen(Qt::black);
        for (const DrawnText &piece : m_pages.at(page).texts) {
            painter.setFont(inPointUnits(piece.font, *this));
            painter.drawText(piece.baseline, piece.text);
        }
        painter.restore();
    }
    if (hasFocus()) {
        QPen focus(palette().color(QPalette::Highlight), 2);
        painter.setPen(focus);
        painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
    }
}

PreviewWindow::PreviewWindow(const QList<DrawnPage> &pages, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint
                          | Qt::WindowMaximizeButtonHint)
    , pgePage(new PageView(pages, this))
    , cmdPrint(new QPushButton("Print", this))
    , cmdSavePdf(new QPushButton("Save as PDF...", this))
    , cmdClose(new QPushButton("Close", this))
{
    setObjectName("frmPreview");
    setWindowTitle("Trelvane Print Preview");
    setWindowIcon(trelvaneIcon());
    zoomsItself(this);
    pgePage->setObjectName("pgePage");
    cmdPrint->setObjectName("cmdPrint");
    cmdPrint->setToolTip("Print the analysis on the default printer");
    cmdSavePdf->setObjectName("cmdSavePdf");
    cmdSavePdf->setToolTip("Save the analysis as a PDF file");
    cmdClose->setObjectName("cmdClose");

    auto *scroll = new QScrollArea(this);
    scroll->setWidget(pgePage);
    scroll->setAlignment(Qt::AlignCenter);
    scroll->setBackgroundRole(QPalette::Dark);
    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(cmdPrint, QDialogButtonBox::AcceptRole);
    buttons->addButton(cmdSavePdf, QDialogButtonBox::ActionRole);
    buttons->addButton(cmdClose, QDialogButtonBox::RejectRole);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(scroll);
    layout->addWidget(buttons);

    connect(cmdPrint, &QPushButton::clicked, this, [this] { finish(Choice::Print); });
    connect(cmdSavePdf, &QPushButton::clicked, this, [this] { finish(Choice::SavePdf); });
    connect(cmdClose, &QPushButton::clicked, this, [this] { finish(Choice::Close); });

    // Fitted to the screen: a whole page as high as the screen has room for.
    const QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 800, 600);
    m_fit = pgePage->zoomToFit(area.height() - kRoomAroundPage);
    pgePage->setZoom(m_fit);
    const int frame = 2 * scroll->frameWidth();
    resize(std::min(area.width(), pgePage->width() + frame + layout->contentsMargins().left()
                                      + layout->contentsMargins().right()),
           std::min(area.height(), sizeHint().height() - scroll->sizeHint().height()
                                       + pgePage->height() + frame));
    // A screen reader reads the page first; Tab goes on to the buttons.
    pgePage->setFocus();
}

void PreviewWindow::keyPressEvent(QKeyEvent *event)
{
    // The program's zoom keys zoom the page here.
    if (const std::optional<int> step = zoomStep(*event)) {
        pgePage->setZoom(*step > 0   ? pgePage->zoom() * kZoomStep
                         : *step < 0 ? pgePage->zoom() / kZoomStep
                                     : m_fit);
        return;
    }
    QDialog::keyPressEvent(event);
}

void PreviewWindow::finish(Choice choice)
{
    m_choice = choice;
    if (choice == Choice::Close)
        reject();
    else
        accept();
}

} // namespace trelvane
