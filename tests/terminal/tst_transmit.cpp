// Text-file transmission and hang-up through the real port adapter and a
// pseudo-terminal, and the endings of a transmission on the fake port.
#include "Panel.h"
#include "Pty.h"
#include "TestMain.h"
#include "link/SerialChannel.h"
#include "terminal/Modem.h"
#include "terminal/Transmission.h"
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

QByteArray someBytes(int size) {
    QByteArray bytes(size, '\0');
    QRandomGenerator generator(size);
    for (char &b : bytes)
        b = static_cast<char>(generator.bounded(256));
    return bytes;
}

QString writeFile(const QTemporaryDir &dir, const QByteArray &bytes) {
    QFile file(dir.filePath("send.txt"));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qWarning("cannot write the file to send");
    return file.fileName();
}

// Shown, a menu entry tells its state (hidden it always reads disabled).
bool entryEnabled(frmTerminal &window, const char *name) {
    auto *entry = window.findChild<QAction *>(name);
    entry->setVisible(true);
    return entry->isEnabled();
}

void clickCancel(terminal::Transmission &commands) {
    QTest::mouseClick(commands.cancelWindow()->findChild<QPushButton *>("Command1"),
                      Qt::LeftButton);
}

// The main window on the real adapter, port 1 mapped to a pseudo-terminal.
struct PtyRig {
    Pty pty;
    QTemporaryDir dir;
    fakes::SettingsStore settings;
    fakes::DatagramSocket socket;
    fakes::Dialogs dialogs;
    std::unique_ptr<ui::QtSerialPort> port;
    std::unique_ptr<app::Controller> controller;
    std::unique_ptr<frmTerminal> window;
    terminal::Transmission *commands = nullptr;

    PtyRig() {
        settings.setValue("Ports", "Com1", pty.slavePath());
        port = std::make_unique<ui::QtSerialPort>(settings);
        controller = std::make_unique<app::Controller>(
            app::Controller::Platform{*port, socket, settings, devicelink::Clock::system()});

        window = std::make_unique<frmTerminal>(*controller, dialogs);
        commands = &window->transmission();
        entryEnabled(*window, "mnuSendText");
        window->mnuOpen_Click();
    }
    ~PtyRig() { window.reset(); }
};

} // namespace

class TestTransmit : public QObject {
    Q_OBJECT

private slots:
    void fileArrivesByteForByte_data() {
        QTest::addColumn<int>("size");
        QTest::newRow("shorter than the buffer") << 100;
        QTest::newRow("exactly the buffer") << 512;
        QTest::newRow("several buffers") << 5 * 512 + 17;
        QTest::newRow("empty") << 0;
    }
    void fileArrivesByteForByte() {
        QFETCH(int, size);
        PtyRig rig;
        QVERIFY(rig.port->PortOpen());
        const QByteArray bytes = someBytes(size);
        const QString path = writeFile(rig.dir, bytes);
        rig.dialogs.fileNames.enqueue(path);
        // The far end reads while the transmission waits for the line.
        QByteArray far;
        QTimer reader;
        connect(&reader, &QTimer::timeout, this, [&] { far += rig.pty.readFar(1 << 30, 0); });
        reader.start(5);
        QString label;
        connect(rig.port.get(), &ui::SerialPort::BytesWritten, this,
                [&] { label = rig.commands->cancelWindow()->Label1()->text(); });

        rig.window->findChild<QAction *>("mnuSendText")->trigger();

        QTRY_COMPARE(far, bytes);
        QCOMPARE(rig.pty.drainFar(50), QByteArray()); // no pad byte after the end
        QVERIFY(rig.dialogs.shown.isEmpty());
        QVERIFY(!rig.commands->cancelWindow()->isVisible());
        QVERIFY(rig.commands->CancelSend);
        QVERIFY(entryEnabled(*rig.window, "mnuSendText"));
        if (size > 0)
            QCOMPARE(label, QStringLiteral("Transmitting Text File - ") + path);
    }

    // A file of a few blocks that leave at once still lets the window's
    // events run while it goes out: the cancel window answers its button.
    void aShortFileLetsEventsRun() {
        QTemporaryDir dir;
        Panel panel;
        panel.window.mnuOpen_Click();
        panel.dialogs.fileNames.enqueue(writeFile(dir, someBytes(3 * 512)));
        bool ranWhileSending = false;
        QTimer::singleShot(0, this, [&] {
            ranWhileSending = panel.window.transmission().cancelWindow()->isVisible();
            clickCancel(panel.window.transmission());
        });
        panel.window.transmission().mnuSendText_Click();
        QVERIFY(ranWhileSending);
        QCOMPARE(panel.takeWritten().size(), 512); // cancelled after the first block
    }

    void cancelStopsAfterTheBlockInProgress() {
        PtyRig rig;
        // The far end does not read: the line backs up and the output stays
        // queued until the operator cancels.
        const QByteArray bytes = someBytes(512 * 1024);
        rig.dialogs.fileNames.enqueue(writeFile(rig.dir, bytes));
        bool shownWhileRunning = false;
        QTimer later;
        later.setSingleShot(true);
        connect(&later, &QTimer::timeout, this, [&] {
            shownWhileRunning = rig.commands->cancelWindow()->isVisible();
            clickCancel(*rig.commands);
        });
        later.start(300);

        rig.commands->mnuSendText_Click();

        QVERIFY(shownWhileRunning);
        QVERIFY(!rig.commands->cancelWindow()->isVisible());
        QVERIFY(entryEnabled(*rig.window, "mnuSendText"));
        QByteArray far;
        QTRY_VERIFY((far += rig.pty.drainFar(100)).size() > 0 && rig.port->OutBufferCount() == 0);
        far += rig.pty.drainFar(100);
        QVERIFY(far.size() < bytes.size());
        QCOMPARE(far.size() % 512, 0);
        QCOMPARE(far, bytes.left(far.size()));
    }

