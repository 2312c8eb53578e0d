#include "forms/help_window.h"

#include "forms/app_icon.h"
#include "forms/help_text.h"

#include <QKeyEvent>
#include <QTextDocument>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <QWindow>

namespace trelvane {

HelpWindow::HelpWindow(QWidget *parent)
    : QWidget(parent, Qt::Window)
    , txtHelp(new QTextBrowser(this))
{
    setObjectName("frmHelp");
    setWindowTitle("Trelvane Help");
    setWindowIcon(trelvaneIcon());
    setAccessibleName("Trelvane Help");

    txtHelp->setObjectName("txtHelp");
    txtHelp->setOpenLinks(true);
    txtHelp->setOpenExternalLinks(false);
    txtHelp->setHtml(helpText());
    txtHelp->document()->setDocumentMargin(12);
    txtHelp->setAccessibleName("Help text");

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(txtHelp);
    // Wide enough for comfortable lines, in units of the text's own font.
    const QFontMetrics metrics(txtHelp->font());
    resize(metrics.averageCharWidth() * 80, metrics.lineSpacing() * 34);
    txtHelp->setFocus();
}

void HelpWindow::keyPressEvent(QKeyEvent *event)
{
    // A key event rather than a shortcut: Qt offers no window shortcut to a window that
    // opened over a modal one, and Esc must close the help even then.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier)
        close();
    else
        QWidget::keyPressEvent(event);
}

HelpWindow *showHelp(QWidget *from)
{
    QWidget *asker = from->window();
    QWidget *owner = asker;
    while (QWidget *up = owner->parentWidget())
        owner = up->window();

    auto *help = owner->findChild<HelpWindow *>(QString(), Qt::FindDirectChildrenOnly);
    if (!help) {
        help = new HelpWindow(owner);
        // Opens over the program rather than wherever the desktop puts new windows.
        QRect placed = help->frameGeometry();
        placed.moveCenter(owner->frameGeometry().center());
        help->move(placed.topLeft());
    }

    // A modal window blocks every window that is not its own. Tying the help to the window
    // it was asked from keeps it usable while that window is open, including when it is
    // modal; from the input window it is simply the input window's.
    if (asker != help) {
        help->winId();
        QWindow *handle = help->windowHandle();
        QWindow *askerHandle = asker->windowHandle();
        if (handle && handle->transientParent() != askerHandle)
            handle->setTransientParent(askerHandle);
    }
    help->show();
    help->raise();
    help->activateWindow();
    return help;
}

} // namespace trelvane
