// The Windows packages under wine, as a Windows user meets them. The zip's folder holds
// every DLL that something in it imports, unless Windows has it, and nothing that nothing
// imports. The installer installs silently for the user alone, with a Start-menu shortcut
// and an Apps & features entry; the program opens from that shortcut; the uninstaller
// leaves nothing behind. The zip's program, on a display of the test's own with a window
// manager, takes the worked example from the mouse and the keyboard, copies the report's
// text with Ctrl+C, dated in the user's own short date format, and prints it with Ctrl+P
// through wine's printer into a queue of a private CUPS server; when that server freezes,
// the print is given up at the deadline and the user told why.
// TRELVANE_WINDOWS_ZIP, TRELVANE_WINDOWS_SETUP and TRELVANE_WINE_PREFIX_SCRIPT name the
// zip, the installer, and the script that makes a wine prefix as a Windows machine has it.
#include "pdf_reading.h"
#include "private_cups_server.h"
#include "report_page_sample.h"

#include <QDate>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

using namespace trelvane::test;

namespace {

// The DLLs a Windows program or library imports, as written in it.
QStringList imports(const QString &file, QString *error)
{
    const ToolOutput dump = runTool("x86_64-w64-mingw32-objdump", {"-p", file});
    if (!dump.ok)
        *error = dump.error;
    QStringList names;
    static const QRegularExpression dllName(R"(^\s*DLL Name: (\S+)\s*$)",
                                            QRegularExpression::MultilineOption);
    for (const QRegularExpressionMatch &match : dllName.globalMatch(dump.out))
        names << match.captured(1);
    return names;
}

// The files under a folder, by their paths relative to it.
QStringList filesUnder(const QString &folder)
{
    QStringList files;
    QDirIterator walk(folder, QDir::Files, QDirIterator::Subdirectories);
    while (walk.hasNext())
        files << QDir(folder).relativeFilePath(walk.next());
    files.sort();
    return files;
}

// Each line's words, blanks between them folded into one, without the empty lines.
QStringList words(const QStringList &lines)
{
    QStringList kept;
    for (const QString &line : lines)
        if (!line.trimmed().isEmpty())
            kept << line.simplified();
    return kept;
}

// The worked example's positions in the input window, in pixels from its client area's
// corner at the design's size (a twip is 1/15 of a pixel): the centre of the passing box,
// the upper arrow of the 40' counter, and Analyze.
constexpr int kPassingBox[] = {(1560 + 1560 + 615 / 2) / 15, (240 + 1200 + 285 / 2) / 15};
constexpr int kFortyFootUp[] = {(4320 + 1080 + 195 / 2) / 15, (240 + 1200 + 60) / 15};
constexpr int kAnalyze[] = {(4320 + 1400 / 2) / 15, (3480 + 375 / 2) / 15};

} // namespace

class WindowsPackageTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void zipHoldsWhatItImports();
    void installerInstallsForTheUserAndUninstallsWhole();
    void programAnalysesCopiesAndPrints();
    void frozenPrintServerIsGivenUpAfterTenSeconds();

private:
    // A fresh prefix, set up as a Windows machine has it, used by the wine programs run next.
    void usePrefix(const QString &name);
    // Runs a Windows program and waits for it and everything it started.
    ToolOutput wine(const QStringList &arguments);
    void startWine(const QStringList &arguments);
    // The X window whose title matches, once it shows; empty when none does in time.
    QString waitForWindow(const QString &title, int timeoutMs = 30000);
    // The visible X windows whose title matches.
    QStringList windows(const QString &title);
    // Closes them as a user does, with Alt+F4, again each second should a window just
    // shown miss the keys; true once none is left.
    bool closeWindows(const QString &title);
    bool xdotool(const QStringList &arguments);
    // Presses Ctrl+C in the active window; the clipboard once it holds `awaited`, or
    // whatever it holds when that does not come in time.
    QString copy(const QString &awaited);
    // The folder of the current prefix's user, as wine names it after the one running it.
    QString userFolder() const;

    QTemporaryDir dir;
    QString zipFolder; // the zip unpacked: its Trelvane folder
    QString prefix;
    QProcess xvfb, windowManager;
    QList<QProcess *> programs;
    PrivateCupsServer server;
};

