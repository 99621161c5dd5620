// The port properties dialog: what it shows of the port, what OK applies
// and stores, and how a refused port or setting leaves things.
#include "Panel.h"
#include "TestMain.h"
#include "app/Windows.h"
#include "link/SerialChannel.h"
#include "terminal/PortSettingsFields.h"
#include "terminal/frmProperties.h"
#include "ui/QtSerialPort.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

namespace {

// The main window and its port properties dialog.
struct Rig {
    Panel panel;
    ui::SingleWindow<terminal::frmProperties> &properties{panel.window.windows().properties};
    terminal::frmProperties *dialog = nullptr;

    // Shown, a menu entry tells its state (hidden it always reads disabled).
    Rig() { panel.window.findChild<QAction *>("mnuSendText")->setVisible(true); }
    void open() {
        panel.window.findChild<QAction *>("mnuProperties")->trigger();
        dialog = properties.get();
    }
    QComboBox *list(const char *name) { return dialog->findChild<QComboBox *>(name); }
    void choose(const char *name, const QString &text) {
        list(name)->setCurrentIndex(list(name)->findText(text));
    }
    // Clicks a button at its caption (an option button takes no click elsewhere).
    void click(const QString &name) {
        auto *button = dialog->findChild<QAbstractButton *>(name);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    }
    QString stored(const char *key) const { return panel.settings.value("Properties", key); }
};

} // namespace

class TestProperties : public QObject {
    Q_OBJECT

private slots:
    void splitsTheSettingsString_data() {
        QTest::addColumn<QString>("settings");
        QTest::addColumn<QStringList>("fields"); // speed, parity, data bits, stop bits
        QTest::addColumn<int>("parityEntry");    // -1: none selected
        QTest::newRow("design") << "9600,n,8,1" << QStringList{"9600", "n", "8", "1"} << 2;
        QTest::newRow("1.5 stop bits")
            << "19200,e,7,1.5" << QStringList{"19200", "e", "7", "1.5"} << 0;
        QTest::newRow("odd") << "115200,o,8,2" << QStringList{"115200", "o", "8", "2"} << 1;
        QTest::newRow("mark") << "300,m,5,1" << QStringList{"300", "m", "5", "1"} << 3;
        QTest::newRow("upper case selects nothing")
            << "4800,S,7,1" << QStringList{"4800", "S", "7", "1"} << -1;
        QTest::newRow("too short") << "n,8,1" << QStringList{"", "n", "8", "1"} << 2;
        QTest::newRow("empty") << "" << QStringList{"", "", "", ""} << -1;
    }
    void splitsTheSettingsString() {
        QFETCH(QString, settings);
        const auto f = terminal::PortSettingsFields::split(settings);
        QTEST((QStringList{f.speed, f.parity, f.dataBits, f.stopBits}), "fields");
        QTEST(terminal::parityEntryFor(f.parity), "parityEntry");
    }

    void showsThePortAsItIs_data() {
        QTest::addColumn<QString>("settings");
        QTest::addColumn<int>("port");
        QTest::addColumn<int>("flow");
        QTest::addColumn<bool>("echo");
        QTest::addColumn<QStringList>("shown"); // speed, parity, data, stop, port
        QTest::newRow("design") << "9600,n,8,1" << 1 << 0 << false
                                << QStringList{"9600", "None", "8", "1", "Com1"};
        QTest::newRow("1.5 stop bits") << "19200,e,7,1.5" << 16 << 3 << true
                                       << QStringList{"19200", "Even", "7", "1.5", "Com16"};
        QTest::newRow("port beyond the list, speed not listed")
            << "2000,m,6,2" << 20 << 2 << true << QStringList{"", "Mark", "6", "2", ""};
    }
    void showsThePortAsItIs() {
        QFETCH(QString, settings);
        QFETCH(int, port);
        QFETCH(int, flow);
        QFETCH(bool, echo);
        QFETCH(QStringList, shown);
        Rig rig;
        rig.panel.port.setSettings(settings);
        rig.panel.port.setCommPort(port);
        rig.panel.port.setHandshaking(flow);
        rig.panel.window.session().serial().setEchoEnabled(echo);
        rig.open();
        QCOMPARE(rig.dialog->windowTitle(), QStringLiteral("Velmar-Controller"));
        QVERIFY(rig.dialog->isVisible() && rig.dialog->isModal());
        QStringList texts;
        for (const char *name : {"cboSpeed", "cboParity", "cboDataBits", "cboStopBits", "cboPort"})
            texts << rig.list(name)->currentText();
        QCOMPARE(texts, shown);
        QCOMPARE(rig.list("cboPort")->count(), 16);
        QCOMPARE(rig.dialog->PendingHandshaking, flow);
        QCOMPARE(rig.dialog->PendingEcho, echo);
    }

