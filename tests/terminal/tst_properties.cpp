// The port properties dialog: what it shows of the port, what OK applies
// and stores, and how a refused port or setting leaves things.
#include "Panel.h"
#include "link/SerialChannel.h"
#include "terminal/PortSettingsFields.h"
#include "terminal/TerminalCommands.h"
#include "terminal/frmProperties.h"
#include "ui/QtSerialPort.h"

#include <QAction>
#include <QComboBox>
#include <QRadioButton>
#include <QTest>

namespace {

// The main window on fakes with the terminal commands attached.
struct Rig {
    Panel panel;
    terminal::TerminalCommands commands{panel.window, panel.port, panel.dialogs, panel.settings};

    // A hidden menu entry reads as disabled whatever its state; shown, the
    // entry tells its state.
    Rig() { panel.window.findChild<QAction *>("mnuSendText")->setVisible(true); }

    terminal::frmProperties *open() {
        panel.window.findChild<QAction *>("mnuProperties")->trigger();
        return commands.properties();
    }
    template <typename T> T *in(terminal::frmProperties *dialog, const QString &name) {
        T *child = dialog->findChild<T *>(name);
        if (!child)
            qWarning("no control named %s", qPrintable(name));
        return child;
    }
    void choose(terminal::frmProperties *dialog, const QString &list, const QString &text) {
        auto *box = in<QComboBox>(dialog, list);
        const int at = box->findText(text);
        QVERIFY2(at >= 0, qPrintable(text));
        box->setCurrentIndex(at);
    }
    // Clicks a button where its caption starts (an option button reacts
    // only to clicks on its mark and caption).
    void click(terminal::frmProperties *dialog, const QString &name) {
        auto *button = in<QAbstractButton>(dialog, name);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    }
    QString stored(const char *key) const {
        return panel.settings.value(QStringLiteral("Properties"), QLatin1String(key));
    }
    QStringList warnings() const {
        QStringList out;
        for (const auto &box : panel.dialogs.shown)
            out << box.text;
        return out;
    }
};

QStringList items(QComboBox *box) {
    QStringList out;
    for (int i = 0; i < box->count(); ++i)
        out << box->itemText(i);
    return out;
}

} // namespace

class TestProperties : public QObject {
    Q_OBJECT

private slots:
    void splitsTheSettingsString_data() {
        QTest::addColumn<QString>("settings");
        QTest::addColumn<QString>("speed");
        QTest::addColumn<QString>("parity");
        QTest::addColumn<QString>("dataBits");
        QTest::addColumn<QString>("stopBits");
        QTest::addColumn<int>("parityEntry"); // -1: none selected
        QTest::newRow("design") << "9600,n,8,1"
                                << "9600"
                                << "n"
                                << "8"
                                << "1" << 2;
        QTest::newRow("1.5 stop bits") << "19200,e,7,1.5"
                                       << "19200"
                                       << "e"
                                       << "7"
                                       << "1.5" << 0;
        QTest::newRow("odd, two stop bits") << "115200,o,8,2"
                                            << "115200"
                                            << "o"
                                            << "8"
                                            << "2" << 1;
        QTest::newRow("mark, short speed") << "300,m,5,1"
                                           << "300"
                                           << "m"
                                           << "5"
                                           << "1" << 3;
        QTest::newRow("space") << "110,s,6,1.5"
                               << "110"
                               << "s"
                               << "6"
                               << "1.5" << 4;
        QTest::newRow("upper-case letter selects nothing") << "4800,O,7,1"
                                                           << "4800"
                                                           << "O"
                                                           << "7"
                                                           << "1" << -1;
        QTest::newRow("unknown letter") << "4800,x,7,1"
                                        << "4800"
                                        << "x"
                                        << "7"
                                        << "1" << -1;
        QTest::newRow("empty") << ""
                               << ""
                               << ""
                               << ""
                               << "" << -1;
        QTest::newRow("too short for a speed") << "n,8,1"
                                               << ""
                                               << "n"
                                               << "8"
                                               << "1" << 2;
    }
    void splitsTheSettingsString() {
        QFETCH(QString, settings);
        const auto fields = terminal::PortSettingsFields::split(settings);
        QTEST(fields.speed, "speed");
        QTEST(fields.parity, "parity");
        QTEST(fields.dataBits, "dataBits");
        QTEST(fields.stopBits, "stopBits");
        QTEST(terminal::parityEntryFor(fields.parity), "parityEntry");
    }

