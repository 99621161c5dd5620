// Text-file transmission and the modem commands through the real port
// adapter and a pseudo-terminal: what arrives at the far end, and how a
// cancel, a missing file or a lost port end the transmission.
#include "Fakes.h"
#include "Panel.h"
#include "Pty.h"
#include "app/frmTerminal.h"
#include "link/SerialChannel.h"
#include "terminal/TerminalCommands.h"
#include "terminal/frmCancelSend.h"
#include "ui/QtSerialPort.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace {

// Shown, a menu entry tells its state (hidden it always reads disabled).
void reveal(frmTerminal &window) {
    for (const char *name : {"mnuSendText", "mnuHangUp", "mnuDial", "mnuOpenLog", "mnuCloseLog"})
        window.findChild<QAction *>(name)->setVisible(true);
}

bool entryEnabled(frmTerminal &window, const char *name) {
    return window.findChild<QAction *>(name)->isEnabled();
}

QByteArray someBytes(int size) {
    QByteArray bytes(size, '\0');
    QRandomGenerator generator(size);
    for (char &b : bytes)
        b = static_cast<char>(generator.bounded(256));
    return bytes;
}

QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes) {
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qWarning("cannot write %s", qPrintable(path));
    return path;
}

// The main window on the real adapter, port 1 mapped to a pseudo-terminal.
struct PtyRig {
    Pty pty;
    QTemporaryDir dir;
    fakes::SettingsStore settings;
    std::unique_ptr<ui::QtSerialPort> port;
    fakes::DatagramSocket socket;
    fakes::Dialogs dialogs;
    std::unique_ptr<frmTerminal> window;
    std::unique_ptr<terminal::TerminalCommands> commands;
    QByteArray far;
    QTimer reader;

    PtyRig() {
        settings.setValue("Ports", "Com1", pty.slavePath());
        port = std::make_unique<ui::QtSerialPort>(settings);
        window = std::make_unique<frmTerminal>(*port, socket, dialogs, settings);
        commands = std::make_unique<terminal::TerminalCommands>(*window, *port, dialogs, settings);
        reveal(*window);
        window->serialChannel().mnuOpen_Click();
        // The far end reads while the transmission runs inside its own wait.
        reader.setInterval(5);
        QObject::connect(&reader, &QTimer::timeout, [this] { far += pty.readFar(1 << 30, 0); });
    }
    ~PtyRig() {
        commands.reset();
        window.reset();
    }
    QByteArray farEnd(int atLeast) {
        if (!QTest::qWaitFor([&] { return far.size() >= atLeast; }, 5000))
            qWarning("the far end got %d bytes", int(far.size()));
        far += pty.drainFar(50);
        return far;
    }
};

// Counts the times a window is shown.
struct ShowCounter : QObject {
    int shows = 0;
    bool eventFilter(QObject *, QEvent *event) override {
        if (event->type() == QEvent::Show)
            ++shows;
        return false;
    }
};

} // namespace

class TestTransmit : public QObject {
    Q_OBJECT

private slots:
    void fileArrivesByteForByte_data() {
        QTest::addColumn<int>("size");
        QTest::newRow("shorter than the buffer") << 100;
        QTest::newRow("one byte short of the buffer") << 511;
        QTest::newRow("exactly the buffer") << 512;
        QTest::newRow("one byte over") << 513;
        QTest::newRow("several buffers") << 5 * 512 + 17;
        QTest::newRow("empty") << 0;
    }
    void fileArrivesByteForByte() {
        QFETCH(int, size);
        PtyRig rig;
        QVERIFY(rig.pty.isValid());
        QVERIFY(rig.port->PortOpen());
        QCOMPARE(rig.port->OutBufferSize(), 512);
        const QByteArray bytes = someBytes(size);
        const QString path = writeFile(rig.dir, "send.txt", bytes);
        rig.dialogs.fileNames.enqueue(path);
        ShowCounter counter;
        rig.commands->cancelWindow()->installEventFilter(&counter);
        QString labelWhileRunning;
        bool enabledWhileRunning = true;
        QTimer::singleShot(0, [&] {
            labelWhileRunning = rig.commands->cancelWindow()->Label1()->text();
            enabledWhileRunning = entryEnabled(*rig.window, "mnuSendText");
        });
        rig.reader.start();

        rig.window->findChild<QAction *>("mnuSendText")->trigger();

        QCOMPARE(rig.farEnd(size), bytes);
        QCOMPARE(rig.dialogs.shown.size(), 0);
        QCOMPARE(counter.shows, 1);
        QVERIFY(!rig.commands->cancelWindow()->isVisible());
        QVERIFY(rig.commands->CancelSend);
        QVERIFY(entryEnabled(*rig.window, "mnuSendText"));
        if (size > 0) {
            QCOMPARE(labelWhileRunning, QStringLiteral("Transmitting Text File - ") + path);
            QVERIFY(!enabledWhileRunning);
        }
    }

