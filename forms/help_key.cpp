#include "forms/help_key.h"

#include "forms/help_window.h"

#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QPointer>
#include <QWidget>

namespace trelvane {

namespace {

// One filter on the application sees the key before any window or control does, so no
// window needs a copy of its own and a new window cannot be left out.
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

void installHelpKey()
{
    static QPointer<HelpKeyFilter> installed;
    if (installed)
        return;
    installed = new HelpKeyFilter(qApp);
    qApp->installEventFilter(installed);
}

} // namespace trelvane