    void showsThePortAsItIs_data() {
        QTest::addColumn<QString>("settings");
        QTest::addColumn<int>("port");
        QTest::addColumn<int>("handshaking");
        QTest::addColumn<bool>("echo");
        QTest::addColumn<QStringList>("shown"); // speed, parity, data, stop, port
        QTest::newRow("design") << "9600,n,8,1" << 1 << 0 << false
                                << QStringList{"9600", "None", "8", "1", "Com1"};
        QTest::newRow("1.5 stop bits, last port, both flows, echo")
            << "19200,e,7,1.5" << 16 << 3 << true
            << QStringList{"19200", "Even", "7", "1.5", "Com16"};
        QTest::newRow("odd") << "2400,o,8,2" << 3 << 1 << false
                             << QStringList{"2400", "Odd", "8", "2", "Com3"};
        QTest::newRow("mark, port beyond the list")
            << "128000,m,6,1" << 20 << 2 << true << QStringList{"128000", "Mark", "6", "1", ""};
        QTest::newRow("speed the list lacks")
            << "2000,s,5,1" << 2 << 0 << false << QStringList{"", "Space", "5", "1", "Com2"};
    }
    void showsThePortAsItIs() {
        QFETCH(QString, settings);
        QFETCH(int, port);
        QFETCH(int, handshaking);
        QFETCH(bool, echo);
        QFETCH(QStringList, shown);
        Rig rig;
        QCOMPARE(rig.panel.port.setSettings(settings), QString());
        QCOMPARE(rig.panel.port.setCommPort(port), QString());
        QCOMPARE(rig.panel.port.setHandshaking(handshaking), QString());
        rig.panel.window.EchoEnabled = echo;
        auto *dialog = rig.open();
        QVERIFY(dialog && dialog->isVisible());
        const char *lists[] = {"cboSpeed", "cboParity", "cboDataBits", "cboStopBits", "cboPort"};
        for (int i = 0; i < 5; ++i)
            QCOMPARE(rig.in<QComboBox>(dialog, lists[i])->currentText(), shown[i]);
        QVERIFY(rig.in<QRadioButton>(dialog, QStringLiteral("optFlow%1").arg(handshaking))
                    ->isChecked());
        QVERIFY(rig.in<QRadioButton>(dialog, echo ? "optEcho1" : "optEcho0")->isChecked());
        QCOMPARE(dialog->PendingHandshaking, handshaking);
        QCOMPARE(dialog->PendingEcho, echo);
    }

    void listsAndCaptions() {
        Rig rig;
        auto *dialog = rig.open();
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Velmar-Controller"));
        QVERIFY(dialog->isModal());
        QStringList ports;
        for (int n = 1; n <= 16; ++n)
            ports << QStringLiteral("Com%1").arg(n);
        QCOMPARE(items(rig.in<QComboBox>(dialog, "cboPort")), ports);
        QCOMPARE(items(rig.in<QComboBox>(dialog, "cboSpeed")),
                 (QStringList{"110", "300", "600", "1200", "2400", "4800", "9600", "14400", "19200",
                              "28800", "38400", "56000", "57600", "115200", "128000", "256000"}));
        QCOMPARE(items(rig.in<QComboBox>(dialog, "cboDataBits")),
                 (QStringList{"4", "5", "6", "7", "8"}));
        QCOMPARE(items(rig.in<QComboBox>(dialog, "cboParity")),
                 (QStringList{"Even", "Odd", "None", "Mark", "Space"}));
        QCOMPARE(items(rig.in<QComboBox>(dialog, "cboStopBits")), (QStringList{"1", "1.5", "2"}));
        const QStringList flows{"None", "Xon/Xoff", "RTS", "Xon/RTS"};
        for (int i = 0; i < 4; ++i)
            QCOMPARE(rig.in<QRadioButton>(dialog, QStringLiteral("optFlow%1").arg(i))->text(),
                     flows[i]);
        QCOMPARE(rig.in<QRadioButton>(dialog, "optEcho0")->text(), QStringLiteral("Off"));
        QCOMPARE(rig.in<QRadioButton>(dialog, "optEcho1")->text(), QStringLiteral("On"));
        // The controls that language files relabel.
        for (const char *name : {"Label1", "Frame1", "fraConnection", "Frame5", "cmdCancel"})
            QVERIFY2(dialog->findChild<QWidget *>(name), name);
        // Loading the lists again does not repeat their entries.
        dialog->LoadPropertySettings();
        QCOMPARE(rig.in<QComboBox>(dialog, "cboPort")->count(), 16);
    }

