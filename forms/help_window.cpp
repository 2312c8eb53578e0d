#include "forms/help_window.h"

#include "forms/help_text.h"
#include "forms/window_kit.h"

#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QTextDocument>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <QWindow>

namespace trelvane {

namespace {

// F1 in any window: the application sees the key before any window or control does.
class HelpKeyFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
            return false;
        auto *key = static_cast<QKeyEvent *>(event);
        if (!key->matches(QKeySequence::HelpContents))
            return false;
        showHelp(static_cast<QWidget *>(watched));
        return true;
    }
};

} // namespace

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
    txtHelp->setHtml(QString::fromUtf8(kHelpHtml));
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

void showHelp(QWidget *from)
{
    QWidget *asker = from->window();
    QWidget *owner = outermostWindow(asker);

    auto *help = owner->findChild<HelpWindow *>(QString(), Qt::FindDirectChildrenOnly);
    if (!help) {
        help = new HelpWindow(owner);
        // Opens over the program rather than wherever the desktop puts new windows.
        QRect centred = help->frameGeometry();
        centred.moveCenter(owner->frameGeometry().center());
        help->move(centred.topLeft());
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
}

void installHelpKey()
{
    installApplicationFilter<HelpKeyFilter>();
}

} // namespace trelvane