    void okAppliesAndStores_data() {
        QTest::addColumn<QStringList>("choice"); // speed, parity, data, stop
        QTest::addColumn<int>("flow");
        QTest::addColumn<bool>("echo");
        QTest::addColumn<QString>("settings"); // as the port gives it back
        QTest::newRow("odd 7 bits at 4800, echo on")
            << QStringList{"4800", "Odd", "7", "1"} << 2 << true << "4800,o,7,1";
        QTest::newRow("space, 1.5 stop bits, echo off")
            << QStringList{"256000", "Space", "5", "1.5"} << 3 << false << "256000,s,5,1.5";
    }
    void okAppliesAndStores() {
        QFETCH(QStringList, choice);
        QFETCH(int, flow);
        QFETCH(bool, echo);
        QFETCH(QString, settings);
        Rig rig;
        rig.open();
        const char *lists[] = {"cboSpeed", "cboParity", "cboDataBits", "cboStopBits"};
        for (int i = 0; i < 4; ++i)
            rig.choose(lists[i], choice[i]);
        rig.click(QStringLiteral("optFlow%1").arg(flow));
        rig.click(echo ? "optEcho1" : "optEcho0");
        rig.click("cmdOK");

        QVERIFY(rig.panel.dialogs.shown.isEmpty());
        QCOMPARE(rig.panel.port.Settings(), settings);
        QCOMPARE(rig.panel.port.Handshaking(), flow);
        QCOMPARE(rig.panel.window.session().serial().echoEnabled(), echo);
        QCOMPARE((QStringList{rig.stored("Settings"), rig.stored("CommPort"),
                              rig.stored("Handshaking"), rig.stored("Echo")}),
                 (QStringList{settings, "1", QString::number(flow), echo ? "True" : "False"}));
        QTRY_VERIFY(!rig.properties.get()); // unloaded
    }

    // In Italian every label and choice is Italian, and each choice still
    // means what it does in English: "Dispari" is odd parity.
    void inItalianTheChoicesKeepTheirMeaning() {
        Rig rig;
        rig.panel.window.CaricaLingua(QStringLiteral(VELMAR_LANG_DIR "/Italiano.lng"));
        rig.open();
        const auto text = [&](const char *name) {
            return rig.dialog->findChild<QWidget *>(name)->property("text").toString();
        };
        QCOMPARE(text("Label2"), QStringLiteral("Bit di dati:"));
        QCOMPARE(text("Label3"), QStringLiteral("Parità:"));
        QCOMPARE(text("optFlow0"), QStringLiteral("Nessuno"));
        QCOMPARE(text("optEcho1"), QStringLiteral("Attivato"));
        QCOMPARE(rig.dialog->findChild<QGroupBox *>("fraEcho")->title(), QStringLiteral("&Eco"));
        QStringList parities;
        for (int i = 0; i < rig.list("cboParity")->count(); ++i)
            parities << rig.list("cboParity")->itemText(i);
        QCOMPARE(parities, (QStringList{"Pari", "Dispari", "Nessuno", "Mark", "Spazio"}));
        rig.choose("cboSpeed", "4800");
        rig.choose("cboParity", "Dispari");
        rig.choose("cboDataBits", "7");
        rig.choose("cboStopBits", "1");
        rig.click("cmdOK");
        QVERIFY(rig.panel.dialogs.shown.isEmpty());
        QCOMPARE(rig.panel.port.Settings(), QStringLiteral("4800,o,7,1"));
    }