void WindowsPackageTest::initTestCase()
{
    for (const char *name :
         {"TRELVANE_WINDOWS_ZIP", "TRELVANE_WINDOWS_SETUP", "TRELVANE_WINE_PREFIX_SCRIPT"})
        QVERIFY2(QFileInfo::exists(qEnvironmentVariable(name)), name);
    QVERIFY(dir.isValid());
    const ToolOutput unzipped =
        runTool("unzip", {"-q", qEnvironmentVariable("TRELVANE_WINDOWS_ZIP"), "-d", dir.filePath("zip")});
    QVERIFY2(unzipped.ok, qPrintable(unzipped.error));
    zipFolder = dir.filePath("zip/Trelvane");
    QVERIFY(QFileInfo(zipFolder).isDir());

    QString error;
    QVERIFY2(server.startForThisProcess(&error), qPrintable(error));

    // A display and a window manager of the test's own; wine speaks US English there.
    xvfb.start("Xvfb", {"-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"});
    QVERIFY(xvfb.waitForStarted(10000));
    QTRY_VERIFY_WITH_TIMEOUT(xvfb.canReadLine(), 10000);
    qputenv("DISPLAY", ":" + xvfb.readLine().trimmed());
    windowManager.start("openbox", {});
    QVERIFY(windowManager.waitForStarted(10000));
    qputenv("WINEDEBUG", "-all");
    qputenv("LANG", "en_US.UTF-8");
    qunsetenv("LC_ALL");
}

void WindowsPackageTest::cleanupTestCase()
{
    for (QProcess *program : programs) {
        program->kill();
        program->waitForFinished(5000);
        delete program;
    }
    if (!prefix.isEmpty())
        runTool("wineserver", {"-k"});
    windowManager.terminate();
    windowManager.waitForFinished(5000);
    xvfb.terminate();
    xvfb.waitForFinished(5000);
}

void WindowsPackageTest::usePrefix(const QString &name)
{
    if (!prefix.isEmpty())
        runTool("wineserver", {"-k"});
    prefix = dir.filePath(name);
    const ToolOutput made =
        runTool("bash", {qEnvironmentVariable("TRELVANE_WINE_PREFIX_SCRIPT"), prefix});
    QVERIFY2(made.ok, qPrintable(made.error));
    qputenv("WINEPREFIX", prefix.toLocal8Bit());
}

ToolOutput WindowsPackageTest::wine(const QStringList &arguments)
{
    ToolOutput result = runTool("wine", arguments);
    runTool("wineserver", {"-w"});
    return result;
}

void WindowsPackageTest::startWine(const QStringList &arguments)
{
    auto *program = new QProcess;
    program->setProcessChannelMode(QProcess::ForwardedChannels);
    program->start("wine", arguments);
    programs << program;
}

QStringList WindowsPackageTest::windows(const QString &title)
{
    return runTool("xdotool", {"search", "--onlyvisible", "--name", title})
        .out.split('\n', Qt::SkipEmptyParts);
}

bool WindowsPackageTest::closeWindows(const QString &title)
{
    for (int attempt = 0; attempt < 20; ++attempt) {
        const QString window = windows(title).value(0);
        if (window.isEmpty())
            return true;
        if (xdotool({"windowactivate", "--sync", window}))
            xdotool({"key", "alt+F4"});
        QTest::qWait(1000);
    }
    return windows(title).isEmpty();
}

QString WindowsPackageTest::waitForWindow(const QString &title, int timeoutMs)
{
    // Empty when none showed in time.
    (void)QTest::qWaitFor([&] { return !windows(title).isEmpty(); }, timeoutMs);
    return windows(title).value(0);
}

bool WindowsPackageTest::xdotool(const QStringList &arguments)
{
    const ToolOutput done = runTool("xdotool", arguments);
    if (!done.ok)
        qWarning("%s", qPrintable(done.error));
    return done.ok;
}

