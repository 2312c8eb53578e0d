#include "forms/frm_answers.h"

#include "forms/frm_get_road.h"
#include "forms/result_label.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QTimer>

namespace trelvane {

namespace {

QLabel *resultLabel(const QString &name, const QString &designText, const QRect &geometry,
                    QWidget *parent)
{
    return placed(new ResultLabel(designText, parent), name, geometry);
}

} // namespace

frmAnswers::frmAnswers(stdGeneral &session, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , m_session(session)
    , fraTrackage(
          makeFrame("fraTrackage", "Trackage Analysis", twipsRect(240, 240, 5295, 1695), this))
    , fraOperating(
          makeFrame("fraOperating", "Operating Analysis", twipsRect(240, 2160, 5295, 2055), this))
    , lblPassSug(resultLabel("lblPassSug", "Passing Siding Suggestion",
                             twipsRect(240, 360, 4815, 255), fraTrackage))
    , lblFuncStatus(resultLabel("lblFuncStatus", "Functional Status",
                                twipsRect(240, 600, 4815, 255), fraTrackage))
    , lblFuncSug(resultLabel("lblFuncSug", "Functional Suggestion",
                             twipsRect(600, 840, 4455, 255), fraTrackage))
    , lblStorStatus(resultLabel("lblStorStatus", "Storage Status",
                                twipsRect(240, 1080, 4815, 255), fraTrackage))
    , lblStorSug(resultLabel("lblStorSug", "Storage Suggestion", twipsRect(600, 1320, 4455, 255),
                             fraTrackage))
    , lblBasis(resultLabel("lblBasis", "Based on........", twipsRect(240, 360, 4815, 255),
                           fraOperating))
    , lblHvy(resultLabel("lblHvy", "Heavy Session", twipsRect(600, 600, 4455, 255), fraOperating))
    , lblMed(resultLabel("lblMed", "Medium Session", twipsRect(600, 840, 4455, 255), fraOperating))
    , lblLite(
          resultLabel("lblLite", "Light Session", twipsRect(600, 1080, 4455, 255), fraOperating))
    , lblWarn(new QLabel("Warning!  Operation may not be satisfactory using these figures unless "
                         "functional trackage is redesigned.",
                         fraOperating))
    , lblMessage(new QLabel("Sending analysis to printer", this))
    , cmdPrint(makeButton("cmdPrint", "Print", "Print the analysis",
                          twipsRect(2520, 4440, 1400, 375), this))
    , cmdOK(makeButton("cmdOK", "OK", "Return to program", twipsRect(4080, 4440, 1400, 375), this))
    , tmrMsgTimer(new QTimer(this))
{
    setWindowTitle("Trelvane Analysis");
    setWindowIcon(trelvaneIcon());
    resize(twipsToPixels(5775), twipsToPixels(5025));
    setSizeGripEnabled(false);

    lblWarn->setObjectName("lblWarn");
    lblWarn->setGeometry(twipsRect(360, 1440, 4575, 495));
    lblWarn->setAlignment(Qt::AlignCenter);
    lblWarn->setWordWrap(true);
    lblWarn->setAutoFillBackground(true);
    QPalette warnColours = lblWarn->palette();
    warnColours.setColor(QPalette::WindowText, QColor(255, 0, 0));
    warnColours.setColor(QPalette::Window, QColor(192, 192, 192));
    lblWarn->setPalette(warnColours);

    lblMessage->setObjectName("lblMessage");
    QFont messageFont = windowFont();
    messageFont.setBold(true);
    lblMessage->setFont(messageFont);
    lblMessage->setAlignment(Qt::AlignCenter);
    lblMessage->setWordWrap(true);
    // It takes the height of its text: two lines at the design's width.
    const QRect messageArea = twipsRect(585, 4440, 1485, 420);
    lblMessage->setGeometry(messageArea.x(), messageArea.y(), messageArea.width(),
                            std::max(messageArea.height(), lblMessage->heightForWidth(
                                                               messageArea.width())));
    lblMessage->hide();
    // Both appear to tell the user something; screen readers announce them as they show.
    markAsNotice(lblWarn);
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
}

void frmAnswers::cmdOK_Click()
{
    // The name prompt, a print message or a print waiting for the server still needs
    // this window.
    if (m_printing || blockedByModalWindow(*this))
        return;
    accept();
}

void frmAnswers::cmdPrint_Click()
{
    // One print at a time: a second would ask for the name over the first, or begin while
    // the first waits for the print server.
    if (m_printing || blockedByModalWindow(*this))
        return;
    const QScopedValueRollback<bool> printing(m_printing, true);
    runPrintSequence(*this, m_session);
}

void frmAnswers::tmrMsgTimer_Timer()
{
    lblMessage->hide();
    // Both appear to tell the user something; screen readers announce them as they show.
    markAsNotice(lblWarn);
    markAsNotice(lblMessage);
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

ReportCaptions frmAnswers::captions() const
{
    return {lblPassSug->text(), lblFuncStatus->text(), lblFuncSug->text(),
            lblStorStatus->text(), lblStorSug->text(), lblBasis->text(),
            lblHvy->text(), lblMed->text(), lblLite->text()};
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