    void changingThePort_data() {
        QTest::addColumn<bool>("wasOpen");
        QTest::addColumn<int>("chosen");
        QTest::addColumn<QString>("openError");
        QTest::addColumn<int>("portAfter");
        QTest::addColumn<bool>("openAfter");
        QTest::newRow("same port is not reopened") << true << 1 << "busy" << 1 << true;
        QTest::newRow("open port moves and reopens") << true << 5 << "" << 5 << true;
        QTest::newRow("closed port only changes number") << false << 5 << "" << 5 << false;
        QTest::newRow("new port cannot be opened")
            << true << 5 << "Com5: Permission denied" << 1 << false;
    }
    void changingThePort() {
        QFETCH(bool, wasOpen);
        QFETCH(int, chosen);
        QFETCH(QString, openError);
        QFETCH(int, portAfter);
        QFETCH(bool, openAfter);
        Rig rig;
        if (wasOpen)
            rig.panel.window.mnuOpen_Click();
        // From here on an open fails with this error (a reopen would show it).
        rig.panel.port.openError = openError;
        rig.open();
        rig.choose("cboPort", QStringLiteral("Com%1").arg(chosen));
        rig.click("optEcho1");
        rig.click("cmdOK");

        QCOMPARE(rig.panel.port.CommPort(), portAfter);
        QCOMPARE(rig.panel.port.PortOpen(), openAfter);
        QCOMPARE(rig.panel.window.findChild<QAction *>("mnuOpen")->isChecked(), openAfter);
        QCOMPARE(rig.panel.window.findChild<QAction *>("mnuSendText")->isEnabled(), openAfter);
        // Echo is applied before the port, whatever happens to it.
        QVERIFY(rig.panel.window.session().serial().echoEnabled());
        const bool failed = portAfter != chosen;
        QCOMPARE(rig.panel.dialogs.shown.size(), failed ? 1 : 0);
        if (failed) {
            QCOMPARE(rig.panel.dialogs.shown.first().text, openError);
            QCOMPARE(rig.panel.dialogs.shown.first().icon, ui::Dialogs::Icon::Exclamation);
            QVERIFY(rig.panel.settings.values.isEmpty());
            QVERIFY(rig.dialog->isVisible());
        } else {
            QCOMPARE(rig.stored("CommPort"), QString::number(chosen));
        }
    }

    void cancelChangesNothing() {
        Rig rig;
        rig.panel.window.mnuOpen_Click();
        rig.open();
        rig.choose("cboPort", "Com7");
        rig.choose("cboSpeed", "300");
        rig.choose("cboParity", "Mark");
        rig.choose("cboDataBits", "5");
        rig.choose("cboStopBits", "2");
        rig.click("optFlow3");
        rig.click("optEcho1");
        rig.click("cmdCancel");

        QCOMPARE(rig.panel.port.Settings(), QStringLiteral("9600,n,8,1"));
        QCOMPARE(rig.panel.port.CommPort(), 1);
        QCOMPARE(rig.panel.port.Handshaking(), 0);
        QVERIFY(rig.panel.port.PortOpen());
        QVERIFY(!rig.panel.window.session().serial().echoEnabled());
        QVERIFY(rig.panel.settings.values.isEmpty());
        QTRY_VERIFY(!rig.properties.get());
    }

    // OK stores only what was applied: a device that would not open, or no
    // port selected (a stored port beyond the list is port 0, which the port
    // refuses), ends OK with the warning, the old port number and the dialog
    // open; settings.ini stays byte for byte, also after the Cancel.
    void refusedOkThenCancelLeaveTheSettingsFile_data() {
        QTest::addColumn<int>("oldPort");
        QTest::addColumn<bool>("withDevice"); // a device present chosen for Com2
        QTest::addColumn<QString>("warning");
        QTest::newRow("device that cannot be opened") << 1 << true << "Com2: device busy";
        QTest::newRow("no port selected, CommPort=20") << 20 << false << "Invalid port number";
    }
    void refusedOkThenCancelLeaveTheSettingsFile() {
        QFETCH(int, oldPort);
        QFETCH(bool, withDevice);
        QFETCH(QString, warning);
        QTemporaryDir dir;
        const QString path = dir.filePath("settings.ini");
        const QByteArray before = "[Properties]\r\nCommPort = " + QByteArray::number(oldPort) +
                                  "\r\n\r\n[ports]\r\ncom1 = /dev/ttyUSB7\r\n";
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(before);
        }
        ui::IniSettingsStore settings(path);
        fakes::SerialPort port;
        fakes::DatagramSocket socket;
        fakes::Dialogs dialogs;
        app::Controller controller{{port, socket, settings, devicelink::Clock::system()}};
        frmTerminal window(controller, dialogs);
        window.setStorageFolder(dir.path());
        port.setCommPort(oldPort);
        window.mnuOpen_Click();
        QVERIFY(port.PortOpen());
        port.openError = "Com2: device busy";
        port.present = {{"/dev/serial/by-id/usb-X_1-if00", "X"}};
        window.findChild<QAction *>("mnuProperties")->trigger();
        terminal::frmProperties *dialog = window.windows().properties.get();
        if (withDevice) {
            auto *list = dialog->findChild<QComboBox *>("cboPort");
            list->setCurrentIndex(list->findText("Com2"));
            QMenu *devices = dialog->findChild<QToolButton *>("cmdMap")->menu();
            emit devices->aboutToShow();
            devices->actions().first()->trigger();
        }
        dialog->cmdOK_Click();

