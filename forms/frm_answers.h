// The results window: the verdicts and session figures of one analysis, with Print and OK.
// Built fresh for every opening; the print sequence reads and drives its controls.
#pragma once

#include "analysis/session_state.h"
#include "forms/fonts.h"
#include "forms/print_sequence_hook.h"

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

class QGroupBox;

namespace trelvane {

class frmAnswers : public QDialog {
    Q_OBJECT
public:
    frmAnswers(const stdGeneral &session, PrintSequence printSequence, QWidget *parent);

    const stdGeneral &session() const { return m_session; }

private:
    const WindowFontFirst m_windowFont{this};
    const stdGeneral &m_session;
    PrintSequence m_printSequence;
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

private:
    void cmdOK_Click();
    void cmdPrint_Click();
    void tmrMsgTimer_Timer();
};

} // namespace trelvane
