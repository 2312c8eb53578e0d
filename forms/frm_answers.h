// The results window: the verdicts and session figures of one analysis, with Print and OK,
// and a context menu that copies the analysis, previews it, prints it on another printer
// or saves it as a PDF file. Built fresh for every opening; its Print button runs the
// print sequence over it.
#pragma once

#include "analysis/session_state.h"
#include "forms/window_kit.h"
#include "report/print_sequence.h"

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <functional>

class QAction;
class QGroupBox;
class QMenu;

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
    bool m_printing = false; // from Print, or another way out, until it has ended
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
    // The context menu, kept for the window so screen readers find its items every time it
    // opens; its shortcuts work anywhere in the window.
    QMenu *const mnuAnalysis;
    QAction *const mnuCopy;
    QAction *const mnuPrint;
    QAction *const mnuPrintOn;
    QAction *const mnuPreview;
    QAction *const mnuSavePdf;

protected:
    void changeEvent(QEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void cmdOK_Click();
    void cmdPrint_Click();
    void tmrMsgTimer_Timer();
    void mnuCopy_Click();
    void mnuPrintOn_Click();
    void mnuPreview_Click();
    void mnuSavePdf_Click();

    // Runs a way out of the window unless one is under way or a window stands in front.
    void oneAtATime(const std::function<void()> &step);
    // Runs a way out with the report, once the name is confirmed.
    void sendOut(const std::function<void(const ReportContent &)> &send);
    void showMenuAtFocus();

    // What the print sequence asks of this window.
    QWidget &widget() override;
    void askForRoadName() override;
    ResultCaptions captions() const override;
    void repaintNow() override;
    void showPrintingMessage() override;
};

} // namespace trelvane
