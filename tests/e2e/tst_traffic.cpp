// The traffic window on the real channels: a command, its status request and
// the switcher's reply on the simulator's serial line; a command, a reply
// and its acknowledgement over UDP on 127.0.0.1; a stranger's datagram
// listed as ignored; and saving what is shown.
#include "Fakes.h"
#include "SimProcess.h"
#include "TestMain.h"
#include "app/Controller.h"
#include "app/Windows.h"
#include "app/frmTerminal.h"
#include "app/frmTraffic.h"
#include "link/Clock.h"
#include "link/Session.h"
#include "ui/QtDatagramSocket.h"
#include "ui/QtSerialPort.h"
#include "ui/SettingsStore.h"

#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QNetworkDatagram>
#include <QPushButton>
#include <QTemporaryDir>
#include <QUdpSocket>

#include <csignal>
#include <sys/resource.h>

namespace {

struct Rig {
    QTemporaryDir dir;
    SimProcess sim{{QStringLiteral("--serial"), dir.filePath(QStringLiteral("tty")),
                    QStringLiteral("--udp"), QStringLiteral("127.0.0.1:0")}};
    ui::IniSettingsStore settings{dir.filePath(QStringLiteral("settings.ini"))};
    ui::QtSerialPort port{settings};
    ui::QtDatagramSocket socket;
    fakes::Dialogs dialogs;
    std::unique_ptr<app::Controller> controller;
    std::unique_ptr<frmTerminal> window;
    app::frmTraffic *traffic = nullptr;

    Rig() {
        if (!sim.said("line ready"))
            return;
        settings.setValue(QStringLiteral("Ports"), QStringLiteral("Com1"),
                          dir.filePath(QStringLiteral("tty")));
        controller = std::make_unique<app::Controller>(
            app::Controller::Platform{port, socket, settings, devicelink::Clock::system()});

        window = std::make_unique<frmTerminal>(*controller, dialogs);
        window->setStorageFolder(dir.path());
        window->Form_Load();
        window->findChild<QPushButton *>("openTraffic")->click();
        traffic = window->windows().traffic.get();
    }
    // Waits until a row shown has all the parts, in order.
    bool listed(const QStringList &parts, int timeoutMs = 3000) {
        return SimProcess::waitUntil(
            [&] {
                traffic->follow();
                for (const QString &line : traffic->shownLines()) {
                    qsizetype at = 0;
                    bool all = true;
                    for (const QString &part : parts) {
                        at = line.indexOf(part, at);
                        if (at < 0) {
                            all = false;
                            break;
                        }
                        at += part.size();
                    }
                    if (all)
                        return true;
                }
                return false;
            },
            timeoutMs);
    }
};

} // namespace

class TestTraffic : public QObject {
    Q_OBJECT
private slots:
    void framesOnTheSerialLine() {
        Rig rig;
        QVERIFY(rig.traffic && rig.traffic->isVisible());
        QCOMPARE(rig.traffic->windowTitle(), QStringLiteral("Traffic"));
        rig.window->findChild<QPushButton *>("C5")->click();
        QVERIFY(rig.listed({"\u2192 sent serial Com1 35 0D", "camera 5"}));
        QVERIFY(rig.listed({"\u2192 sent serial Com1 2E 0D", "status request"}, 2500));
        QVERIFY(rig.listed({"\u2190 received serial Com1", "monitor 1, camera 5"}));
    }

    void framesOverUdp() {
        Rig rig;
        QUdpSocket gateway, stranger;
        QVERIFY(gateway.bind(QHostAddress::LocalHost, 0));
        QVERIFY(stranger.bind(QHostAddress(QStringLiteral("127.0.0.2")), 0));
        rig.socket.setRemotePort(gateway.localPort());
        const QString site = QStringLiteral("127.0.0.1:%1").arg(gateway.localPort());
        rig.window->findChild<QLineEdit *>("IPAD")->setText(QStringLiteral("127.0.0.1"));
        rig.window->findChild<QPushButton *>("C1")->click();
        QVERIFY(rig.listed({"\u2192 sent " + site + " 00 31 0D", "camera 1 (network)"}));
        QTRY_VERIFY(gateway.hasPendingDatagrams());
        const QNetworkDatagram command = gateway.receiveDatagram();
        gateway.writeDatagram(QByteArray("\x01\x01\x20\x80\x00", 5), command.senderAddress(),
                              quint16(command.senderPort()));
        QVERIFY(rig.listed({"\u2190 received " + site, "01 01 20 80 00", "monitor 3, camera 1"}));
        QVERIFY(rig.listed({"\u2192 sent " + site + " 30", "acknowledgement / sign-off"}));
        stranger.writeDatagram(QByteArray("\x01\x01\x40\x08\x00", 5), command.senderAddress(),
                               quint16(command.senderPort()));
        QVERIFY(rig.listed({"\u2190 ignored 127.0.0.2:" + QString::number(stranger.localPort())}));
    }