    void hangUpReachesTheModemBeforeTheLineCloses() {
        PtyRig rig;
        rig.dialogs.inputs.enqueue(QStringLiteral("0123456"));
        rig.window->modem().mnuDial_Click();
        QCOMPARE(rig.pty.readFar(13), QByteArray("ATDT0123456\r\n"));
        QVERIFY(entryEnabled(*rig.window, "mnuHangUp"));

        rig.window->modem().mnuHangUp_Click();

        QCOMPARE(rig.pty.readFar(3), QByteArray("ATH"));
        QVERIFY(!rig.port->PortOpen());
        QVERIFY(rig.port->DTREnable());
        QVERIFY(!entryEnabled(*rig.window, "mnuHangUp"));
        QVERIFY(!entryEnabled(*rig.window, "mnuSendText"));
        QVERIFY(entryEnabled(*rig.window, "mnuDial"));
        QVERIFY(!rig.window->findChild<QAction *>("mnuOpen")->isChecked());
    }

    // Handshaking 3 is RTS/CTS together with Xon/Xoff on the line itself.
    void handshakingReachesTheLine_data() {
        QTest::addColumn<QList<int>>("codes"); // applied in order
        QTest::addColumn<bool>("rtsCts");
        QTest::addColumn<bool>("xonXoff");
        QTest::newRow("xon/xoff") << QList<int>{1} << false << true;
        QTest::newRow("rts/cts") << QList<int>{2} << true << false;
        QTest::newRow("both") << QList<int>{3} << true << true;
        QTest::newRow("both, then rts/cts alone") << QList<int>{3, 2} << true << false;
        QTest::newRow("both, then none") << QList<int>{3, 0} << false << false;
    }
    void handshakingReachesTheLine() {
        QFETCH(QList<int>, codes);
        Pty pty;
        fakes::SettingsStore settings;
        settings.setValue("Ports", "Com1", pty.slavePath());
        ui::QtSerialPort port(settings);
        QCOMPARE(port.setPortOpen(true), QString());
        for (int code : codes)
            QCOMPARE(port.setHandshaking(code), QString());
        const int fd = ::open(pty.slavePath().toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
        termios tio{};
        QCOMPARE(::tcgetattr(fd, &tio), 0);
        ::close(fd);
        QTEST(bool(tio.c_cflag & CRTSCTS), "rtsCts");
        QTEST(bool(tio.c_iflag & IXON) && bool(tio.c_iflag & IXOFF), "xonXoff");
    }

    // On the fake port the output buffer empties only when a row says so.
    void endings_data() {
        QTest::addColumn<QStringList>("names"); // "@" stands for the folder
        QTest::addColumn<QString>("event");     // what happens while it runs
        QTest::addColumn<QString>("warning");
        QTest::addColumn<int>("sent");
        QTest::newRow("missing file is named, then asked again")
            << QStringList{"@/missing.txt", "@/send.txt"} << "flows"
            << "@/missing.txt not found!" << 1500;
        QTest::newRow("cancel after the first block") << QStringList{"@/send.txt"} << "cancel"
                                                      << "" << 512;
        QTest::newRow("cancel window closed") << QStringList{"@/send.txt"} << "close window"
                                              << "" << 512;
        QTest::newRow("port closed from the menu")
            << QStringList{"@/send.txt"} << "close port"
            << "Operation valid only when the port is open" << 512;
    }
    void endings() {
        QFETCH(QStringList, names);
        QFETCH(QString, event);
        QFETCH(QString, warning);
        QFETCH(int, sent);
        QTemporaryDir dir;
        const QByteArray bytes = someBytes(1500);
        writeFile(dir, bytes);
        Panel panel;
        auto &commands = panel.window.transmission();
        panel.window.mnuOpen_Click();
        for (const QString &name : names)
            panel.dialogs.fileNames.enqueue(QString(name).replace('@', dir.path()));
        panel.port.outBufferCount = event == QLatin1String("flows") ? 0 : 1;
        // A timer of this row only: it must not fire into the next one.
        QTimer during;
        during.setSingleShot(true);
        connect(&during, &QTimer::timeout, this, [&] {
            if (event == QLatin1String("cancel"))
                clickCancel(commands);
            else if (event == QLatin1String("close window"))
                commands.cancelWindow()->close();
            else if (event == QLatin1String("close port"))
                panel.window.findChild<QAction *>("mnuOpen")->trigger();
        });
        during.start(50);

        commands.mnuSendText_Click();

        QCOMPARE(panel.takeWritten(), bytes.left(sent));
        QStringList shown;
        for (const auto &box : panel.dialogs.shown)
            shown << box.text;
        QCOMPARE(shown,
                 warning.isEmpty() ? QStringList() : QStringList{warning.replace('@', dir.path())});
        QVERIFY(panel.dialogs.fileNames.isEmpty());
        QVERIFY(entryEnabled(panel.window, "mnuSendText"));
        QVERIFY(commands.CancelSend);
        QVERIFY(!commands.cancelWindow()->isVisible());
    }
};

VELMAR_TEST_MAIN(TestTransmit)
#include "tst_transmit.moc"
