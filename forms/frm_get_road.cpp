#include "forms/frm_get_road.h"

#include "forms/app_icon.h"
#include "forms/control_makers.h"
#include "forms/fonts.h"
#include "forms/twips.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

#include <limits>

namespace trelvane {

frmGetRoad::frmGetRoad(stdGeneral &session, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint
                          | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint)
    , txtRoadName(new QLineEdit(this))
    , cmdOK(makeButton("cmdOK", "OK", "Print the analysis", twipsRect(2400, 840, 1400, 375), this))
    , cmdCancel(makeButton("cmdCancel", "Cancel", "Cancel", twipsRect(840, 840, 1400, 375), this))
    , m_session(session)
{
    setObjectName("frmGetRoad");
    setWindowTitle("Enter your railroad's name:");
    setWindowIcon(trelvaneIcon());
    setFixedSize(twipsToPixels(4095), twipsToPixels(1410));
    setSizeGripEnabled(false);

    txtRoadName->setObjectName("txtRoadName");
    txtRoadName->setGeometry(twipsRect(240, 240, 3615, 285));
    txtRoadName->setToolTip(" Enter your railroad's name.  This will show on your report. ");
    // No label names the box; the title asks the question, a screen reader needs a name.
    txtRoadName->setAccessibleName("Railroad name");
    // A name has no length limit; QLineEdit would otherwise stop at 32767 characters.
    txtRoadName->setMaxLength(std::numeric_limits<int>::max());
    txtRoadName->installEventFilter(this);

    cmdOK->setDefault(true);
    setTabOrder(txtRoadName, cmdOK);
    setTabOrder(cmdOK, cmdCancel);
    txtRoadName->setFocus();

    connect(cmdOK, &QPushButton::clicked, this, &frmGetRoad::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmGetRoad::cmdCancel_Click);

    Form_Load();
}

void frmGetRoad::Form_Load()
{
    m_session.blnPrintOK = false;
    txtRoadName->setText(QString::fromStdString(m_session.strRoadName));
}

bool frmGetRoad::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == txtRoadName) {
        if (event->type() == QEvent::FocusOut) {
            // Only a move of the focus inside the prompt counts; switching to another
            // program or opening the box's context menu is not leaving the box.
            const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
                txtRoadName_LostFocus();
        } else if (event->type() == QEvent::KeyPress) {
            // Enter and Esc act on OK and Cancel without moving the focus: store the name
            // first, so the report prints what the box shows, as a click would have.
            const int key = static_cast<QKeyEvent *>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape)
                txtRoadName_LostFocus();
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmGetRoad::txtRoadName_LostFocus()
{
    m_session.strRoadName = txtRoadName->text().toStdString();
}

void frmGetRoad::cmdOK_Click()
{
    m_session.blnPrintOK = true;
    accept();
}

void frmGetRoad::cmdCancel_Click()
{
    m_session.blnPrintOK = false;
    reject();
}

} // namespace trelvane