    // What is saved is exactly what is shown, in order; a file that cannot
    // be written says so once and the list stays whole.
    void savingTheRowsShown() {
        Rig rig;
        for (const char *camera : {"C1", "C2", "C3"})
            rig.window->findChild<QPushButton *>(camera)->click();
        QVERIFY(rig.listed({"camera 3"}));
        rig.traffic->findChild<QComboBox *>("directionFilter")->setCurrentIndex(1); // sent
        const QStringList shown = rig.traffic->shownLines();
        QVERIFY(shown.size() >= 3);
        const QString text = rig.dir.filePath("traffic.txt");
        QVERIFY(rig.traffic->saveTo(text));
        QFile saved(text);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(saved.readAll()), shown.join('\n') + '\n');
        const QString csv = rig.dir.filePath("traffic.csv");
        QVERIFY(rig.traffic->saveTo(csv));
        QFile table(csv);
        QVERIFY(table.open(QIODevice::ReadOnly));
        const QList<QByteArray> records = table.readAll().split('\n');
        // The event log's columns: the date and the origin in every row.
        QCOMPARE(records[0], QByteArray("time,direction,channel,origin,bytes,meaning\r"));
        QVERIFY(records[1].contains(",sent,serial Com1,panel,31 0D,camera 1"));
        QVERIFY(QDateTime::fromString(QString::fromLatin1(records[1].left(24)), Qt::ISODateWithMs)
                    .isValid());

        QVERIFY(!rig.traffic->saveTo(rig.dir.filePath("no such folder/traffic.txt")));
        QCOMPARE(rig.dialogs.shown.size(), 1);
        QVERIFY(rig.dialogs.shown[0].text.startsWith("The traffic could not be saved to "));
        QCOMPARE(rig.traffic->shownLines().mid(0, shown.size()), shown);
    }

    // Save asks before it replaces a file; a disk that refuses the file gets
    // the system's own reason, and no half-written file stays behind.
    void savingAsksAndSaysWhy() {
        Rig rig;
        rig.window->findChild<QPushButton *>("C1")->click();
        QVERIFY(rig.listed({"camera 1"}));
        const QString existing = rig.dir.filePath("kept.txt");
        QFile old(existing);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("mine") == 4);
        old.close();
        rig.dialogs.fileNames << existing;
        rig.dialogs.answers << ui::Dialogs::Answer::No;
        rig.traffic->Save_Click();
        QCOMPARE(rig.dialogs.shown.last().text, existing + " already exists. Replace it?");
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("mine"));

        const QDir folder(rig.dir.filePath("full"));
        QVERIFY(folder.mkpath("."));
        rlimit before{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &before), 0);
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit tiny = before;
        tiny.rlim_cur = 16;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &tiny), 0);
        const bool saved = rig.traffic->saveTo(folder.filePath("traffic.txt"));
        setrlimit(RLIMIT_FSIZE, &before);
        QVERIFY(!saved);
        QVERIFY2(rig.dialogs.shown.last().text.endsWith(": File too large"),
                 qPrintable(rig.dialogs.shown.last().text));
        QVERIFY(folder.entryList(QDir::Files | QDir::Hidden).isEmpty());
    }

    // F5 asks for the status from the traffic window too; its filters are
    // there again when it is opened again.
    void itWorksAsTheMainWindowDoes() {
        Rig rig;
        rig.traffic->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(rig.traffic));
        QTest::keyClick(rig.traffic, Qt::Key_F5);
        QVERIFY(rig.listed({"2E 0D", "status request"}));
        rig.traffic->findChild<QComboBox *>("channelFilter")->setCurrentIndex(2);
        rig.traffic->close();
        QTRY_VERIFY(!rig.window->windows().traffic.get());
        rig.window->findChild<QPushButton *>("openTraffic")->click();
        QCOMPARE(rig.window->windows()
                     .traffic.get()
                     ->findChild<QComboBox *>("channelFilter")
                     ->currentIndex(),
                 2);
    }
};

VELMAR_TEST_MAIN(TestTraffic)
#include "tst_traffic.moc"