    void okAppliesAndStores_data() {
        QTest::addColumn<QStringList>("choice"); // speed, parity, data, stop
        QTest::addColumn<int>("flow");
        QTest::addColumn<bool>("echo");
        QTest::addColumn<QString>("settings"); // as the port gives it back
        QTest::newRow("odd 7 bits at 4800, echo on")
            << QStringList{"4800", "Odd", "7", "1"} << 2 << true << "4800,o,7,1";
        QTest::newRow("space, two stop bits, echo off")
            << QStringList{"115200", "Space", "8", "2"} << 0 << false << "115200,s,8,2";
        QTest::newRow("mark, 1.5 stop bits, both flows")
            << QStringList{"256000", "Mark", "5", "1.5"} << 3 << true << "256000,m,5,1.5";
    }
    void okAppliesAndStores() {
        QFETCH(QStringList, choice);
        QFETCH(int, flow);
        QFETCH(bool, echo);
        QFETCH(QString, settings);
        Rig rig;
        auto *dialog = rig.open();
        rig.choose(dialog, "cboSpeed", choice[0]);
        rig.choose(dialog, "cboParity", choice[1]);
        rig.choose(dialog, "cboDataBits", choice[2]);
        rig.choose(dialog, "cboStopBits", choice[3]);
        rig.click(dialog, QStringLiteral("optFlow%1").arg(flow));
        rig.click(dialog, echo ? "optEcho1" : "optEcho0");
        rig.click(dialog, "cmdOK");

        QCOMPARE(rig.warnings(), QStringList());
        QCOMPARE(rig.panel.port.Settings(), settings);
        QCOMPARE(rig.panel.port.Handshaking(), flow);
        QCOMPARE(rig.panel.window.EchoEnabled, echo);
        QCOMPARE(rig.stored("Settings"), settings);
        QCOMPARE(rig.stored("CommPort"), QStringLiteral("1"));
        QCOMPARE(rig.stored("Handshaking"), QString::number(flow));
        QCOMPARE(rig.stored("Echo"), echo ? QStringLiteral("True") : QStringLiteral("False"));
        QTRY_VERIFY(!rig.commands.properties()); // unloaded
    }

    void samePortIsNotReopened() {
        Rig rig;
        QCOMPARE(rig.panel.port.setPortOpen(true), QString());
        // A reopen would now fail and leave the port closed.
        rig.panel.port.openError = QStringLiteral("Port already in use");
        auto *dialog = rig.open();
        rig.click(dialog, "cmdOK");
        QCOMPARE(rig.warnings(), QStringList());
        QVERIFY(rig.panel.port.PortOpen());
        QCOMPARE(rig.stored("CommPort"), QStringLiteral("1"));
    }

