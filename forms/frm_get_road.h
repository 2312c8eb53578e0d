// The railroad-name prompt: asks for the name the report is prepared for and answers,
// through the session's strRoadName and blnPrintOK, whether to print at all.
#pragma once

#include "analysis/session_state.h"
#include "forms/entry_box.h"
#include "forms/window_kit.h"

#include <QDialog>

class QPushButton;

namespace trelvane {

class frmGetRoad : public QDialog {
    Q_OBJECT
    const WindowDesign m_design{this, 4095, 1410, WindowDesign::Border::Fixed};

public:
    // Loads at once: blnPrintOK is cleared and the box shows the name stored last.
    frmGetRoad(stdGeneral &session, QWidget *parent);

    EntryBox *const txtRoadName;
    QPushButton *const cmdOK;
    QPushButton *const cmdCancel;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void Form_Load();
    void txtRoadName_LostFocus();
    void cmdOK_Click();
    void cmdCancel_Click();

    stdGeneral &m_session;
};

} // namespace trelvane
