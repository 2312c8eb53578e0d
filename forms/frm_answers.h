// The results window: the verdicts and session figures of one analysis, with Print and OK.
// Built fresh for every opening; its Print button runs the print sequence over it.
#pragma once

#include "analysis/session_state.h"
#include "forms/window_kit.h"
#include "report/print_sequence.h"

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

class QGroupBox;

namespace trelvane {

class frmAnswers : public QDialog, private PrintingWindow {
    Q_OBJECT
public:
    // The session is the one the analysis wrote; the name prompt opened from here writes
    // its railroad name and confirmation.
    frmAnswers(stdGeneral &session, QWidget *parent);

private:
    const WindowDesign m_design{this, 5775, 5025, WindowDesign::Border::Sizable};
    stdGeneral &m_session;
    bool m_printing = false; // from Print until the print sequence has ended
    QGroupBox *const fraTrackage;
    QGroupBox *const fraOperating;

public:
    QLabel *const lblPassSug;
    QLabel *const lblFuncStatus;
    QLabel *const lblFuncSug;
    QLabel *const lblStorStatus;
    QLabel *const lblStorSug;
    QLabel *const lblBasis;
    QLabel *const lblHvy;
    QLabel *const lblMed;
    QLabel *const lblLite;
    QLabel *const lblWarn;
    QLabel *const lblMessage;
    QPushButton *const cmdPrint;
    QPushButton *const cmdOK;
    QTimer *const tmrMsgTimer;

protected:
    void changeEvent(QEvent *event) override;

private:
    void cmdOK_Click();
    void cmdPrint_Click();
    void tmrMsgTimer_Timer();

    // What the print sequence asks of this window.
    QWidget &widget() override;
    void askForRoadName() override;
    ReportCaptions captions() const override;
    void repaintNow() override;
    void showPrintingMessage() override;
};

} // namespace trelvane