        QCOMPARE(dialogs.shown.size(), 1);
        QCOMPARE(dialogs.shown.first().text, warning);
        QCOMPARE(port.CommPort(), oldPort);
        QVERIFY(!port.PortOpen());
        QCOMPARE(port.devicePath(2), QStringLiteral("Com2")); // not even for this run
        QVERIFY(dialog->isVisible());
        dialog->cmdCancel_Click();
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), before);
    }

    // The real adapter refuses what the line cannot do: nothing is stored
    // and the dialog stays for another choice.
    // Beside the port list, where the chosen port leads; a device present is
    // chosen for it there and kept in [Ports] by OK. The list stays Com1..Com16.
    void portLeadsToADeviceChosenHere() {
        Rig rig;
        rig.panel.port.present = {{"/dev/serial/by-id/usb-FTDI_A12345-if00-port0",
                                   "FT232R USB UART, serial A12345, /dev/ttyUSB0"}};
        rig.panel.window.mnuOpen_Click();
        rig.open();
        rig.choose("cboPort", "Com2");
        auto *device = rig.dialog->findChild<QLabel *>("lblDevice");
        QCOMPARE(device->text(), QStringLiteral("Com2 opens Com2"));
        auto *map = rig.dialog->findChild<QToolButton *>("cmdMap");
        emit map->menu()->aboutToShow();
        const QList<QAction *> offered = map->menu()->actions();
        QCOMPARE(offered.size(), 1);
        QVERIFY(offered[0]->text().contains("FT232R USB UART, serial A12345"));
        offered[0]->trigger();
        QCOMPARE(device->text(),
                 QStringLiteral("Com2 opens /dev/serial/by-id/usb-FTDI_A12345-if00-port0"));
        QCOMPARE(rig.list("cboPort")->count(), 16);
        QCOMPARE(rig.list("cboPort")->itemText(15), QStringLiteral("Com16"));
        rig.dialog->cmdOK_Click();
        QCOMPARE(rig.panel.settings.value("Ports", "Com2"),
                 QStringLiteral("/dev/serial/by-id/usb-FTDI_A12345-if00-port0"));
        QCOMPARE(rig.panel.port.CommPort(), 2);
        QVERIFY(rig.panel.port.PortOpen()); // reopened on its new device
    }

    void refusedSettingsStoreNothing_data() {
        QTest::addColumn<QString>("dataBits");
        QTest::addColumn<QString>("stopBits");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("four data bits") << "4"
                                        << "1"
                                        << "4 data bits";
        QTest::newRow("1.5 stop bits") << "8"
                                       << "1.5"
                                       << "1.5 stop bits";
    }
    void refusedSettingsStoreNothing() {
        QFETCH(QString, dataBits);
        QFETCH(QString, stopBits);
        QFETCH(QString, refusal);
        fakes::SettingsStore settings;
        ui::QtSerialPort port(settings);
        fakes::DatagramSocket socket;
        fakes::Dialogs dialogs;
        app::Controller controller{{port, socket, settings, devicelink::Clock::system()}};
        frmTerminal window(controller, dialogs);
        auto &properties = window.windows().properties;
        auto *dialog = &properties.ensure();
        const auto select = [dialog](const char *list, const QString &text) {
            auto *box = dialog->findChild<QComboBox *>(list);
            box->setCurrentIndex(box->findText(text));
        };
        select("cboDataBits", dataBits);
        select("cboStopBits", stopBits);
        dialog->cmdOK_Click();

        QCOMPARE(dialogs.shown.size(), 1);
        QVERIFY2(dialogs.shown.first().text.contains(refusal), qPrintable(dialogs.shown[0].text));
        QCOMPARE(port.Settings(), QStringLiteral("9600,n,8,1"));
        QVERIFY(settings.values.isEmpty());
        QVERIFY(properties.get());
    }
};

VELMAR_TEST_MAIN(TestProperties)
#include "tst_properties.moc"
