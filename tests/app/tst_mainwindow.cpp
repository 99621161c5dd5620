// The main window on fake platform parts: start-up, the send path on both
// channels, the terminal box and its log, and shutdown.
#include "Panel.h"
#include "TestMain.h"
#include "app/LinkStatusBar.h"
#include "app/TerminalBox.h"
#include "events/EventStore.h"
#include "link/Operations.h"
#include "link/SerialChannel.h"
#include "remote/VideohubServer.h"
#include "ui/Timer.h"

#include <QAction>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using Answer = ui::Dialogs::Answer;

class TestMainWindow : public QObject {
    Q_OBJECT

    static void openPort(Panel &p) {
        p.window.Form_Load();
        QVERIFY(p.port.PortOpen());
    }

private slots:
    void designOfTheWindow() {
        Panel p;
        QCOMPARE(p.window.windowTitle(), QStringLiteral("Velmar-Controller"));
        QCOMPARE(p.find<QLineEdit>("IPAD")->text(), QStringLiteral("0.0.0.0"));
        const struct {
            const char *name;
            int interval;
            bool enabled;
        } timers[] = {{"Timer3", 1000, true},    {"Timer5", 4000, true},
                      {"TimerMove", 1000, true}, {"Timer4", 800, false},
                      {"TimerPan", 500, false},  {"TimerTilt", 500, false},
                      {"TimerSet", 100, false},  {"TimerStore", 200, false}};
        for (const auto &t : timers) {
            auto *timer = p.find<ui::Timer>(QLatin1String(t.name));
            QVERIFY(timer);
            QCOMPARE(timer->interval(), t.interval);
            QCOMPARE(timer->isEnabled(), t.enabled);
        }
        // Entries hidden in the design stay out of sight.
        for (const char *hidden : {"mnuOpenLog", "mnuCloseLog", "mnuSendText", "mnuHangUp",
                                   "mnuMSComm", "Mon", "mnuCall", "Mon1"}) {
            auto *action = p.find<QAction>(QLatin1String(hidden));
            QVERIFY2(action && !action->isVisible(), hidden);
        }
        const QStringList bar = [&] {
            QStringList out;
            for (QAction *a : p.window.menuBar()->actions())
                if (a->isVisible())
                    out << a->text();
            return out;
        }();
        QCOMPARE(bar, QStringList({"&File", "&CommPort", "&Sets texts of Velmar-Controller",
                                   "&About", "&Language", "&JoyStick", "<=>"}));
    }

    void startupWithoutStoredSettings() {
        Panel p;
        p.window.Form_Load();
        QCOMPARE(p.port.CommPort(), 1);
        QCOMPARE(p.port.Settings(), QStringLiteral("9600,n,8,1"));
        QVERIFY(!p.window.session().serial().echoEnabled());
        QVERIFY(p.port.PortOpen());
        QVERIFY(p.find<QAction>("mnuOpen")->isChecked());
        QVERIFY(p.dialogs.shown.isEmpty());
        QCOMPARE(p.socket.RemoteHost(), QStringLiteral("0.0.0.0"));
    }

    void startupAppliesStoredSettings() {
        Panel p;
        p.settings.setValue("Properties", "Settings", "19200,e,7,2");
        p.settings.setValue("Properties", "CommPort", "3");
        p.settings.setValue("Properties", "Handshaking", "2");
        p.settings.setValue("Properties", "Echo", "True");
        p.window.Form_Load();
        QCOMPARE(p.port.Settings(), QStringLiteral("19200,e,7,2"));
        QCOMPARE(p.port.CommPort(), 3);
        QCOMPARE(p.port.Handshaking(), 2);
        QVERIFY(p.window.session().serial().echoEnabled());
    }

