// Thousands of seeded random user events on the real windows: after every event the
// boxes, fields, counters, scale and open windows must still be in a valid state.
// TRELVANE_MONKEY_SEED replays a run; TRELVANE_MONKEY_EVENTS sets its length.
#include "private_cups_server.h"
#include "random_user.h"
#include "window_invariants.h"

#include "forms/frm_input.h"
#include "forms/window_kit.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMap>
#include <QTest>
#include <QTimer>

#include <random>

using namespace trelvane;
using namespace trelvane::test;

namespace {

// Runs the random user one event at a time. Each step schedules the next before it
// acts, so when an event opens a modal window the next step runs inside that window's
// own event loop, as the user's next event would.
class Monkey : public QObject {
public:
    Monkey(frmInput &input, const stdGeneral &session, quint64 seed, int budget)
        : input_(input), session_(session), user_(seed), budget_(budget)
    {
        connect(&watchdog_, &QTimer::timeout, this, [this] {
            if (!finished_ && sinceStep_.elapsed() > 20000) {
                failure_ = "no event for 20 seconds";
                schedule(0); // restarts the steps so that they wind down
            }
        });
    }

    void run()
    {
        QEventLoop loop;
        done_ = [&loop] { loop.quit(); };
        sinceStep_.start();
        watchdog_.start(1000);
        schedule(0);
        loop.exec();
        watchdog_.stop();
    }

    QString failure() const { return failure_; }
    int events() const { return events_; }
    const QMap<QString, int> &visits() const { return visits_; }
    QString recentEvents() const { return recent_.join('\n'); }

private:
    void schedule(int ms) { QTimer::singleShot(ms, this, &Monkey::step); }

    static QWidget *popupOrModal()
    {
        if (QWidget *popup = QApplication::activePopupWidget())
            return popup;
        return QApplication::activeModalWidget();
    }

    void step()
    {
        sinceStep_.restart();
        if (finished_)
            return;
        if (failure_.isEmpty())
            if (const auto broken = brokenInvariant(input_, session_))
                failure_ = QString("after event %1: %2").arg(events_).arg(*broken);
        if (!failure_.isEmpty() || events_ >= budget_) {
            windDown();
            return;
        }
        QWidget *top = popupOrModal();
        if (!top)
            top = &input_;
        // Keys go to the active window only, as they do for a user.
        if (!QApplication::activePopupWidget() && !top->isActiveWindow()) {
            if (++waitsForActive_ > 1000) {
                failure_ = QString("the %1 never became active").arg(top->metaObject()->className());
                windDown();
                return;
            }
            top->activateWindow();
            schedule(1);
            return;
        }
        waitsForActive_ = 0;

        UserEvent event = user_.nextFor(top);
        ++events_;
        ++visits_[top->metaObject()->className()];
        recent_ << QString("%1 [%2] %3").arg(events_).arg(top->metaObject()->className(),
                                                          event.description);
        if (recent_.size() > 40)
            recent_.removeFirst();
        schedule(event.delayMs);
        event.perform();
    }

    // Closes whatever is open on top of the input window, one window a step, then ends.
    void windDown()
    {
        if (QWidget *top = popupOrModal()) {
            if (auto *dialog = qobject_cast<QDialog *>(top))
                dialog->reject();
            else
                top->close();
            schedule(0);
            return;
        }
        if (failure_.isEmpty())
            if (const auto broken = brokenInvariant(input_, session_))
                failure_ = QString("after the last event: %1").arg(*broken);
        finished_ = true;
        done_();
    }

    frmInput &input_;
    const stdGeneral &session_;
    RandomUser user_;
    const int budget_;
    int events_ = 0;
    int waitsForActive_ = 0;
    bool finished_ = false;
    QString failure_;
    QStringList recent_;
    QMap<QString, int> visits_;
    QElapsedTimer sinceStep_;
    QTimer watchdog_;
    std::function<void()> done_;
};

quint64 seedToUse()
{
    bool given = false;
    const quint64 seed = qEnvironmentVariable("TRELVANE_MONKEY_SEED").toULongLong(&given);
    return given ? seed : quint64(std::random_device{}()) << 32 | std::random_device{}();
}

int eventsToRun()
{
    bool given = false;
    const int events = qEnvironmentVariableIntValue("TRELVANE_MONKEY_EVENTS", &given);
    return given && events > 0 ? events : 15000;
}

} // namespace

class MonkeyTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        setBeepHandler([this] { ++beeps; });
        QString error;
        QVERIFY2(server.startForThisProcess(&error), qPrintable(error));
    }

    void randomEventsKeepEveryWindowValid()
    {
        // The printer refuses jobs every other few seconds, so the failure box and its
        // choices come up too.
        QTimer moods;
        bool rejecting = false;
        connect(&moods, &QTimer::timeout, this, [this, &rejecting] {
            QString error;
            rejecting = !rejecting;
            if (!server.run(rejecting ? "cupsreject" : "cupsaccept", {"capture"}, &error))
                qWarning("%s", qPrintable(error));
        });
        moods.start(3000);

        stdGeneral session;
        Main(session);
        frmInput *input = nullptr;
        for (QWidget *window : QApplication::topLevelWidgets())
            if (auto *found = qobject_cast<frmInput *>(window))
                input = found;
        QVERIFY(input);
        QVERIFY(QTest::qWaitForWindowActive(input));

        const quint64 seed = seedToUse();
        const int budget = eventsToRun();
        qInfo("monkey seed %llu, %d events (replay: TRELVANE_MONKEY_SEED=%llu)", seed, budget,
              seed);
        Monkey monkey(*input, session, seed, budget);
        QElapsedTimer clock;
        clock.start();
        monkey.run();

        QStringList seen;
        for (auto it = monkey.visits().begin(); it != monkey.visits().end(); ++it)
            seen << QString("%1 %2").arg(it.key()).arg(it.value());
        moods.stop();
        qInfo("%d events in %lld ms; events per window: %s; %lld reports; %d beeps",
              monkey.events(), clock.elapsed(), qPrintable(seen.join(", ")),
              qlonglong(server.capturedJobs().size()), beeps);
        if (!monkey.failure().isEmpty())
            QFAIL(qPrintable(QString("seed %1 (replay with TRELVANE_MONKEY_SEED=%1): %2\n"
                                     "last events:\n%3")
                                 .arg(seed)
                                 .arg(monkey.failure(), monkey.recentEvents())));
        QCOMPARE(monkey.events(), budget);
        // The run has to reach the modal windows for its checks to mean anything there.
        QVERIFY2(monkey.visits().value("trelvane::frmAnswers") > 0, "no results window opened");
        QVERIFY2(monkey.visits().value("trelvane::frmGetRoad") > 0, "no name prompt opened");
        QVERIFY2(monkey.visits().value("QMessageBox") > 0, "no message box opened");
        input->setAttribute(Qt::WA_DeleteOnClose, false);
        delete input;
    }

private:
    PrivateCupsServer server;
    int beeps = 0;
};

QTEST_MAIN(MonkeyTest)
#include "monkey_test.moc"
