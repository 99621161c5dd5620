// The network channel and its polls on the loopback: the real UDP adapter
// against a gateway socket standing in for the remote site.
#include "Fakes.h"
#include "TestMain.h"
#include "app/Controller.h"
#include "app/LinkStatusBar.h"
#include "app/frmTerminal.h"
#include "link/Clock.h"
#include "link/CommandSink.h"
#include "link/LinkMonitor.h"
#include "link/Session.h"
#include "link/StatusPolls.h"
#include "ui/ColourButton.h"
#include "ui/QtDatagramSocket.h"
#include "ui/Timer.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QNetworkDatagram>
#include <QPushButton>
#include <QTest>
#include <QUdpSocket>

namespace {
const QColor lit(0, 192, 0);
}

// The network channel on the loopback: the real UDP adapter against a
// gateway socket standing in for the remote site.
class TestNetwork : public QObject {
    Q_OBJECT

    struct Rig {
        fakes::SerialPort port;
        ui::QtDatagramSocket socket;
        fakes::Dialogs dialogs;
        fakes::SettingsStore settings;
        QUdpSocket gateway;
        app::Controller controller{{port, socket, settings, devicelink::Clock::system()}};
        frmTerminal window{controller, dialogs};
        QHostAddress panelAddress;
        quint16 panelPort = 0;