    void changingThePort_data() {
        QTest::addColumn<bool>("wasOpen");
        QTest::addColumn<QString>("openError");
        QTest::addColumn<int>("portAfter");
        QTest::addColumn<bool>("openAfter");
        QTest::addColumn<bool>("stored");
        QTest::newRow("open port moves and reopens") << true << "" << 5 << true << true;
        QTest::newRow("closed port just changes number") << false << "" << 5 << false << true;
        QTest::newRow("new port cannot be opened")
            << true << "Com5 (/dev/ttyS4): Permission denied" << 1 << false << false;
    }
    void changingThePort() {
        QFETCH(bool, wasOpen);
        QFETCH(QString, openError);
        QFETCH(int, portAfter);
        QFETCH(bool, openAfter);
        QFETCH(bool, stored);
        Rig rig;
        if (wasOpen)
            rig.panel.window.serialChannel().mnuOpen_Click();
        QCOMPARE(rig.panel.port.PortOpen(), wasOpen);
        rig.panel.port.openError = openError;
        auto *dialog = rig.open();
        rig.choose(dialog, "cboPort", "Com5");
        rig.click(dialog, "optEcho1");
        rig.click(dialog, "cmdOK");

        QCOMPARE(rig.panel.port.CommPort(), portAfter);
        QCOMPARE(rig.panel.port.PortOpen(), openAfter);
        QCOMPARE(rig.panel.window.findChild<QAction *>("mnuOpen")->isChecked(), openAfter);
        if (wasOpen)
            QCOMPARE(rig.panel.window.findChild<QAction *>("mnuSendText")->isEnabled(), openAfter);
        // Echo is applied before the port, whatever happens to it.
        QVERIFY(rig.panel.window.EchoEnabled);
        if (stored) {
            QCOMPARE(rig.warnings(), QStringList());
            QCOMPARE(rig.stored("CommPort"), QStringLiteral("5"));
            QTRY_VERIFY(!rig.commands.properties());
        } else {
            QCOMPARE(rig.warnings(), QStringList{openError});
            QCOMPARE(rig.panel.dialogs.shown.first().icon, ui::Dialogs::Icon::Exclamation);
            QVERIFY(rig.panel.settings.values.isEmpty());
            QVERIFY(dialog->isVisible());
            // A second try with a port that opens goes through.
            rig.panel.port.openError.clear();
            rig.choose(dialog, "cboPort", "Com2");
            rig.click(dialog, "cmdOK");
            QCOMPARE(rig.panel.port.CommPort(), 2);
            QCOMPARE(rig.stored("CommPort"), QStringLiteral("2"));
        }
    }

    void cancelChangesNothing() {
        Rig rig;
        rig.panel.window.serialChannel().mnuOpen_Click();
        const QString before = rig.panel.port.Settings();
        auto *dialog = rig.open();
        rig.choose(dialog, "cboPort", "Com7");
        rig.choose(dialog, "cboSpeed", "300");
        rig.choose(dialog, "cboParity", "Mark");
        rig.choose(dialog, "cboDataBits", "5");
        rig.choose(dialog, "cboStopBits", "2");
        rig.click(dialog, "optFlow3");
        rig.click(dialog, "optEcho1");
        rig.click(dialog, "cmdCancel");

        QCOMPARE(rig.panel.port.Settings(), before);
        QCOMPARE(rig.panel.port.CommPort(), 1);
        QCOMPARE(rig.panel.port.Handshaking(), 0);
        QVERIFY(rig.panel.port.PortOpen());
        QVERIFY(!rig.panel.window.EchoEnabled);
        QVERIFY(rig.panel.settings.values.isEmpty());
        QTRY_VERIFY(!rig.commands.properties());
        // The next opening loads afresh.
        QCOMPARE(rig.open()->PendingEcho, false);
    }

    void aPreloadedDialogIsNotLoadedAgain() {
        Rig rig;
        auto *hidden = rig.commands.loadProperties();
        QVERIFY(!hidden->isVisible());
        rig.panel.port.setSettings(QStringLiteral("2400,e,7,1"));
        auto *shown = rig.open();
        QCOMPARE(shown, hidden);
        QCOMPARE(rig.in<QComboBox>(shown, "cboSpeed")->currentText(), QStringLiteral("9600"));
    }

    // The real port adapter refuses what the line cannot do; nothing is
    // stored and the dialog stays for another choice.
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
        frmTerminal window(port, socket, dialogs, settings);
        terminal::TerminalCommands commands(window, port, dialogs, settings);
        window.findChild<QAction *>("mnuProperties")->trigger();
        auto *dialog = commands.properties();
        QVERIFY(dialog);
        auto select = [dialog](const char *list, const QString &text) {
            auto *box = dialog->findChild<QComboBox *>(list);
            box->setCurrentIndex(box->findText(text));
        };
        select("cboDataBits", dataBits);
        select("cboStopBits", stopBits);
        select("cboSpeed", "1200");
        dialog->findChild<QRadioButton *>("optEcho1")->setChecked(true);
        dialog->cmdOK_Click();

        QCOMPARE(dialogs.shown.size(), 1);
        QVERIFY2(dialogs.shown.first().text.contains(refusal), qPrintable(dialogs.shown[0].text));
        QCOMPARE(port.Settings(), QStringLiteral("9600,n,8,1"));
        QVERIFY(settings.values.isEmpty());
        QVERIFY(dialog->isVisible());
        QVERIFY(window.EchoEnabled);
    }
};

QTEST_MAIN(TestProperties)
#include "tst_properties.moc"
