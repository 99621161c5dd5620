#include "terminal/frmProperties.h"

#include "config/LanguageHost.h"
#include "link/SerialChannel.h"
#include "terminal/PortProfile.h"
#include "terminal/PortSettingsFields.h"
#include "ui/Dialogs.h"
#include "ui/PlainText.h"
#include "ui/Retranslator.h"
#include "ui/SerialPort.h"
#include "ui/SettingsStore.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace terminal {

namespace {

const char *const speeds[] = {"110",   "300",    "600",    "1200",  "2400",  "4800",
                              "9600",  "14400",  "19200",  "28800", "38400", "56000",
                              "57600", "115200", "128000", "256000"};
const char *const dataBits[] = {"4", "5", "6", "7", "8"};
const char *const stopBits[] = {"1", "1.5", "2"};
// Shown in the language in use.
const char *const flowCaptions[] = {QT_TRANSLATE_NOOP("terminal::frmProperties", "None"),
                                    QT_TRANSLATE_NOOP("terminal::frmProperties", "Xon/Xoff"),
                                    QT_TRANSLATE_NOOP("terminal::frmProperties", "RTS"),
                                    QT_TRANSLATE_NOOP("terminal::frmProperties", "Xon/RTS")};
const char *const echoCaptions[] = {QT_TRANSLATE_NOOP("terminal::frmProperties", "Off"),
                                    QT_TRANSLATE_NOOP("terminal::frmProperties", "On")};

template <typename T> T *named(T *widget, const char *name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QComboBox *list(const char *name) {
    auto *box = named(new QComboBox, name);
    box->setEditable(false);
    return box;
}

// Shows a text in a list that only takes its own entries: a text the list
// does not hold leaves it without a selection.
void showText(QComboBox *box, const QString &text) {
    box->setCurrentIndex(box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive));
}

} // namespace

frmProperties::frmProperties(config::LanguageHost &language, ui::SerialPort &port,
                             devicelink::SerialChannel &serial, ui::Dialogs &dialogs,
                             ui::SettingsStore &settings, QWidget *parent)
    : QDialog(parent)
    , m_language(language)
    , m_port(port)
    , m_serial(serial)
    , m_dialogs(dialogs)
    , m_settings(settings) {
    setObjectName(QStringLiteral("frmProperties"));
    setWindowTitle(QStringLiteral("Velmar-Controller"));
    setModal(true);
    buildControls();
}