    void cancelStopsAfterTheBlockInProgress() {
        PtyRig rig;
        // The far end does not read: the line backs up and the output buffer
        // stays full until the operator cancels.
        const QByteArray bytes = someBytes(512 * 1024);
        rig.dialogs.fileNames.enqueue(writeFile(rig.dir, "big.txt", bytes));
        auto *cancelWindow = rig.commands->cancelWindow();
        bool shownWhileRunning = false;
        QTimer::singleShot(300, [&] {
            shownWhileRunning = cancelWindow->isVisible();
            QTest::mouseClick(cancelWindow->findChild<QPushButton *>("Command1"), Qt::LeftButton);
        });

        rig.commands->mnuSendText_Click();

        QVERIFY(shownWhileRunning);
        QVERIFY(!cancelWindow->isVisible());
        QVERIFY(rig.commands->CancelSend);
        QVERIFY(entryEnabled(*rig.window, "mnuSendText"));
        rig.reader.start();
        QTest::qWait(300);
        const QByteArray sent = rig.farEnd(1);
        QVERIFY2(sent.size() < bytes.size(), qPrintable(QString::number(sent.size())));
        QCOMPARE(sent.size() % 512, 0);
        QCOMPARE(sent, bytes.left(sent.size()));
    }

    void cancelWindowLooks() {
        bool cancelSend = false;
        terminal::frmCancelSend window(cancelSend);
        QCOMPARE(window.windowTitle(), QStringLiteral("Velmar"));
        QVERIFY(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(window.findChild<QPushButton *>("Command1")->text(), QStringLiteral("Cancel"));
        QVERIFY(window.findChild<QLabel *>("Label1"));
        // Closing it while a file goes out asks the transmission to stop.
        window.show();
        QVERIFY(!window.close());
        QVERIFY(cancelSend);
        QVERIFY(window.close());
    }

    void hangUpReachesTheModemBeforeTheLineCloses() {
        PtyRig rig;
        rig.dialogs.inputs.enqueue(QStringLiteral("0123456"));
        rig.commands->mnuDial_Click();
        QCOMPARE(rig.pty.readFar(13), QByteArray("ATDT0123456\r\n"));
        QVERIFY(entryEnabled(*rig.window, "mnuHangUp"));

        rig.commands->mnuHangUp_Click();
        QVERIFY(!rig.port->PortOpen());
        QCOMPARE(rig.pty.readFar(3), QByteArray("ATH"));
        QVERIFY(!entryEnabled(*rig.window, "mnuHangUp"));
        QVERIFY(!entryEnabled(*rig.window, "mnuSendText"));
        QVERIFY(entryEnabled(*rig.window, "mnuDial"));
        QVERIFY(!rig.window->findChild<QAction *>("mnuOpen")->isChecked());
        QVERIFY(rig.port->DTREnable());
    }

    // Flow control 3 is RTS/CTS together with Xon/Xoff on the line itself.
    void handshakingReachesTheLine_data() {
        QTest::addColumn<QList<int>>("codes"); // applied in order
        QTest::addColumn<bool>("rtsCts");
        QTest::addColumn<bool>("xonXoff");
        QTest::newRow("none") << QList<int>{0} << false << false;
        QTest::newRow("xon/xoff") << QList<int>{1} << false << true;
        QTest::newRow("rts/cts") << QList<int>{2} << true << false;
        QTest::newRow("both") << QList<int>{3} << true << true;
        QTest::newRow("both, then rts/cts alone") << QList<int>{3, 2} << true << false;
        QTest::newRow("both, then none") << QList<int>{3, 0} << false << false;
    }
    void handshakingReachesTheLine() {
        QFETCH(QList<int>, codes);
        QFETCH(bool, rtsCts);
        QFETCH(bool, xonXoff);
        Pty pty;
        fakes::SettingsStore settings;
        settings.setValue("Ports", "Com1", pty.slavePath());
        ui::QtSerialPort port(settings);
        QCOMPARE(port.setPortOpen(true), QString());
        for (int code : codes)
            QCOMPARE(port.setHandshaking(code), QString());
        const int fd = ::open(pty.slavePath().toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
        QVERIFY(fd >= 0);
        termios tio{};
        QCOMPARE(::tcgetattr(fd, &tio), 0);
        ::close(fd);
        QCOMPARE(bool(tio.c_cflag & CRTSCTS), rtsCts);
        QCOMPARE(bool(tio.c_iflag & IXON), xonXoff);
        QCOMPARE(bool(tio.c_iflag & IXOFF), xonXoff);
    }

    // The same transmission on a fake port, where the output buffer empties
    // only when the test says so.
    void endingsOnAFakePort_data() {
        QTest::addColumn<QStringList>("names"); // "@" stands for the folder
        QTest::addColumn<QString>("event");     // what happens while it runs
        QTest::addColumn<QStringList>("warnings");
        QTest::addColumn<int>("sent");
        QTest::newRow("missing file is named, then asked again")
            << QStringList{"@/missing.txt", "@/file.txt"} << "flows"
            << QStringList{"@/missing.txt not found!"} << 1500;
        QTest::newRow("missing file, then the operator gives up")
            << QStringList{"@/missing.txt"} << "" << QStringList{"@/missing.txt not found!"} << 0;
        QTest::newRow("cancel after the first block")
            << QStringList{"@/file.txt"} << "cancel" << QStringList{} << 512;
        QTest::newRow("port closed from the menu")
            << QStringList{"@/file.txt"} << "close"
            << QStringList{"Operation valid only when the port is open"} << 512;
        QTest::newRow("a folder cannot be read") << QStringList{"@"} << "" << QStringList{"*"} << 0;
    }
    void endingsOnAFakePort() {
        QFETCH(QStringList, names);
        QFETCH(QString, event);
        QFETCH(QStringList, warnings);
        QFETCH(int, sent);
        QTemporaryDir dir;
        const QByteArray bytes = someBytes(1500);
        writeFile(dir, "file.txt", bytes);
        Panel panel;
        terminal::TerminalCommands commands(panel.window, panel.port, panel.dialogs,
                                            panel.settings);
        reveal(panel.window);
        panel.window.serialChannel().mnuOpen_Click();
        for (const QString &name : names)
            panel.dialogs.fileNames.enqueue(QString(name).replace('@', dir.path()));
        // Nothing leaves the buffer on its own, unless the line flows.
        panel.port.outBufferCount = event == QLatin1String("flows") ? 0 : 1;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, this, [&] {
            if (event == QLatin1String("cancel")) {
                QTest::mouseClick(commands.cancelWindow()->findChild<QPushButton *>("Command1"),
                                  Qt::LeftButton);
            } else if (event == QLatin1String("close")) {
                panel.window.findChild<QAction *>("mnuOpen")->trigger();
            }
        });
        ticker.start(20);

        commands.mnuSendText_Click();

        QCOMPARE(panel.takeWritten(), bytes.left(sent));
        QCOMPARE(panel.dialogs.shown.size(), warnings.size());
        for (int i = 0; i < warnings.size(); ++i) {
            if (warnings[i] != QLatin1String("*"))
                QCOMPARE(panel.dialogs.shown[i].text,
                         QString(warnings[i]).replace('@', dir.path()));
            QCOMPARE(panel.dialogs.shown[i].icon, ui::Dialogs::Icon::Exclamation);
        }
        QVERIFY(panel.dialogs.fileNames.isEmpty());
        QVERIFY(entryEnabled(panel.window, "mnuSendText"));
        QVERIFY(commands.CancelSend);
        QVERIFY(!commands.cancelWindow()->isVisible());
    }
};

QTEST_MAIN(TestTransmit)
#include "tst_transmit.moc"
