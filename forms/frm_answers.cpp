#include "forms/frm_answers.h"

#include "forms/frm_get_road.h"
#include "forms/preview_window.h"
#include "forms/result_label.h"

#include <QAccessible>
#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QEvent>
#include <QGuiApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QTimer>

namespace trelvane {

namespace {

QLabel *resultLabel(const QString &name, const QString &designText, const Twips &design,
                    QWidget *parent)
{
    return placed(new ResultLabel(designText, parent), name, design);
}

// "Sending analysis to printer": bold in the window's font, whatever size that is drawn
// at, and as high as its text, two lines at the design's width.
QLabel *messageLabel(QWidget *parent)
{
    auto *label = new QLabel("Sending analysis to printer", parent);
    QFont bold;
    bold.setBold(true);
    label->setFont(bold);
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    label->hide();
    return placed(label, "lblMessage", Twips{585, 4440, 1485, 420});
}

QAction *menuItem(QMenu *menu, const QString &name, const QString &text,
                  const QKeySequence &shortcut = {})
{
    QAction *item = menu->addAction(text);
    item->setObjectName(name);
    item->setShortcut(shortcut);
    return item;
}

} // namespace

frmAnswers::frmAnswers(stdGeneral &session, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , m_session(session)
    , fraTrackage(
          makeFrame("fraTrackage", "Trackage Analysis", Twips{240, 240, 5295, 1695}, this))
    , fraOperating(
          makeFrame("fraOperating", "Operating Analysis", Twips{240, 2160, 5295, 2055}, this))
    , lblPassSug(resultLabel("lblPassSug", "Passing Siding Suggestion",
                             Twips{240, 360, 4815, 255}, fraTrackage))
    , lblFuncStatus(resultLabel("lblFuncStatus", "Functional Status",
                                Twips{240, 600, 4815, 255}, fraTrackage))
    , lblFuncSug(resultLabel("lblFuncSug", "Functional Suggestion",
                             Twips{600, 840, 4455, 255}, fraTrackage))
    , lblStorStatus(resultLabel("lblStorStatus", "Storage Status",
                                Twips{240, 1080, 4815, 255}, fraTrackage))
    , lblStorSug(resultLabel("lblStorSug", "Storage Suggestion", Twips{600, 1320, 4455, 255},
                             fraTrackage))
    , lblBasis(resultLabel("lblBasis", "Based on........", Twips{240, 360, 4815, 255},
                           fraOperating))
    , lblHvy(resultLabel("lblHvy", "Heavy Session", Twips{600, 600, 4455, 255}, fraOperating))
    , lblMed(resultLabel("lblMed", "Medium Session", Twips{600, 840, 4455, 255}, fraOperating))
    , lblLite(
          resultLabel("lblLite", "Light Session", Twips{600, 1080, 4455, 255}, fraOperating))
    , lblWarn(makeLabel("lblWarn",
                        "Warning!  Operation may not be satisfactory using these figures unless "
                        "functional trackage is redesigned.",
                        Twips{360, 1440, 4575, 495}, fraOperating, Wrap::AtWords))
    , lblMessage(messageLabel(this))
    , cmdPrint(makeButton("cmdPrint", "Print", "Print the analysis",
                          Twips{2520, 4440, 1400, 375}, this))
    , cmdOK(makeButton("cmdOK", "OK", "Return to program", Twips{4080, 4440, 1400, 375}, this))
    , tmrMsgTimer(new QTimer(this))
    , mnuAnalysis(new QMenu(this))
    , mnuCopy(menuItem(mnuAnalysis, "mnuCopy", "Copy Analysis", QKeySequence::Copy))
    , mnuPrint(menuItem(mnuAnalysis, "mnuPrint", "Print", QKeySequence::Print))
    , mnuPrintOn(menuItem(mnuAnalysis, "mnuPrintOn", "Print on Another Printer\u2026"))
    , mnuPreview(menuItem(mnuAnalysis, "mnuPreview", "Print Preview\u2026"))
    , mnuSavePdf(menuItem(mnuAnalysis, "mnuSavePdf", "Save as PDF\u2026", QKeySequence::Save))
{
    setWindowTitle("Trelvane Analysis");
    setWindowIcon(trelvaneIcon());
    setSizeGripEnabled(false);

    lblWarn->setAlignment(Qt::AlignCenter);
    lblWarn->setAutoFillBackground(true);
    lblWarn->setPalette(warningColours(palette()));

    // The printing message appears later to tell the user something; screen readers
    // announce it as it shows. The warning is read with the results as the window opens.
    markAsNotice(lblMessage);

    // OK answers both Enter and Esc; Print still takes Enter while it has the focus,
    // because a dialog's push buttons become the default while focused.
    cmdOK->setDefault(true);
    setTabOrder(cmdOK, cmdPrint);
    cmdOK->setFocus();

    tmrMsgTimer->setObjectName("tmrMsgTimer");
    tmrMsgTimer->setInterval(2000);

    connect(cmdOK, &QPushButton::clicked, this, &frmAnswers::cmdOK_Click);
    connect(cmdPrint, &QPushButton::clicked, this, &frmAnswers::cmdPrint_Click);
    connect(tmrMsgTimer, &QTimer::timeout, this, &frmAnswers::tmrMsgTimer_Timer);

    mnuAnalysis->setObjectName("mnuAnalysis");
    mnuAnalysis->setTitle("Analysis");
    mnuAnalysis->insertSeparator(mnuPrint);
    mnuAnalysis->insertSeparator(mnuSavePdf);
    // In the window as well as the menu, so the shortcuts work wherever the focus is.
    addActions({mnuCopy, mnuPrint, mnuPrintOn, mnuPreview, mnuSavePdf});
    // Closing the menu leaves the focus where it was, and Qt tells screen readers nothing:
    // they would go on taking the menu's first item for focused, and not read it when the
    // menu opens again. So they are told where the focus is back.
    connect(mnuAnalysis, &QMenu::aboutToHide, this, [this] {
        QTimer::singleShot(0, this, [this] {
            if (QWidget *focus = focusWidget(); focus && !mnuAnalysis->isVisible()) {
                QAccessibleEvent back(focus, QAccessible::Focus);
                QAccessible::updateAccessibility(&back);
            }
        });
    });
    connect(mnuCopy, &QAction::triggered, this, &frmAnswers::mnuCopy_Click);
    connect(mnuPrint, &QAction::triggered, this, &frmAnswers::cmdPrint_Click);
    connect(mnuPrintOn, &QAction::triggered, this, &frmAnswers::mnuPrintOn_Click);
    connect(mnuPreview, &QAction::triggered, this, &frmAnswers::mnuPreview_Click);
    connect(mnuSavePdf, &QAction::triggered, this, &frmAnswers::mnuSavePdf_Click);
}

void frmAnswers::changeEvent(QEvent *event)
{
    // The desktop's colour scheme changed: the warning keeps standing out in the new one.
    if (event->type() == QEvent::PaletteChange)
        lblWarn->setPalette(warningColours(palette()));
    QDialog::changeEvent(event);
}

void frmAnswers::cmdOK_Click()
{
    // The name prompt, a print message or a print waiting for the server still needs
    // this window.
    if (m_printing || blockedByModalWindow(*this))
        return;
    accept();
}

void frmAnswers::contextMenuEvent(QContextMenuEvent *event)
{
    if (event->reason() == QContextMenuEvent::Mouse)
        mnuAnalysis->popup(event->globalPos());
    else
        showMenuAtFocus();
}

void frmAnswers::keyPressEvent(QKeyEvent *event)
{
    // Shift+F10 opens a context menu as the Menu key does.
    if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier)
        showMenuAtFocus();
    else
        QDialog::keyPressEvent(event);
}

void frmAnswers::showMenuAtFocus()
{
    const QWidget *at = focusWidget() ? focusWidget() : this;
    mnuAnalysis->popup(at->mapToGlobal(at->rect().center()));
    // Opened from the keyboard, the menu starts on its first item, which a screen reader
    // then reads.
    mnuAnalysis->setActiveAction(mnuCopy);
}

void frmAnswers::cmdPrint_Click()
{
    oneAtATime([this] { runPrintSequence(*this, m_session); });
}

void frmAnswers::oneAtATime(const std::function<void()> &step)
{
    // A second would ask for the name over the first, or begin while the first waits for
    // the print server; and nothing starts while a window stands in front of this one.
    if (m_printing || blockedByModalWindow(*this))
        return;
    const QScopedValueRollback<bool> printing(m_printing, true);
    try {
        step();
    } catch (const std::exception &failure) {
        tellWhyNotSent(*this, failure);
    }
}

void frmAnswers::sendOut(const std::function<void(const ReportContent &)> &send)
{
    oneAtATime([&] {
        if (const std::optional<ReportContent> content = askForReport(*this, m_session))
            send(*content);
    });
}

void frmAnswers::mnuCopy_Click()
{
    oneAtATime([this] {
        QGuiApplication::clipboard()->setText(
            QString::fromStdString(reportText(reportToday(m_session, captions()))));
    });
}

void frmAnswers::mnuPrintOn_Click()
{
    sendOut([this](const ReportContent &content) { printOnChosenPrinter(*this, content); });
}

void frmAnswers::mnuPreview_Click()
{
    sendOut([this](const ReportContent &content) {
        PreviewWindow preview(layOutReport(content), this);
        preview.exec();
        // What the preview showed goes out, without asking for the name again.
        if (preview.choice() == PreviewWindow::Choice::Print)
            printReport(*this, content);
        else if (preview.choice() == PreviewWindow::Choice::SavePdf)
            saveReportAsPdf(*this, content);
    });
}

void frmAnswers::mnuSavePdf_Click()
{
    sendOut([this](const ReportContent &content) { saveReportAsPdf(*this, content); });
}

void frmAnswers::tmrMsgTimer_Timer()
{
    lblMessage->hide();
    tmrMsgTimer->stop();
}

QWidget &frmAnswers::widget()
{
    return *this;
}

void frmAnswers::askForRoadName()
{
    frmGetRoad prompt(m_session, this);
    prompt.exec();
}

ResultCaptions frmAnswers::captions() const
{
    return {lblPassSug->text().toStdString(),    lblFuncStatus->text().toStdString(),
            lblFuncSug->text().toStdString(),    lblStorStatus->text().toStdString(),
            lblStorSug->text().toStdString(),    lblBasis->text().toStdString(),
            lblHvy->text().toStdString(),        lblMed->text().toStdString(),
            lblLite->text().toStdString()};
}

void frmAnswers::repaintNow()
{
    repaint();
}

void frmAnswers::showPrintingMessage()
{
    lblMessage->setVisible(true);
    tmrMsgTimer->start();
}

} // namespace trelvane