void frmProperties::buildControls() {
    m_tabSettings = named(new QTabWidget(this), "tabSettings");
    m_fraSettings = named(new QWidget, "fraSettings");
    m_tabSettings->addTab(m_fraSettings, QString());

    m_cboPort = list("cboPort");
    auto *portLabel = named(new QLabel(QStringLiteral("Port:")), "Label1");
    portLabel->setBuddy(m_cboPort);

    auto *speedFrame = named(new QGroupBox(QStringLiteral("Maximum Speed")), "Frame1");
    m_cboSpeed = list("cboSpeed");
    (new QVBoxLayout(speedFrame))->addWidget(m_cboSpeed);

    auto *connection =
        named(new QGroupBox(QStringLiteral("Connection Preferences")), "fraConnection");
    m_cboDataBits = list("cboDataBits");
    m_cboParity = list("cboParity");
    m_cboStopBits = list("cboStopBits");
    auto *connectionGrid = new QGridLayout(connection);
    const auto addRow = [connectionGrid](int row, const char *name, QComboBox *box) {
        auto *label = named(new QLabel, name);
        label->setBuddy(box);
        connectionGrid->addWidget(label, row, 0);
        connectionGrid->addWidget(box, row, 1);
        return label;
    };
    QLabel *dataBitsLabel = addRow(0, "Label2", m_cboDataBits);
    QLabel *parityLabel = addRow(1, "Label3", m_cboParity);
    QLabel *stopBitsLabel = addRow(2, "Label4", m_cboStopBits);

    auto *flowFrame = named(new QGroupBox(QStringLiteral("&Flow Control")), "Frame5");
    auto *flowLayout = new QVBoxLayout(flowFrame);
    for (int i = 0; i < 4; ++i) {
        m_optFlow[i] = new QRadioButton;
        m_optFlow[i]->setObjectName(QStringLiteral("optFlow%1").arg(i));
        flowLayout->addWidget(m_optFlow[i]);
        // Setting a button by code runs the handler too, as a click does.
        connect(m_optFlow[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                optFlow_Click(i);
        });
    }

    auto *echoFrame = named(new QGroupBox, "fraEcho");
    auto *echoLayout = new QVBoxLayout(echoFrame);
    for (int i = 0; i < 2; ++i) {
        m_optEcho[i] = new QRadioButton;
        m_optEcho[i]->setObjectName(QStringLiteral("optEcho%1").arg(i));
        echoLayout->addWidget(m_optEcho[i]);
        connect(m_optEcho[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                optEcho_Click(i);
        });
    }

    // Where the chosen port leads, and a way to lead it to a device present.
    m_lblDevice = named(ui::plainLabel(new QLabel), "lblDevice");
    m_lblDevice->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_cmdMap = named(new QToolButton, "cmdMap");
    ui::Retranslator::keep(this, [this] {
        m_tabSettings->setTabText(0, tr("Settings"));
        m_lblDevice->setToolTip(tr("The device this port opens ([Ports] in settings.ini)"));
        m_cmdMap->setText(tr("Device..."));
        m_cmdMap->setToolTip(tr("Leads this port to one of the serial devices present"));
        showDevice();
    });
    m_cmdMap->setPopupMode(QToolButton::InstantPopup);
    auto *devices = new QMenu(m_cmdMap);
    devices->setObjectName(QStringLiteral("mnuDevices"));
    m_cmdMap->setMenu(devices);
    connect(devices, &QMenu::aboutToShow, this, &frmProperties::offerDevices);
    connect(m_cboPort, &QComboBox::currentIndexChanged, this, &frmProperties::showDevice);
    auto *device = new QHBoxLayout;
    device->addWidget(m_lblDevice, 1);
    device->addWidget(m_cmdMap);

    auto *grid = new QGridLayout(m_fraSettings);
    grid->addWidget(portLabel, 0, 0);
    grid->addWidget(m_cboPort, 0, 1);
    grid->addLayout(device, 1, 0, 1, 2);
    grid->addWidget(speedFrame, 2, 0, 1, 2);
    grid->addWidget(connection, 3, 0, 1, 2);
    grid->addWidget(flowFrame, 0, 2, 4, 1);
    grid->addWidget(echoFrame, 4, 2);

    m_cmdOK = named(new QPushButton, "cmdOK");
    m_cmdOK->setDefault(true);
    m_cmdCancel = named(new QPushButton(QStringLiteral("Cancel")), "cmdCancel");
    connect(m_cmdOK, &QPushButton::clicked, this, &frmProperties::cmdOK_Click);
    connect(m_cmdCancel, &QPushButton::clicked, this, &frmProperties::cmdCancel_Click);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cmdOK);
    buttons->addWidget(m_cmdCancel);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tabSettings);
    layout->addLayout(buttons);

    m_captioned = {portLabel, speedFrame, connection, flowFrame, m_cmdCancel};
    // The texts no language file relabels, in the language in use.
    ui::Retranslator::keep(this, [=, this] {
        dataBitsLabel->setText(tr("Data Bits:"));
        parityLabel->setText(tr("Parity:"));
        stopBitsLabel->setText(tr("Stop Bits:"));
        for (int i = 0; i < 4; ++i)
            m_optFlow[i]->setText(tr(flowCaptions[i]));
        echoFrame->setTitle(tr("&Echo"));
        for (int i = 0; i < 2; ++i)
            m_optEcho[i]->setText(tr(echoCaptions[i]));
        m_cmdOK->setText(tr("OK"));
        for (int i = 0; i < m_cboParity->count(); ++i)
            m_cboParity->setItemText(i, tr(parityEntries[i]));
    });
}

