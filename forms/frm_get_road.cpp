#include "forms/frm_get_road.h"

#include <QKeyEvent>
#include <QPushButton>

#include <limits>

namespace trelvane {

frmGetRoad::frmGetRoad(stdGeneral &session, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint
                          | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint)
    , txtRoadName(placed(new EntryBox(this), "txtRoadName", Twips{240, 240, 3615, 285}))
    , cmdOK(makeButton("cmdOK", "OK", "Print the analysis", Twips{2400, 840, 1400, 375}, this))
    , cmdCancel(makeButton("cmdCancel", "Cancel", "Cancel", Twips{840, 840, 1400, 375}, this))
    , m_session(session)
{
    setObjectName("frmGetRoad");
    setWindowTitle("Enter your railroad's name:");
    setWindowIcon(trelvaneIcon());
    setSizeGripEnabled(false);

    txtRoadName->setToolTip(" Enter your railroad's name.  This will show on your report. ");
    // No label names the box; the title asks the question, a screen reader needs a name.
    txtRoadName->setAccessibleName("Railroad name");
    // A name has no length limit; QLineEdit would otherwise stop at 32767 characters.
    txtRoadName->setMaxLength(std::numeric_limits<int>::max());

    cmdOK->setDefault(true);
    setTabOrder(txtRoadName, cmdOK);
    setTabOrder(cmdOK, cmdCancel);
    txtRoadName->setFocus();

    connect(txtRoadName, &EntryBox::lostFocus, this, &frmGetRoad::txtRoadName_LostFocus);
    connect(cmdOK, &QPushButton::clicked, this, &frmGetRoad::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmGetRoad::cmdCancel_Click);

    Form_Load();
}

void frmGetRoad::Form_Load()
{
    m_session.blnPrintOK = false;
    txtRoadName->setText(QString::fromStdString(m_session.strRoadName));
}

void frmGetRoad::keyPressEvent(QKeyEvent *event)
{
    // Esc is Cancel's key, so it takes the name first as a click on Cancel does; the close
    // box, which also rejects, takes nothing.
    if (event->matches(QKeySequence::Cancel))
        cmdCancel->click();
    else
        QDialog::keyPressEvent(event);
}

void frmGetRoad::txtRoadName_LostFocus()
{
    m_session.strRoadName = txtRoadName->text().toStdString();
}

void frmGetRoad::cmdOK_Click()
{
    // Enter, or a press that leaves the focus in the box, still takes the name shown.
    leaveEntryBoxes(*this);
    m_session.blnPrintOK = true;
    accept();
}

void frmGetRoad::cmdCancel_Click()
{
    leaveEntryBoxes(*this);
    m_session.blnPrintOK = false;
    reject();
}

} // namespace trelvane
