#include "forms/help_window.h"

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

// Rich text, with one anchor per section.
QString helpText()
{
    return QStringLiteral(R"(
<h2>Trelvane help</h2>
<p>Trelvane estimates how many cars your layout can really operate. It follows a published
rule of thumb for model railroads: it works out what your track can hold, compares that with
the cars you own, and suggests what to change. Its figures are a guide for planning, not a
promise.</p>
<p>Contents: <a href="#track">Track</a> &middot; <a href="#scale">Scale</a> &middot;
<a href="#cars">Cars</a> &middot; <a href="#results">Results</a> &middot;
<a href="#sessions">Sessions</a> &middot; <a href="#print">Printing and saving</a> &middot;
<a href="#keys">Keys</a></p>

<h3><a name="track"></a>The three kinds of track</h3>
<p><b>Passing track</b> is the track beside the main line where one train waits while
another meets or overtakes it: passing sidings and loops.</p>
<p><b>Functional track</b> is where cars are moved about: yard leads, drill tracks,
run-around tracks and other maneuvering track.</p>
<p><b>Storage track</b> is where cars stand: yard tracks, industry spurs and any track used
to sort or hold cars.</p>
<p>Measure each kind on the layout itself in <b>actual feet</b>, with a tape measure, not in
scale feet. Add up the pieces of one kind and round to whole feet. Count each stretch of
track once, in the kind it is mostly used as. A box takes up to four digits (0 to 9999); a
box left empty counts as 0.</p>

<h3><a name="scale"></a>What the scale changes</h3>
<p>The scale decides how many cars a foot of track holds. In Trelvane one foot of track holds
this many forty-foot cars: 5 in Z, 3.6 in N, 2 in HO, 1.5 in S, 1.1 in O and 0.5 in G. The same
footage therefore holds many more cars in N than in O. Changing the scale changes every
capacity, and so every verdict.</p>

<h3><a name="cars"></a>Car lengths and the equivalent 40' car</h3>
<p>Set how many cars of each length you have. The lengths, 34' to 86', are those of the
full-size cars your models represent. Type the number while the counter has the focus, or
use its arrows, the mouse wheel, or the Up and Down keys (Page Up and Page Down go ten at a
time, Home and End to 0 and 9999); each counter goes from 0 to 9999.</p>
<p>Trelvane measures everything in <b>equivalent 40' cars</b>: each car counts as its length
divided by 40 feet, so a 50' car counts as 1.25 cars, an 80' car as 2 and a 34' car as 0.85.
The total, rounded to a whole number, is the figure behind all the results.</p>

<h3><a name="results"></a>Reading the results</h3>
<p><b>Passing track.</b> Of the cars on the move, some will be in trains waiting to meet or
pass others. Either the passing track is <i>ADEQUATE</i>, or Trelvane says how many feet of
mainline passing track to add.</p>
<p><b>Functional track.</b> Trelvane compares the cars being worked with what the functional
track holds. Up to 40 percent full it is <i>ADEQUATE</i>; from 41 to 50 percent it is
<i>MARGINAL</i>: it works, but crews will feel crowded. Above that it is <i>SATURATED</i>:
Trelvane gives the most cars to move at one time and suggests redesigning the trackage, and
the results show a red warning that operation may not be satisfactory with these figures.</p>
<p><b>Storage track.</b> Yards that are more than about four-fifths full are hard to work.
Up to 80 percent the yards are <i>ADEQUATE</i>, from 81 to 85 percent <i>MARGINAL</i>, above
that <i>SATURATED</i>. The suggestion gives the most cars to keep in service (four-fifths of
what the storage track holds) and, when the yards are marginal or saturated, how many feet of
storage track to add to keep every car you have.</p>

<h3><a name="sessions"></a>The three session sizes</h3>
<p>The operating analysis says how many cars to move in one operating session. It is based
on the equivalent cars you have, or on the recommended maximum when the yards are
saturated. A <b>heavy</b> session moves about 70 percent of them, an <b>average</b> session
half, and a <b>light</b> session a quarter, always rounded down.</p>

<h3><a name="print"></a>Printing, copying and saving</h3>
<p>In the results window choose <b>Print</b>. Type your railroad's name (it appears at the
top of the report and is offered again the next time) and choose <b>OK</b>, or press Enter.
Trelvane sends a one-page report with your figures and all the results to your default
printer, on the paper the printer is loaded with, and shows &ldquo;Sending analysis to
printer&rdquo; for two seconds. <b>Cancel</b>, or Esc, prints nothing. When no printer is the
default, Trelvane lists the installed printers so you can print on one of them. When the
report cannot be printed, Trelvane says why and offers to save it as a PDF file instead; when
the printer is paused, it says so, and the report waits in the printer's queue. When the
printer cannot print now, because it is offline or out of paper for instance, Trelvane says
so and lists the printers to choose from. A print server that does not answer is given ten
seconds.</p>
<p>Right-click the results window, or press the Menu key or Shift+F10 there, for more:</p>
<ul>
<li><b>Copy Analysis</b> (Ctrl+C) puts the report's text on the clipboard, line for line as
it prints, ready to paste into a message or a forum post. Nothing is asked.</li>
<li><b>Print</b> (Ctrl+P) does what the Print button does.</li>
<li><b>Print on Another Printer&hellip;</b> asks for the name, then lists every printer with
the default one marked, and prints on the one you choose. The default is not changed.</li>
<li><b>Print Preview&hellip;</b> asks for the name, then shows the page exactly as it will
print, fitted to the screen. Ctrl+Plus and Ctrl+Minus enlarge and shrink the page, Ctrl+0
fits it again. Print there prints that page on the default printer without asking for the
name again; Save as PDF&hellip; saves it.</li>
<li><b>Save as PDF&hellip;</b> (Ctrl+S) asks for the name, then where to save the file: it
starts in your documents folder with a name made of the railroad's name and the day, such as
&ldquo;Pine Ridge analysis 2026-12-09.pdf&rdquo;, and asks before replacing a file. The file
holds the page Print would send, on your default printer's paper, and is written whole or
not at all. It works without a printer.</li>
</ul>
<p>The shortcuts work wherever the focus is in the results window.</p>

<h3><a name="keys"></a>Keys</h3>
<p>Everything works from the keyboard. Tab and Shift+Tab move between the controls; the
arrow keys choose the scale; digits, Up, Down, Page Up, Page Down, Home and End set a
counter; Space presses the button that has the focus. In the results window Esc, or Enter
on OK, returns to the input window. F1 opens this help from any window; Esc closes it.</p>
<p><b>Larger or smaller windows.</b> Trelvane draws its windows in proportion to your
desktop's font size, and follows it when you change it. Ctrl+Plus makes all its windows
larger, Ctrl+Minus smaller, in steps of a quarter, from the size your desktop's font gives
them up to three times that size, as far as the screen has room; Ctrl+0 brings them back.
The keys work in every window. The size lasts until Trelvane ends.</p>
<p>Trelvane keeps no files and no settings: nothing you enter is saved.</p>
)");
}

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