void frmProperties::Form_Load() {
    m_language.applyLanguage();
    adjustSize();
    if (const QScreen *s = screen()) {
        const QRect area = s->geometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
    LoadPropertySettings();
}

void frmProperties::LoadPropertySettings() {
    // Loading again starts from empty lists rather than repeating entries.
    for (QComboBox *box : {m_cboPort, m_cboSpeed, m_cboDataBits, m_cboParity, m_cboStopBits})
        box->clear();
    for (int n = 1; n <= 16; ++n)
        m_cboPort->addItem(QStringLiteral("Com%1").arg(n));
    for (const char *speed : speeds)
        m_cboSpeed->addItem(QLatin1String(speed));
    for (const char *bits : dataBits)
        m_cboDataBits->addItem(QLatin1String(bits));
    for (const char *parity : parityEntries)
        m_cboParity->addItem(tr(parity));
    for (const char *bits : stopBits)
        m_cboStopBits->addItem(QLatin1String(bits));

    const PortSettingsFields fields = PortSettingsFields::split(m_port.Settings());
    showText(m_cboSpeed, fields.speed);
    showText(m_cboDataBits, fields.dataBits);
    showText(m_cboStopBits, fields.stopBits);
    m_cboParity->setCurrentIndex(parityEntryFor(fields.parity));

    const int port = m_port.CommPort();
    m_cboPort->setCurrentIndex(port >= 1 && port <= 16 ? port - 1 : -1);

    const int handshaking = m_port.Handshaking();
    if (handshaking >= 0 && handshaking < 4)
        m_optFlow[handshaking]->setChecked(true);
    m_optEcho[m_serial.echoEnabled() ? 1 : 0]->setChecked(true);
}

QString frmProperties::deviceOf(int port) const {
    return m_pendingMap.value(port, m_port.devicePath(port));
}

void frmProperties::showDevice() {
    const int port = m_cboPort->currentIndex() + 1;
    m_lblDevice->setText(port >= 1 ? tr("Com%1 opens %2").arg(port).arg(deviceOf(port))
                                   : QString());
}

void frmProperties::offerDevices() {
    QMenu *menu = m_cmdMap->menu();
    menu->clear();
    const QList<ui::SerialPort::Device> present = m_port.devicesPresent();
    if (present.isEmpty())
        menu->addAction(tr("No serial device found"))->setEnabled(false);
    for (const ui::SerialPort::Device &d : present) {
        QAction *choice =
            menu->addAction(d.path + QStringLiteral(" (") + d.description + QLatin1Char(')'));
        connect(choice, &QAction::triggered, this, [this, path = d.path] {
            const int port = m_cboPort->currentIndex() + 1;
            if (port < 1)
                return;
            m_pendingMap[port] = path;
            showDevice();
        });
    }
}

void frmProperties::optFlow_Click(int index) {
    PendingHandshaking = static_cast<short>(index);
}

void frmProperties::optEcho_Click(int index) {
    PendingEcho = index == 1;
}

void frmProperties::cmdOK_Click() {
    m_serial.setEchoEnabled(PendingEcho);

    const int oldPort = m_port.CommPort();
    // No entry selected (a stored port above 16) is port 0, which the port
    // refuses: the warning, and the old port back.
    const int newPort = m_cboPort->currentIndex() + 1;
    // A port led to another device is opened anew, as a change of port is.
    // The device is tried for this run only; [Ports] takes it with the other
    // settings once everything has been applied.
    const bool newDevice =
        m_pendingMap.contains(newPort) && m_pendingMap.value(newPort) != m_port.devicePath(newPort);
    if (newPort != oldPort || newDevice) {
        const QString previousDevice = m_port.chosenDevice(newPort);
        if (newDevice)
            m_port.chooseDevice(newPort, m_pendingMap.value(newPort));
        QString error;
        const auto note = [&error](const QString &e) {
            if (!e.isEmpty())
                error = e;
        };
        const bool reopen = m_serial.isOpen();
        if (reopen)
            note(m_serial.closePort());
        const QString portError = newPort == oldPort ? QString() : m_port.setCommPort(newPort);
        note(portError);
        if (portError.isEmpty() && reopen)
            note(m_serial.openPort());
        if (!error.isEmpty()) {
            if (newDevice)
                m_port.chooseDevice(newPort, previousDevice);
            m_dialogs.warning(error);
            m_port.setCommPort(oldPort);
            return;
        }
    }

    // The entry's letter whatever the language it is shown in.
    const int parityEntry = m_cboParity->currentIndex();
    const QString parity =
        parityEntry < 0 ? QString() : QString(QLatin1Char(parityEntries[parityEntry][0]));
    const QString settings = m_cboSpeed->currentText().trimmed() + QLatin1Char(',') + parity +
                             QLatin1Char(',') + m_cboDataBits->currentText().trimmed() +
                             QLatin1Char(',') + m_cboStopBits->currentText().trimmed();
    QString error = m_port.setSettings(settings);
    if (!error.isEmpty()) {
        m_dialogs.warning(error);
        return;
    }
    error = m_port.setHandshaking(PendingHandshaking);
    if (!error.isEmpty()) {
        m_dialogs.warning(error);
        return;
    }

    // From here on [Ports] says where the ports lead.
    for (auto it = m_pendingMap.cbegin(); it != m_pendingMap.cend(); ++it) {
        m_settings.setValue(QStringLiteral("Ports"), QStringLiteral("Com%1").arg(it.key()),
                            it.value());
        m_port.chooseDevice(it.key(), QString());
    }
    m_pendingMap.clear();
    PortProfile{m_port.Settings(), QString::number(m_port.CommPort()),
                QString::number(m_port.Handshaking()),
                PortProfile::echoText(m_serial.echoEnabled())}
        .write(m_settings);
    close();
}

void frmProperties::cmdCancel_Click() {
    close();
}

} // namespace terminal