        Rig() {
            gateway.bind(QHostAddress::LocalHost, 0);
            socket.setRemotePort(gateway.localPort());
            window.Form_Load();
            // The start-up polls would land in the middle of what a test reads.
            window.session().polls().Timer3().setEnabled(false);
            window.session().polls().Timer5().setEnabled(false);
            window.findChild<QLineEdit *>("IPAD")->setText(QStringLiteral("127.0.0.1"));
        }
        QList<QByteArray> received(int atLeast, int waitMs = 3000) {
            QList<QByteArray> out;
            (void)QTest::qWaitFor(
                [&] {
                    while (gateway.hasPendingDatagrams()) {
                        const QNetworkDatagram d = gateway.receiveDatagram();
                        panelAddress = d.senderAddress();
                        panelPort = static_cast<quint16>(d.senderPort());
                        out.append(d.data());
                    }
                    return out.size() >= atLeast;
                },
                waitMs);
            return out;
        }
        void reply(const QByteArray &datagram) {
            gateway.writeDatagram(datagram, panelAddress, panelPort);
        }
        ui::ColourButton *button(const char *name) {
            return window.findChild<ui::ColourButton *>(QLatin1String(name));
        }
    };

private slots:
    // The bar below the panel: a site that answers shows its routing; a site
    // picked next that never answers gets "no reply" within 2.5 s of Ask
    // status, and the routing still lit is marked as the previous site's.
    void theBarSaysWhoAnswers() {
        Rig rig;
        auto &bar = rig.window.linkStatusBar();
        const auto shown = [&bar] {
            bar.refresh();
            return bar.shownText();
        };
        QTRY_VERIFY(
            shown().startsWith("Remote site | 127.0.0.1 (UDP 2000) | no routing reply yet"));
        rig.window.show();
        rig.window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&rig.window));
        QTest::keyClick(&rig.window, Qt::Key_F5);
        QCOMPARE(rig.received(1), (QList<QByteArray>{"1.\r"}));
        rig.reply(QByteArray("\x01\x01\x40\x08\x00", 5));
        QTRY_VERIFY(shown().contains(" | routing from 127.0.0.1:"));
        QCOMPARE(rig.window.linkMonitor().level(), devicelink::LinkMonitor::Level::Good);

        rig.window.findChild<QLineEdit *>("IPAD")->setText(QStringLiteral("127.0.0.2"));
        QElapsedTimer asked;
        asked.start();
        bar.askStatus()->click();
        QTRY_VERIFY_WITH_TIMEOUT(shown().contains("no reply to the status request of "), 2500);
        QVERIFY(asked.elapsed() <= 2500);
        QVERIFY(shown().contains("routing from 127.0.0.1:"));
        QVERIFY(shown().endsWith("(the previous channel)"));
        QCOMPARE(rig.window.linkMonitor().level(), devicelink::LinkMonitor::Level::Warning);
        QVERIFY(rig.button("C5")->face() == lit); // the colours stay as the reply left them
        QVERIFY(rig.dialogs.shown.isEmpty());
    }

    void selectionThenStatusRequest() {
        Rig rig;
        QTest::mouseClick(rig.button("C1"), Qt::LeftButton);
        QCOMPARE(rig.received(1), QList<QByteArray>{QByteArray("\x00\x31\r", 3)});
        rig.window.session().Timer3_Timer();
        QCOMPARE(rig.received(1), QList<QByteArray>{QByteArray("\x31\x2E\r")});
        QCOMPARE(rig.port.written, QByteArray());
    }

    // A datagram is a lead byte followed by the switcher's reply, which has
    // a lead byte of its own.
    void repliesAreDecodedAndAcknowledged() {
        Rig rig;
        rig.window.session().Invio(QStringLiteral("51"), {});
        QCOMPARE(rig.received(1).size(), 1);
        const QColor background = rig.window.palette().color(QPalette::Window);
        rig.button("C5")->setFace(lit);

        // Characters 0, 128, 0: monitor 1, no camera named.
        rig.reply(QByteArray("\x01\x00\x80\x00", 4));
        QCOMPARE(rig.received(1), QList<QByteArray>{QByteArray("0")});
        QCOMPARE(rig.button("M1")->face(), lit);
        QCOMPARE(rig.button("C5")->face(), lit);

        rig.reply(QByteArray("\x01\x00\x40\x00\x01", 5));
        QCOMPARE(rig.received(1), QList<QByteArray>{QByteArray("0")});
        QCOMPARE(rig.button("C16")->face(), lit);
        QCOMPARE(rig.button("C5")->face(), background);
        QCOMPARE(rig.button("M2")->face(), lit);
        QCOMPARE(rig.button("M1")->face(), background);

        // A lone lead byte: an empty reply, still acknowledged.
        rig.reply(QByteArray("\x01", 1));
        QCOMPARE(rig.received(1), QList<QByteArray>{QByteArray("0")});
        QCOMPARE(rig.button("M1")->face(), lit);
        QCOMPARE(rig.button("C16")->face(), lit);
    }

    void strangersAreIgnored() {
        Rig rig;
        rig.window.session().Invio(QStringLiteral("51"), {});
        QCOMPARE(rig.received(1).size(), 1);
        QUdpSocket stranger;
        QVERIFY(stranger.bind(QHostAddress(QStringLiteral("127.0.0.2")), 0));
        stranger.writeDatagram(QByteArray("\x01\x00\x80\x00", 4), rig.panelAddress, rig.panelPort);
        QTest::qWait(200);
        QVERIFY(rig.received(1, 200).isEmpty());
        QVERIFY(rig.button("C1")->face() != lit);
    }

    void wholeStoreSequenceOnRealTimers() {
        Rig rig;
        rig.window.findChild<QCheckBox *>("store")->setChecked(true);
        QElapsedTimer clock;
        clock.start();
        QTest::mouseClick(rig.window.findChild<QWidget *>("p12"), Qt::LeftButton);
        QList<QByteArray> got;
        QList<qint64> at;
        (void)QTest::qWaitFor(
            [&] {
                for (const QByteArray &d : rig.received(0, 0)) {
                    got.append(d);
                    at.append(clock.elapsed());
                }
                return got.size() >= 5;
            },
            5000);
        const QList<QByteArray> expected{QByteArray("\x00\xF7\r", 3), QByteArray("\x00\x5D\r", 3),
                                         QByteArray("\x00\x3C\r", 3), QByteArray("\x00\xF8\r", 3),
                                         QByteArray("\x00\x5E\r", 3)};
        QCOMPARE(got, expected);
        // One code every 200 ms; a generous band, as the machine may be busy.
        for (int i = 0; i < at.size(); ++i) {
            QVERIFY2(at[i] >= 200 * (i + 1) - 20, qPrintable(QString::number(at[i])));
            QVERIFY2(at[i] <= 200 * (i + 1) + 400, qPrintable(QString::number(at[i])));
        }
    }
};

VELMAR_TEST_MAIN(TestNetwork)
#include "tst_network.moc"
