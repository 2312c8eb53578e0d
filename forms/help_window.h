// The help: one modeless window with what to enter, how to read the results and how to
// print, opened by F1 from any window of the program.
#pragma once

#include <QWidget>

class QTextBrowser;

namespace trelvane {

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    // parent owns it; it is a window of its own, hidden rather than deleted when closed.
    explicit HelpWindow(QWidget *parent);

    QTextBrowser *const txtHelp;

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

// Opens the help for the window that from belongs to, or raises it when it is open. The
// help is owned by the outermost window of from's family, so there is one per program.
void showHelp(QWidget *from);

// Makes F1 open the help from every window, dialogs and message boxes included. Installed
// once for the whole application; later calls do nothing.
void installHelpKey();

} // namespace trelvane