    void startupEndsEarlyOnARejectedSetting_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::newRow("settings") << "Settings"
                                  << "9600,x,8,1";
        QTest::newRow("handshaking") << "Handshaking"
                                     << "7";
    }
    void startupEndsEarlyOnARejectedSetting() {
        QFETCH(QString, key);
        QFETCH(QString, value);
        Panel p;
        p.settings.setValue("Properties", key, value);
        p.settings.setValue("Properties", "Echo", "True");
        p.window.Form_Load();
        QCOMPARE(p.dialogs.shown.size(), 1);
        QCOMPARE(p.dialogs.shown[0].icon, ui::Dialogs::Icon::Exclamation);
        QCOMPARE(p.dialogs.shown[0].text,
                 key == "Settings" ? QStringLiteral("Invalid port settings \"9600,x,8,1\"")
                                   : QStringLiteral("Invalid property value"));
        QVERIFY(!p.port.PortOpen());
        QVERIFY(!p.find<QAction>("mnuOpen")->isChecked());
        QVERIFY(p.window.startupEndedEarly());
    }

    void ignoredStoredValues() {
        Panel p;
        p.settings.setValue("Properties", "CommPort", "999");
        p.settings.setValue("Properties", "Echo", "maybe");
        p.window.Form_Load();
        QCOMPARE(p.port.CommPort(), 1);
        QVERIFY(!p.window.session().serial().echoEnabled());
        QVERIFY(p.dialogs.shown.isEmpty());
    }

    void portThatCannotOpenWarnsAndStartupGoesOn() {
        Panel p;
        p.port.openError = QStringLiteral("Com1 (/dev/ttyS0): Permission denied");
        p.window.Form_Load();
        QCOMPARE(p.dialogs.shown.size(), 1);
        QCOMPARE(p.dialogs.shown[0].text, p.port.openError);
        QVERIFY(!p.find<QAction>("mnuOpen")->isChecked());
        QVERIFY(!p.window.startupEndedEarly());
    }

    void portOpenToggles() {
        Panel p;
        p.window.Form_Load();
        auto *mnuOpen = p.find<QAction>("mnuOpen");
        mnuOpen->trigger();
        QVERIFY(!p.port.PortOpen());
        QVERIFY(!mnuOpen->isChecked());
        mnuOpen->trigger();
        QVERIFY(p.port.PortOpen());
        QVERIFY(mnuOpen->isChecked());
    }

    void sendPathOnBothChannels_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QByteArray>("serial");
        QTest::addColumn<QByteArray>("datagram"); // empty: nothing sent
        QTest::newRow("status request")
            << "2E" << QByteArray("\x2E\r") << QByteArray("\x00\x2E\r", 3);
        QTest::newRow("value 0") << "0" << QByteArray("\x00\r", 2) << QByteArray("\x00\x00\r", 3);
        QTest::newRow("byte, not text")
            << "B4" << QByteArray("\xB4\r") << QByteArray("\x00\xB4\r", 3);
        QTest::newRow("above 255: CR only") << "100" << QByteArray("\r") << QByteArray();
        QTest::newRow("no such code") << "2e" << QByteArray() << QByteArray();
        QTest::newRow("empty code") << "" << QByteArray() << QByteArray();
    }
    void sendPathOnBothChannels() {
        QFETCH(QString, code);
        QFETCH(QByteArray, serial);
        QFETCH(QByteArray, datagram);
        Panel p;
        openPort(p);
        p.window.session().Invio(code, {});
        QCOMPARE(p.takeWritten(), serial);
        QVERIFY(p.socket.sent.isEmpty());

        p.selectSite(QStringLiteral("10.1.2.3"));
        p.window.session().Invio(code, {});
        QCOMPARE(p.takeWritten(), QByteArray());
        const auto sent = p.takeDatagrams();
        QCOMPARE(sent, datagram.isEmpty() ? QList<QByteArray>() : QList<QByteArray>{datagram});
        if (commandValueIsValid(code))
            QCOMPARE(p.socket.RemoteHost(), QStringLiteral("10.1.2.3"));
    }

    void addressTextSelectsTheChannelExactly_data() {
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("serial");
        QTest::newRow("marker") << "0.0.0.0" << true;
        QTest::newRow("marker and blank") << "0.0.0.0 " << false;
        QTest::newRow("empty") << "" << false;
    }
    void addressTextSelectsTheChannelExactly() {
        QFETCH(QString, address);
        QFETCH(bool, serial);
        Panel p;
        openPort(p);
        p.selectSite(address);
        p.window.session().Invio(QStringLiteral("31"), {});
        QCOMPARE(p.takeWritten().isEmpty(), !serial);
    }

    void closedPortSendsNothing() {
        Panel p;
        p.window.session().Invio(QStringLiteral("31"), {});
        QCOMPARE(p.takeWritten(), QByteArray());
        QCOMPARE(p.find<app::TerminalBox>("txtTerm")->terminalText(), QString());
    }

    // The bar says once what the operator should know and did not do: a
    // click that could not leave, a route refused by a lock, and a monitor
    // changed by another source.
    void theBarSaysWhatDidNotHappen() {
        Panel p;
        app::LinkStatusBar &bar = p.window.linkStatusBar();
        p.click(QStringLiteral("C5"));
        QCOMPARE(bar.currentMessage(), "Not sent: the port is closed");
        openPort(p);
        devicelink::Operations &ops = p.window.session().operations();
        const devicelink::Origin client{devicelink::Origin::Kind::Videohub,
                                        QStringLiteral("10.0.0.7:5000")};
        ops.route(2, 7, client);
        QCOMPARE(bar.currentMessage(), "Monitor 2 <- camera 7 by videohub 10.0.0.7:5000");
        ops.lockMonitor(3, {devicelink::Origin::Kind::Alarm, QStringLiteral("4")});
        p.click(QStringLiteral("M3"));
        p.click(QStringLiteral("C1"));
        QCOMPARE(bar.currentMessage(), "Monitor 3 is locked by alarm 4");
        QCOMPARE(p.takeWritten(), serialFrames({"52", "37", "53"}));
    }

    void command1SendsTheTypedCodeAlone() {
        Panel p;
        openPort(p);
        p.find<ui::Timer>("Timer3")->setEnabled(false);
        QTest::keyClicks(p.find<QLineEdit>("Text1"), QStringLiteral("31"));
        p.click(QStringLiteral("Command1"));
        QCOMPARE(p.takeWritten(), QByteArray("1\r"));
        QVERIFY(!p.find<ui::Timer>("Timer3")->isEnabled());
        // Enter in the box sends it too.
        QTest::keyClick(p.find<QLineEdit>("Text1"), Qt::Key_Return);
        QCOMPARE(p.takeWritten(), QByteArray("1\r"));
    }

    void typedKeysAndEcho_data() {
        QTest::addColumn<bool>("echo");
        QTest::newRow("echo off") << false;
        QTest::newRow("echo on") << true;
    }
    void typedKeysAndEcho() {
        QFETCH(bool, echo);
        Panel p;
        p.settings.setValue("Properties", "Echo", echo ? "True" : "False");
        openPort(p);
        auto *box = p.find<app::TerminalBox>("txtTerm");
        QTest::keyClick(box, Qt::Key_X);
        QTest::keyClick(box, Qt::Key_Return);
        QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(p.takeWritten(), QByteArray("x\r\b\x03"));
        QCOMPARE(box->terminalText(), echo ? QStringLiteral("x\x03") : QString());
        // Commands never show in the box, echo or not.
        p.window.session().Invio(QStringLiteral("31"), {});
        QCOMPARE(box->terminalText(), echo ? QStringLiteral("x\x03") : QString());
    }

    void receivedTextIsShownAndDecoded() {
        Panel p;
        openPort(p);
        auto *box = p.find<app::TerminalBox>("txtTerm");
        p.port.receive("A\r\nB");
        p.port.receive("x\ny");
        p.port.receive("\bC");
        QCOMPARE(box->terminalText(), QStringLiteral("A\r\nBxC"));
        QCOMPARE(box->toPlainText(), QStringLiteral("A\nBxC"));
    }

    void inputLenLimitsOneEvent() {
        Panel p;
        openPort(p);
        p.port.setInputLen(2);
        p.port.receive("abcd");
        QCOMPARE(p.find<app::TerminalBox>("txtTerm")->terminalText(), QStringLiteral("ab"));
    }

    void logGetsTheFilteredText() {
        Panel p;
        openPort(p);
        QTemporaryDir dir;
        const QString path = dir.filePath("log.txt");
        QCOMPARE(p.window.session().log().open(path, false), QString());
        p.port.receive("A\nB\rC\bD");
        p.window.session().log().close();
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("AB\r\nD"));
    }

    void logWriteFailureRetryThenCancel() {
        Panel p;
        openPort(p);
        QCOMPARE(p.window.session().log().open(QStringLiteral("/dev/full"), true), QString());
        p.dialogs.answers << Answer::Retry << Answer::Cancel;
        p.port.receive("hello");
        // Asked after the receive handler, not inside it.
        QCOMPARE(p.dialogs.shown.size(), 0);
        QTRY_COMPARE(p.dialogs.shown.size(), 2);
        for (const auto &box : p.dialogs.shown) {
            QCOMPARE(box.buttons, ui::Dialogs::Buttons::RetryCancel);
            QCOMPARE(box.icon, ui::Dialogs::Icon::Critical);
            QVERIFY(!box.text.isEmpty());
        }
        QVERIFY(!p.window.session().log().isOpen());
        QCOMPARE(p.window.windowTitle(), QStringLiteral("Serial Terminal"));
        QCOMPARE(p.find<app::TerminalBox>("txtTerm")->terminalText(), QStringLiteral("hello"));
        p.port.receive("more");
        QTest::qWait(50);
        QCOMPARE(p.dialogs.shown.size(), 2);
    }

    // A lost device is a background event: no box, the bar says it, and the
    // routing shown is marked as from before the loss once the port is back.
    void lostDeviceIsNoBox() {
        Panel p;
        openPort(p);
        p.port.receive(QByteArray("\x01\x40\x08\x00", 4));
        p.port.loseLink(QStringLiteral("Com1 (/dev/ttyUSB0): device gone"));
        QVERIFY(!p.find<QAction>("mnuOpen")->isChecked());
        p.window.linkStatusBar().refresh();
        QVERIFY(p.window.linkStatusBar().shownText().startsWith("Lost since "));
        p.window.session().Invio(QStringLiteral("31"), {});
        QCOMPARE(p.takeWritten(), QByteArray());
        p.window.mnuOpen_Click();
        p.window.linkStatusBar().refresh();
        QVERIFY2(p.window.linkStatusBar().shownText().contains("(from before the loss)"),
                 qPrintable(p.window.linkStatusBar().shownText()));
        QTest::qWait(20);
        QCOMPARE(p.dialogs.shown.size(), 0);
    }

    // A bar with little room (the Videohub's and the event log's notes shown,
    // a long device path, the window at its default size): the state word
    // stays whole, the channel keeps its name and the answer its time and its
    // mark; what is cut is in the tooltips.
    void theBarKeepsItsWordsWhenNarrow() {
        Panel p;
        const QString device = "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A12345-if00-port0";
        p.port.chooseDevice(1, device);
        openPort(p);
        p.port.receive(QByteArray("\x01\x40\x08\x00", 4));
        p.port.loseLink(QStringLiteral("Com1 (%1): device gone").arg(device));
        p.window.mnuOpen_Click();
        app::LinkStatusBar &bar = p.window.linkStatusBar();
        bar.setSideNote("videohubState", "Videohub: 12", "clients");
        bar.setSideNote("eventLogState", "Event log not written", "why", true);
        p.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&p.window));
        bar.refresh();
        QCoreApplication::processEvents();
        const auto shown = [&](const char *name) {
            return bar.findChild<QLabel *>(QLatin1String(name))->text();
        };
        QCOMPARE(shown("linkState"), QStringLiteral("Open"));
        QVERIFY2(shown("linkChannel").startsWith("Serial Com1"), qPrintable(shown("linkChannel")));
        QVERIFY2(bar.shownText().contains(device), qPrintable(bar.shownText())); // whole inside
        const QString answer = shown("linkAnswer");
        QVERIFY2(QRegularExpression("\\d\\d:\\d\\d:\\d\\d \\(from before the loss\\)$")
                     .match(answer)
                     .hasMatch(),
                 qPrintable(answer));
        QVERIFY(
            bar.findChild<QLabel *>("linkAnswer")->toolTip().contains("(from before the loss)"));
    }

    void shutdownOnTheNetworkSignsOff() {
        Panel p;
        p.window.Form_Load();
        p.selectSite(QStringLiteral("10.1.2.3"));
        bool cancel = false;
        p.window.Form_Unload(cancel);
        QVERIFY(!cancel);
        QCOMPARE(p.takeDatagrams(), QList<QByteArray>{QByteArray("0")});
        QCOMPARE(p.socket.RemoteHost(), QStringLiteral("10.1.2.3"));
        QVERIFY(!p.find<ui::Timer>("Timer3")->isEnabled());
        QVERIFY(!p.find<ui::Timer>("Timer5")->isEnabled());
        QVERIFY(!p.port.PortOpen());
        QVERIFY(p.window.ended());
    }

    void shutdownWithAnEmptyBufferClosesAtOnce() {
        Panel p;
        openPort(p);
        p.window.mnuFileExit_Click();
        QVERIFY(p.dialogs.shown.isEmpty());
        QVERIFY(!p.port.PortOpen());
        QVERIFY(p.window.ended());
    }

    void shutdownWaitsForTheLineToDrain() {
        Panel p;
        openPort(p);
        p.window.setDrainTimeout(5000);
        p.port.outBufferCount = 10;
        QTimer::singleShot(50, &p.port, [&] { p.port.drain(); });
        p.window.mnuFileExit_Click();
        QVERIFY(p.dialogs.shown.isEmpty());
        QVERIFY(p.window.ended());
    }

    void undrainedOutputAsksAbortRetryIgnore() {
        Panel p;
        openPort(p);
        p.window.setDrainTimeout(20);
        p.port.outBufferCount = 10;

        p.dialogs.answers << Answer::Abort;
        p.window.mnuFileExit_Click();
        QCOMPARE(p.dialogs.shown.size(), 1);
        QCOMPARE(p.dialogs.shown[0].text, QStringLiteral("Data cannot be sent"));
        QCOMPARE(p.dialogs.shown[0].buttons, ui::Dialogs::Buttons::AbortRetryIgnore);
        QCOMPARE(p.dialogs.shown[0].icon, ui::Dialogs::Icon::Question);
        QVERIFY(!p.window.ended());
        QVERIFY(p.port.PortOpen());

        // Exit again: the wait starts over; Retry waits once more, Ignore closes.
        p.dialogs.answers << Answer::Retry << Answer::Ignore;
        p.window.mnuFileExit_Click();
        QCOMPARE(p.dialogs.shown.size(), 3);
        QVERIFY(p.window.ended());
        QVERIFY(!p.port.PortOpen());
    }

    // The driver's queue empties without a signal: the drain sees it within
    // its next look, not at the end of its deadline.
    void theDrainEndsWhenTheBytesHaveLeft() {
        Panel p;
        openPort(p);
        p.window.setDrainTimeout(10000);
        p.port.outBufferCount = 10;
        QTimer::singleShot(100, &p.port, [&] { p.port.outBufferCount = 0; });
        QElapsedTimer waited;
        waited.start();
        p.window.mnuFileExit_Click();
        QVERIFY(p.window.ended());
        QVERIFY2(waited.elapsed() < 2000, qPrintable(QString::number(waited.elapsed())));
    }

    // Whatever ends the program, a held button lets go first: its stop code
    // leaves on the channel in use, before the sign-off and the port's close;
    // ended by a signal, no box is shown even when the line does not drain.
    void aCameraNeverOutlivesTheProgram_data() {
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("signal");
        QTest::newRow("serial, Exit") << "0.0.0.0" << false;
        QTest::newRow("site, Exit") << "10.1.2.3" << false;
        QTest::newRow("serial, SIGTERM, a line that never drains") << "0.0.0.0" << true;
    }
    void aCameraNeverOutlivesTheProgram() {
        QFETCH(QString, address);
        QFETCH(bool, signal);
        Panel p;
        openPort(p);
        p.selectSite(address);
        p.takeWritten();
        QTest::mousePress(p.find<QWidget>("up"), Qt::LeftButton);
        if (signal) {
            p.window.setDrainTimeout(50);
            p.port.outBufferCount = 10;
            p.window.endOnSignal();
        } else {
            p.window.mnuFileExit_Click();
        }
        QVERIFY(p.window.ended());
        QVERIFY(p.dialogs.shown.isEmpty());
        if (address == "0.0.0.0") {
            // (Events run while the line drains: the panel's timers may add more.)
            QVERIFY(p.takeWritten().startsWith(serialFrames({"64", "65"})));
            QVERIFY(!p.port.PortOpen());
        } else {
            QCOMPARE(p.takeDatagrams(),
                     (QList<QByteArray>{QByteArray("\x00\x64\r", 3), QByteArray("\x00\x65\r", 3),
                                        QByteArray("0")}));
        }
    }

    // A signal while a start-up box is up ends the program once the box has
    // gone: the start-up stops there, the port is never opened, and the
    // program's end runs as it does for any signal.
    void aSignalDuringAStartUpBoxEndsTheProgram() {
        Panel p;
        p.port.mapping = QStringLiteral("settings.ini, [Ports]: Com99=/dev/null names no port");
        p.dialogs.whileShown = [&] { p.window.endOnSignal(); };
        p.window.Form_Load();
        QCOMPARE(p.dialogs.shown.size(), 1);
        QVERIFY(p.window.ended());
        QVERIFY(!p.port.PortOpen());
        QVERIFY(!p.window.isVisible());
        QCOMPARE(p.window.videohub().state(), remote::VideohubServer::State::Off);
    }

    // An event log that cannot be written is named on the bar until it is
    // written again, and then the bar says that it is.
    void theBarSaysWhenTheEventLogIsWrittenAgain() {
        Panel p;
        const QString blocked = p.storagePath("state");
        QFile blocker(blocked);
        QVERIFY(blocker.open(QIODevice::WriteOnly)); // a file where the log's folder goes
        blocker.close();
        events::EventTiming timing;
        timing.retryMs = 50;
        events::EventStore store(blocked + "/velmar-controller/events.sqlite", {}, timing);
        p.window.attachEventLog(store);
        auto *note = p.find<QLabel>("eventLogState");
        QVERIFY(note);
        QTRY_VERIFY(!note->isHidden());
        QCOMPARE(note->text(), QStringLiteral("Event log not written"));
        QVERIFY(blocker.remove());
        QTRY_VERIFY(note->isHidden());
        QCOMPARE(p.window.linkStatusBar().currentMessage(),
                 QStringLiteral("The event log is written again"));
    }

    void closingTheWindowRunsTheSameShutdown() {
        Panel p;
        openPort(p);
        p.window.show();
        p.window.setDrainTimeout(20);
        p.port.outBufferCount = 1;
        p.dialogs.answers << Answer::Abort;
        QVERIFY(!p.window.close());
        QVERIFY(p.window.isVisible());
        p.dialogs.answers << Answer::Ignore;
        QVERIFY(p.window.close());
        QVERIFY(p.window.ended());
    }

private:
    static bool commandValueIsValid(const QString &code) {
        return code == "2E" || code == "0" || code == "B4" || code == "100";
    }
};

VELMAR_TEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
