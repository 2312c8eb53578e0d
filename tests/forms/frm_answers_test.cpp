// The results window on its own: its design state, its keys, the printing message and
// its timer, and long result texts. Print reaches a printer of the test's own.
#include "modal_windows.h"
#include "private_cups_server.h"

#include "analysis/session_state.h"
#include "forms/frm_answers.h"
#include "forms/frm_get_road.h"
#include "forms/result_label.h"
#include "forms/window_kit.h"

#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QHelpEvent>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolTip>

#include <memory>

using namespace trelvane;

class FrmAnswersTest : public QObject {
    Q_OBJECT

private:
    stdGeneral m_session;
    std::unique_ptr<QWidget> m_owner;
    QPointer<frmAnswers> m_answers;
    test::PrivateCupsServer m_server;
    int m_prints = 0; // name prompts answered with OK
    test::PendingModal m_confirming;

    void open()
    {
        m_answers = new frmAnswers(m_session, m_owner.get());
        m_answers->open();
        QVERIFY(QTest::qWaitForWindowActive(m_answers));
    }

    // Answers the next name prompt with OK, counting it as a print.
    void confirmNextPrint()
    {
        m_confirming = test::onNextModal<frmGetRoad>([this](frmGetRoad *prompt) {
            ++m_prints;
            QTest::mouseClick(prompt->cmdOK, Qt::LeftButton);
        });
    }

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale::c());
        QString error;
        QVERIFY2(m_server.startForThisProcess(&error), qPrintable(error));
    }

    void init()
    {
        m_prints = 0;
        confirmNextPrint();
        m_owner = std::make_unique<QWidget>();
        m_owner->setGeometry(150, 200, 503, 273);
        m_owner->show();
        open();
    }

    void cleanup()
    {
        m_confirming.cancel();
        m_owner.reset();
    }

    void shouldHaveDefaultValue()
    {
        QCOMPARE(m_answers->windowTitle(), QString("Trelvane Analysis"));
        QCOMPARE(m_answers->size(), QSize(385, 335));
        QVERIFY(!(m_answers->windowFlags() & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(m_answers->windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(m_answers->windowFlags() & Qt::WindowCloseButtonHint);
        QVERIFY(m_answers->minimumSize() != m_answers->maximumSize()); // sizable
        QVERIFY(!m_answers->windowIcon().isNull());
        QCOMPARE(m_answers->lblPassSug->text(), QString("Passing Siding Suggestion"));
        QCOMPARE(m_answers->lblBasis->text(), QString("Based on........"));
        QCOMPARE(m_answers->lblMed->text(), QString("Medium Session"));
        QCOMPARE(m_answers->lblWarn->text(),
                 QString("Warning!  Operation may not be satisfactory using these figures unless "
                         "functional trackage is redesigned."));
        QVERIFY(m_answers->lblWarn->isVisible());
        QVERIFY(!m_answers->lblMessage->isVisible());
        QCOMPARE(m_answers->lblMessage->text(), QString("Sending analysis to printer"));
        QVERIFY(m_answers->lblMessage->font().bold());
        QVERIFY(!m_answers->tmrMsgTimer->isActive());
        QCOMPARE(m_answers->tmrMsgTimer->interval(), 2000);
        QVERIFY(m_answers->cmdOK->isDefault());
        QCOMPARE(m_answers->cmdOK->toolTip(), QString("Return to program"));
        QCOMPARE(m_answers->cmdPrint->toolTip(), QString("Print the analysis"));
        QCOMPARE(QApplication::focusWidget(), m_answers->cmdOK);
        // Centred over the window that opened it.
        QCOMPARE(m_answers->geometry().center(), m_owner->geometry().center());
    }

    void warningStandsOut_data()
    {
        QTest::addColumn<QColor>("window");
        QTest::addColumn<QColor>("text");
        QTest::newRow("the default scheme") << QColor() << QColor();
        QTest::newRow("qt6ct's darker scheme") << QColor(0x22, 0x20, 0x20) << QColor(Qt::white);
        QTest::newRow("high contrast, black with white and yellow")
            << QColor(Qt::black) << QColor(Qt::white);
    }

    // Red of the design, readable (WCAG's 4.5:1) on its own background in any scheme, also
    // when the scheme changes while the window is open.
    void warningStandsOut()
    {
        QFETCH(QColor, window);
        QFETCH(QColor, text);
        const QPalette before = QApplication::palette();
        const auto restore = qScopeGuard([&] { QApplication::setPalette(before); });
        if (window.isValid()) {
            QPalette scheme = before;
            scheme.setColor(QPalette::Window, window);
            scheme.setColor(QPalette::WindowText, text);
            scheme.setColor(QPalette::Base, window);
            scheme.setColor(QPalette::Text, QColor(Qt::yellow));
            QApplication::setPalette(scheme);
            // The windows hear of a new scheme through the event loop.
            QTRY_COMPARE(m_answers->palette().color(QPalette::Window), window);
        }
        QLabel *warn = m_answers->lblWarn;
        const QColor ink = warn->palette().color(QPalette::WindowText);
        const QColor paper = warn->palette().color(QPalette::Window);
        const double ratio = contrastRatio(ink, paper);
        qInfo("warning %s on %s: %.2f:1", qPrintable(ink.name()), qPrintable(paper.name()), ratio);
        QVERIFY2(ratio >= 4.5, qPrintable(QString("contrast %1:1").arg(ratio)));
        QCOMPARE(ink.hslHue(), 0);
        QVERIFY(paper.red() >= paper.green() && paper.red() >= paper.blue());
        QVERIFY(warn->autoFillBackground());
        QVERIFY(warn->wordWrap());
        QCOMPARE(warn->alignment(), Qt::AlignCenter);
        // Two lines fit in its 33 pixels.
        QVERIFY(warn->heightForWidth(warn->width()) <= warn->height());
        const QImage drawn = warn->grab().toImage();
        QCOMPARE(QColor(drawn.pixel(1, 1)), paper);
    }

    void keys_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QKeyCombination>("key");
        QTest::addColumn<bool>("closes");
        QTest::addColumn<int>("prints");

        QTest::newRow("Enter on OK closes") << "cmdOK" << QKeyCombination(Qt::Key_Return) << true << 0;
        QTest::newRow("keypad Enter on OK closes") << "cmdOK" << QKeyCombination(Qt::Key_Enter) << true << 0;
        QTest::newRow("Space on OK closes") << "cmdOK" << QKeyCombination(Qt::Key_Space) << true << 0;
        QTest::newRow("Esc on OK closes") << "cmdOK" << QKeyCombination(Qt::Key_Escape) << true << 0;
        QTest::newRow("Esc on Print closes") << "cmdPrint" << QKeyCombination(Qt::Key_Escape) << true << 0;
        QTest::newRow("Enter on Print prints") << "cmdPrint" << QKeyCombination(Qt::Key_Return) << false << 1;
        QTest::newRow("Space on Print prints") << "cmdPrint" << QKeyCombination(Qt::Key_Space) << false << 1;
        QTest::newRow("Ctrl+P on OK prints, as Print does")
            << "cmdOK" << (Qt::CTRL | Qt::Key_P) << false << 1;
    }

    void keys()
    {
        QFETCH(QString, focus);
        QFETCH(QKeyCombination, key);
        QFETCH(bool, closes);
        QFETCH(int, prints);

        QSignalSpy finished(m_answers.data(), &QDialog::finished);
        auto *button = m_answers->findChild<QPushButton *>(focus);
        button->setFocus();
        QTest::keyClick(button, key.key(), key.keyboardModifiers());

        QCOMPARE(m_answers->isVisible(), !closes);
        QCOMPARE(finished.size(), closes ? 1 : 0);
        QCOMPARE(m_prints, prints);
    }

    void contextMenuOpens_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("right click on a result") << "click";
        QTest::newRow("the Menu key") << "menu";
        QTest::newRow("Shift+F10") << "shift+F10";
    }

    // The same menu every time, so a screen reader finds its items every time.
    void contextMenuOpens()
    {
        QFETCH(QString, how);
        if (how == "click") {
            QWidget *line = m_answers->lblStorSug;
            QContextMenuEvent click(QContextMenuEvent::Mouse, line->rect().center(),
                                    line->mapToGlobal(line->rect().center()));
            QApplication::sendEvent(line, &click);
        } else if (how == "menu") {
            // What the window system makes of the Menu key, sent to the focused button.
            QContextMenuEvent key(QContextMenuEvent::Keyboard, QPoint(),
                                  m_answers->cmdOK->mapToGlobal(QPoint()));
            QApplication::sendEvent(m_answers->cmdOK, &key);
        } else {
            QTest::keyClick(m_answers->cmdOK, Qt::Key_F10, Qt::ShiftModifier);
        }
        QTRY_VERIFY(m_answers->mnuAnalysis->isVisible());
        QStringList items;
        for (QAction *item : m_answers->mnuAnalysis->actions())
            if (!item->isSeparator())
                items << item->text() + (item->shortcut().isEmpty()
                                             ? QString()
                                             : " " + item->shortcut().toString());
        QCOMPARE(items, QStringList({"Copy Analysis Ctrl+C", "Print Ctrl+P",
                                     "Print on Another Printer\u2026", "Print Preview\u2026",
                                     "Save as PDF\u2026 Ctrl+S"}));
        QCOMPARE(m_answers->findChildren<QMenu *>().size(), 1);
        m_answers->mnuAnalysis->close();
    }

    void closeBoxCloses()
    {
        QSignalSpy finished(m_answers.data(), &QDialog::finished);
        QVERIFY(m_answers->close());
        QCOMPARE(finished.size(), 1);
        QVERIFY(!m_answers->isVisible());
    }

    void tabOrder()
    {
        QCOMPARE(QApplication::focusWidget(), m_answers->cmdOK);
        QTest::keyClick(m_answers, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), m_answers->cmdPrint);
        QTest::keyClick(m_answers, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), m_answers->cmdOK);
    }

    void timerEndsThePrintingMessage()
    {
        QElapsedTimer clock;
        clock.start();
        QTest::mouseClick(m_answers->cmdPrint, Qt::LeftButton);
        QVERIFY(m_answers->lblMessage->isVisible());
        QVERIFY(m_answers->tmrMsgTimer->isActive());

        QTRY_VERIFY_WITH_TIMEOUT(!m_answers->lblMessage->isVisible(), 4000);
        QVERIFY2(clock.elapsed() >= 1900, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(!m_answers->tmrMsgTimer->isActive()); // one tick, then it stops itself
        QVERIFY(m_answers->isVisible());
    }

    void closingWhileTheMessageShows()
    {
        QTest::mouseClick(m_answers->cmdPrint, Qt::LeftButton);
        QVERIFY(m_answers->lblMessage->isVisible());
        QTest::keyClick(m_answers, Qt::Key_Escape);
        QVERIFY(!m_answers->isVisible());
        delete m_answers;

        open();
        m_confirming.cancel();
        QVERIFY(!m_answers->lblMessage->isVisible());
        QVERIFY(!m_answers->tmrMsgTimer->isActive());
    }

    void aFailedPrintLeavesTheWindowOpen()
    {
        m_server.stop();
        QString reported;
        const test::PendingModal telling = test::onNextModal<QMessageBox>([&reported](QMessageBox *box) {
            reported = box->text();
            QTest::mouseClick(box->findChild<QPushButton *>("cmdClose"), Qt::LeftButton);
        });
        QTest::mouseClick(m_answers->cmdPrint, Qt::LeftButton);
        QString error;
        QVERIFY2(m_server.start(&error), qPrintable(error));
        QVERIFY2(reported.startsWith("The analysis was not printed"), qPrintable(reported));
        QCOMPARE(m_prints, 1);
        QVERIFY(m_answers->isVisible());
        QVERIFY(!m_answers->lblMessage->isVisible());
    }

    void longTextsStayReadable_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("shortened");
        QTest::newRow("a long storage suggestion")
            << "Use a max. of 160 cars in service, or add 40 ft. of storage track." << true;
        QTest::newRow("a short one") << "Use a max. of 160 cars in service." << false;
    }

    void longTextsStayReadable()
    {
        QFETCH(QString, text);
        QFETCH(bool, shortened);

        auto *label = qobject_cast<ResultLabel *>(m_answers->lblStorSug);
        QVERIFY(label);
        label->setText(text);
        QCOMPARE(label->text(), text); // the report prints the caption as it stands
        QCOMPARE(label->isElided(), shortened);

        const QPoint inside(10, label->height() / 2);
        QHelpEvent help(QEvent::ToolTip, inside, label->mapToGlobal(inside));
        QApplication::sendEvent(label, &help);
        QCOMPARE(QToolTip::isVisible() ? QToolTip::text() : QString(),
                 shortened ? text : QString());
        QToolTip::hideText();
    }
};

QTEST_MAIN(FrmAnswersTest)
#include "frm_answers_test.moc"