QString WindowsPackageTest::copy(const QString &awaited)
{
    if (!xdotool({"key", "ctrl+c"}))
        return QString();
    QString copied;
    (void)QTest::qWaitFor([&] {
        copied = runTool("xclip", {"-o", "-selection", "clipboard"}).out;
        return copied.contains(awaited);
    }, 10000);
    return copied;
}

QString WindowsPackageTest::userFolder() const
{
    const QDir users(prefix + "/drive_c/users");
    for (const QString &user : users.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        if (user != "Public")
            return users.filePath(user);
    return QString();
}

void WindowsPackageTest::zipHoldsWhatItImports()
{
    usePrefix("windows-own");
    QSet<QString> windowsOwn;
    for (const QString &file : QDir(prefix + "/drive_c/windows/system32").entryList(QDir::Files))
        windowsOwn << file.toLower();
    QVERIFY(windowsOwn.contains("kernel32.dll"));

    QStringList shipped, roots = {"trelvane.exe", "platforms/qwindows.dll",
                                  "styles/qwindowsvistastyle.dll"};
    for (const QString &file : filesUnder(zipFolder))
        if (file.endsWith(".dll", Qt::CaseInsensitive) || file.endsWith(".exe"))
            shipped << file;
    for (const QString &root : roots)
        QVERIFY2(shipped.contains(root), qPrintable(root));
    QSet<QString> besideTheProgram;
    for (const QString &file : shipped)
        if (!file.contains('/'))
            besideTheProgram << file.toLower();

    QStringList missing, imported;
    for (const QString &file : shipped) {
        QString error;
        const QStringList names = imports(QDir(zipFolder).filePath(file), &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        for (const QString &name : names) {
            const QString dll = name.toLower();
            imported << dll;
            // API sets are no files: Windows resolves them to its own DLLs as it loads.
            const bool apiSet = dll.startsWith("api-ms-") || dll.startsWith("ext-ms-");
            if (!besideTheProgram.contains(dll) && !windowsOwn.contains(dll) && !apiSet)
                missing << file + " needs " + name;
        }
    }
    QVERIFY2(missing.isEmpty(), qPrintable(missing.join(", ")));
    QStringList unused;
    for (const QString &file : shipped)
        if (!roots.contains(file) && !imported.contains(QFileInfo(file).fileName().toLower()))
            unused << file;
    QVERIFY2(unused.isEmpty(), qPrintable("nothing imports " + unused.join(", ")));

    const qint64 size = QFileInfo(qEnvironmentVariable("TRELVANE_WINDOWS_ZIP")).size();
    QVERIFY2(size <= 12 * 1024 * 1024, qPrintable(QString("the zip is %1 bytes").arg(size)));
    QVERIFY(QFileInfo::exists(zipFolder + "/LICENSE.txt"));
}

void WindowsPackageTest::installerInstallsForTheUserAndUninstallsWhole()
{
    usePrefix("installer");
    const QString programs = userFolder() + "/AppData/Local/Programs/Trelvane";
    const QString shortcut = userFolder() + "/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Trelvane.lnk";
    const QString entry = R"(HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Trelvane)";
    const ToolOutput installed = wine({qEnvironmentVariable("TRELVANE_WINDOWS_SETUP"), "/S"});
    QVERIFY2(installed.ok, qPrintable(installed.error));

    // The zip's files, and the uninstaller.
    QCOMPARE(filesUnder(programs), [&] {
        QStringList files = filesUnder(zipFolder) << "uninstall.exe";
        files.sort();
        return files;
    }());
    QVERIFY2(QFileInfo::exists(shortcut), qPrintable(shortcut));
    // Installed for the user alone: nothing of it for all users.
    QVERIFY(!QFileInfo::exists(prefix + "/drive_c/Program Files/Trelvane"));
    QVERIFY(!QFileInfo::exists(prefix + "/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Trelvane.lnk"));

    const ToolOutput values = runTool("wine", {"reg", "query", entry});
    QVERIFY2(values.ok, qPrintable(values.error));
    QMap<QString, QString> value;
    static const QRegularExpression row(R"(^\s+(\w+)\s+REG_\w+\s+(.*?)\s*$)",
                                        QRegularExpression::MultilineOption);
    for (const QRegularExpressionMatch &match : row.globalMatch(values.out))
        value[match.captured(1)] = match.captured(2);
    const QString folder = QString("C:/users/%1/AppData/Local/Programs/Trelvane")
                               .arg(QFileInfo(userFolder()).fileName())
                               .replace('/', '\\');
    const QString uninstaller = '"' + folder + "\\uninstall.exe\"";
    const QList<std::pair<QString, QString>> expected = {
        {"DisplayName", "Trelvane"},
        {"DisplayVersion", "1.2.0"},
        {"Publisher", "Trelvane developers"},
        {"DisplayIcon", folder + "\\trelvane.exe,0"},
        {"UninstallString", uninstaller},
        {"QuietUninstallString", uninstaller + " /S"},
        {"NoModify", "0x1"},
        {"NoRepair", "0x1"},
    };
    for (const auto &[name, wanted] : expected)
        QVERIFY2(value.value(name).compare(wanted, Qt::CaseInsensitive) == 0,
                 qPrintable(QString("%1 is \"%2\"").arg(name, value.value(name))));
    // In KiB, as the files take it, give or take a fiftieth.
    qint64 bytes = 0;
    for (const QString &file : filesUnder(programs))
        bytes += QFileInfo(programs + "/" + file).size();
    const qint64 estimated = value.value("EstimatedSize").toLongLong(nullptr, 16);
    QVERIFY2(std::abs(estimated - bytes / 1024) <= bytes / 1024 / 50,
             qPrintable(QString("EstimatedSize %1 KiB for %2 bytes").arg(estimated).arg(bytes)));

    // Opened from the Start menu, as a user does.
    startWine({"start", "/unix", shortcut});
    QVERIFY2(!waitForWindow("^Trelvane   v1\\.2\\.0$").isEmpty(),
             "the installed program showed no window");
    // Its files can only be removed once it has ended.
    QVERIFY2(closeWindows("^Trelvane   v1\\.2\\.0$"), "the installed program did not close");
    runTool("wineserver", {"-w"});

    const ToolOutput removed = wine({programs + "/uninstall.exe", "/S"});
    QVERIFY2(removed.ok, qPrintable(removed.error));
    QVERIFY2(!QFileInfo::exists(programs), qPrintable(filesUnder(programs).join(", ")));
    QVERIFY(!QFileInfo::exists(shortcut));
    QVERIFY(!runTool("wine", {"reg", "query", entry}).ok);
}

void WindowsPackageTest::programAnalysesCopiesAndPrints()
{
    usePrefix("program");
    // A short date format of the user's own, as Windows' regional settings keep it.
    const ToolOutput dated = wine({"reg", "add", R"(HKCU\Control Panel\International)", "/v",
                                   "sShortDate", "/t", "REG_SZ", "/d", "dd.MM.yyyy", "/f"});
    QVERIFY2(dated.ok, qPrintable(dated.error));
    const qsizetype jobsBefore = server.capturedJobs().size();
    startWine({zipFolder + "/trelvane.exe"});
    const QString input = waitForWindow("^Trelvane   v1\\.2\\.0$");
    QVERIFY2(!input.isEmpty(), "the input window did not show");
    QVERIFY(xdotool({"windowactivate", "--sync", input}));

    // The passing box and the 40' counter by the mouse, the rest by the keyboard.
    const auto click = [&](const int (&at)[2]) {
        return xdotool({"mousemove", "--window", input, QString::number(at[0]),
                        QString::number(at[1]), "click", "1"});
    };
    QVERIFY(click(kPassingBox));
    QVERIFY(xdotool({"type", "--delay", "50", "10"}));
    QVERIFY(xdotool({"key", "Tab"}));
    QVERIFY(xdotool({"type", "--delay", "50", "18"}));
    QVERIFY(xdotool({"key", "Tab"}));
    QVERIFY(xdotool({"type", "--delay", "50", "100"}));
    QVERIFY(click(kFortyFootUp));
    QVERIFY(xdotool({"type", "--delay", "50", "30"}));
    QVERIFY(click(kAnalyze));
    const QString results = waitForWindow("^Trelvane Analysis$");
    QVERIFY2(!results.isEmpty(), "the results window did not show");
    QVERIFY(xdotool({"windowactivate", "--sync", results}));

    // Before any print no name is known: the text has no "Prepared for" line.
    const QString today = QDate::currentDate().toString("dd.MM.yyyy");
    QStringList expected = words(pineRidgeSaturatedPage(today));
    const QString copied = copy("LIGHT");
    QStringList withoutName = expected;
    withoutName.removeAll("Prepared for Pine Ridge");
    QCOMPARE(words(copied.split('\n')), withoutName);

    QVERIFY(xdotool({"key", "ctrl+p"}));
    const QString prompt = waitForWindow("^Enter your railroad's name:$");
    QVERIFY2(!prompt.isEmpty(), "the name prompt did not show");
    QVERIFY(xdotool({"windowactivate", "--sync", prompt}));
    QVERIFY(xdotool({"type", "--delay", "50", "Pine Ridge"}));
    QVERIFY(xdotool({"key", "Return"}));
    QTRY_COMPARE_WITH_TIMEOUT(server.capturedJobs().size(), jobsBefore + 1, 60000);

    // Wine's printer speaks PostScript: read back through a PDF of it.
    const QString pdf = dir.filePath("printed.pdf");
    const ToolOutput converted = runTool("gs", {"-q", "-dNOPAUSE", "-dBATCH", "-dSAFER",
                                             "-sDEVICE=pdfwrite", "-o", pdf,
                                             server.capturedJobs().constLast()});
    QVERIFY2(converted.ok, qPrintable(converted.error));
    QString error;
    const QStringList printed = pdfLineTexts(pdf, &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(words(printed), expected);
    QCOMPARE(pdfPageCount(pdf), 1);
    // Where the page has it, not moved by the printer's unprintable edge.
    const double left = pdfLines(pdf).value(1).left();
    QVERIFY2(std::abs(left - 54) < 1, qPrintable(QString("the text begins %1 pt from the edge").arg(left)));
}

// With the results window of the last test still open: a print server that takes the
// connection and never answers is given up on at the deadline, and the user told so. A
// Windows message box copies its text with Ctrl+C.
void WindowsPackageTest::frozenPrintServerIsGivenUpAfterTenSeconds()
{
    const QString results = waitForWindow("^Trelvane Analysis$", 1000);
    QVERIFY2(!results.isEmpty(), "the results window is not open");
    QVERIFY(xdotool({"windowactivate", "--sync", results}));
    const qsizetype jobsBefore = server.capturedJobs().size();
    server.freeze();
    const auto thaw = qScopeGuard([&] { server.thaw(); });
    QVERIFY(xdotool({"key", "ctrl+p"}));
    const QString prompt = waitForWindow("^Enter your railroad's name:$");
    QVERIFY2(!prompt.isEmpty(), "the name prompt did not show");
    QVERIFY(xdotool({"windowactivate", "--sync", prompt}));
    QVERIFY(xdotool({"key", "Return"}));
    QElapsedTimer waited;
    waited.start();
    QTRY_COMPARE_WITH_TIMEOUT(windows("^Trelvane Analysis$").size(), 2, 30000);
    const qint64 toldAfter = waited.elapsed();
    const QString told = copy("not printed");
    QVERIFY2(told.contains("The analysis was not printed: the Windows print spooler did not "
                           "answer within 10 seconds."),
             qPrintable(told));
    QVERIFY2(toldAfter >= 9000 && toldAfter <= 14000,
             qPrintable(QString("told after %1 ms").arg(toldAfter)));
    QVERIFY(xdotool({"key", "Escape"}));
    QTRY_COMPARE_WITH_TIMEOUT(windows("^Trelvane Analysis$").size(), 1, 10000);
    // Once the server answers again, the report is printed only if the user was told it
    // might be: given up on before it reached the spooler, it was withdrawn.
    server.thaw();
    const bool mayPrint = told.contains("it may still be printed");
    QTest::qWait(15000);
    QCOMPARE(server.capturedJobs().size(), jobsBefore + (mayPrint ? 1 : 0));
}

QTEST_GUILESS_MAIN(WindowsPackageTest)
#include "windows_package_test.moc"
