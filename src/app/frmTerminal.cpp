#include "app/frmTerminal.h"

#include "link/NetworkChannel.h"
#include "link/SendPath.h"
#include "link/SerialChannel.h"
#include "link/StatusDisplay.h"
#include "link/TerminalBox.h"
#include "panel/AuxPad.h"
#include "panel/PresetPad.h"
#include "panel/PtzPad.h"
#include "panel/SelectionPad.h"
#include "ui/DatagramSocket.h"
#include "ui/Dialogs.h"
#include "ui/SerialPort.h"
#include "ui/SettingsStore.h"
#include "ui/StorageFolder.h"
#include "ui/Timer.h"
#include "ui/Twips.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

namespace {
// The panel's client area in twips: the keypads above, the terminal below.
constexpr int clientWidth = 8640;
constexpr int clientHeight = 4860;

QAction *addItem(QMenu *menu, const char *name, const QString &caption) {
    QAction *action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    return action;
}

QMenu *addMenu(QMenuBar *bar, const char *name, const QString &caption) {
    QMenu *menu = bar->addMenu(caption);
    menu->setObjectName(QLatin1String(name));
    menu->menuAction()->setObjectName(QLatin1String(name));
    return menu;
}

void hideAndDisable(QAction *action) {
    action->setVisible(false);
    action->setEnabled(false);
}
} // namespace

frmTerminal::frmTerminal(ui::SerialPort &port, ui::DatagramSocket &socket, ui::Dialogs &dialogs,
                         ui::SettingsStore &settings, QWidget *parent)
    : QMainWindow(parent)
    , m_port(port)
    , m_socket(socket)
    , m_dialogs(dialogs)
    , m_settings(settings) {
    setObjectName(QStringLiteral("frmTerminal"));
    m_storageFolder = ui::storageFolder();
    setWindowTitle(QStringLiteral("Velmar-Controller"));

    m_Timer3 = new ui::Timer(QStringLiteral("Timer3"), 1000, true, this);
    m_Timer5 = new ui::Timer(QStringLiteral("Timer5"), 4000, true, this);
    m_TimerMove = new ui::Timer(QStringLiteral("TimerMove"), 1000, true, this);
    m_Timer4 = new ui::Timer(QStringLiteral("Timer4"), 800, false, this);
    m_TimerPan = new ui::Timer(QStringLiteral("TimerPan"), 500, false, this);
    m_TimerTilt = new ui::Timer(QStringLiteral("TimerTilt"), 500, false, this);
    m_TimerSet = new ui::Timer(QStringLiteral("TimerSet"), 100, false, this);
    m_TimerStore = new ui::Timer(QStringLiteral("TimerStore"), 200, false, this);

    buildMenus();
    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("panel"));
    QFont small = central->font();
    small.setPointSize(8);
    central->setFont(small);
    setCentralWidget(central);
    buildControls(central);
}

frmTerminal::~frmTerminal() = default;

void frmTerminal::buildMenus() {
    QMenuBar *bar = menuBar();
    bar->setNativeMenuBar(false);

    QMenu *file = addMenu(bar, "mnuFile", QStringLiteral("&File"));
    m_mnuOpenLog = addItem(file, "mnuOpenLog", QStringLiteral("&Open Log File..."));
    m_mnuCloseLog = addItem(file, "mnuCloseLog", QStringLiteral("&Close Log File"));
    m_mnuSendText = addItem(file, "mnuSendText", QStringLiteral("&Transmit Text File..."));
    hideAndDisable(m_mnuOpenLog);
    hideAndDisable(m_mnuCloseLog);
    hideAndDisable(m_mnuSendText);
    m_mnuFileExit = addItem(file, "mnuFileExit", QStringLiteral("E&xit"));
    connect(m_mnuFileExit, &QAction::triggered, this, &frmTerminal::mnuFileExit_Click);
    connect(m_mnuCloseLog, &QAction::triggered, this, &frmTerminal::mnuCloseLog_Click);

    QMenu *port = addMenu(bar, "mnuPort", QStringLiteral("&CommPort"));
    m_mnuOpen = addItem(port, "mnuOpen", QStringLiteral("Port &Open"));
    m_mnuOpen->setCheckable(true);
    addItem(port, "mnuProperties", QStringLiteral("Properties..."));

    QMenu *mscomm = addMenu(bar, "mnuMSComm", QStringLiteral("&MSComm"));
    addItem(mscomm, "mnuInputLen", QStringLiteral("&InputLen..."));
    addItem(mscomm, "mnuRThreshold", QStringLiteral("&RThreshold..."));
    addItem(mscomm, "mnuSThreshold", QStringLiteral("&SThreshold..."));
    addItem(mscomm, "mnuParRep", QStringLiteral("P&arityReplace..."));
    addItem(mscomm, "mnuDTREnable", QStringLiteral("&DTREnable"))->setCheckable(true);
    addItem(mscomm, "mnuHCD", QStringLiteral("&CDHolding..."));
    addItem(mscomm, "mnuHCTS", QStringLiteral("CTSH&olding..."));
    addItem(mscomm, "mnuHDSR", QStringLiteral("DSRHo&lding..."));
    hideAndDisable(mscomm->menuAction());

    // "C&all" and its dial entry are unavailable in this panel: not shown.
    QMenu *call = addMenu(bar, "mnuCall", QStringLiteral("C&all"));
    m_mnuDial = addItem(call, "mnuDial", QStringLiteral("&Dial Phone Number..."));
    m_mnuHangUp = addItem(call, "mnuHangUp", QStringLiteral("&Hang Up Phone"));
    hideAndDisable(m_mnuHangUp);
    hideAndDisable(call->menuAction());

    m_Mon = addMenu(bar, "Mon", QStringLiteral("&Mon"));
    hideAndDisable(m_Mon->menuAction());

    const auto command = [bar](const char *name, const QString &caption) {
        QAction *action = bar->addAction(caption);
        action->setObjectName(QLatin1String(name));
        return action;
    };
    command("ControllerProgram", QStringLiteral("&Sets texts of Velmar-Controller"));
    command("About", QStringLiteral("&About"));
    command("Language", QStringLiteral("&Language"));
    command("JoyStick", QStringLiteral("&JoyStick"));
    command("mnuChange", QStringLiteral("<=>"));
}

void frmTerminal::buildControls(QWidget *central) {
    m_txtTerm = new devicelink::TerminalBox(central);
    ui::placeInTwips(m_txtTerm, 120, 2400, 8400, 1860);
    m_IPAD = new QLineEdit(devicelink::NetworkChannel::serialMarker, central);
    m_IPAD->setObjectName(QStringLiteral("IPAD"));
    // Only the remote site chooser changes the address.
    m_IPAD->setReadOnly(true);
    ui::placeInTwips(m_IPAD, 120, 4380, 1800, 300);
    m_Text1 = new QLineEdit(central);
    m_Text1->setObjectName(QStringLiteral("Text1"));
    ui::placeInTwips(m_Text1, 2040, 4380, 900, 300);
    m_Command1 = new QPushButton(QStringLiteral("Send"), central);
    m_Command1->setObjectName(QStringLiteral("Command1"));
    ui::placeInTwips(m_Command1, 3060, 4380, 900, 300);
    connect(m_Command1, &QPushButton::clicked, this, &frmTerminal::Command1_Click);

    m_sendPath = std::make_unique<devicelink::SendPath>();
    m_selection = new panel::SelectionPad(central, m_Mon, *m_sendPath, *m_Timer3);
    m_ptz = new panel::PtzPad(central, *m_sendPath, *m_TimerPan, *m_TimerTilt, *m_Timer5);
    m_presets = new panel::PresetPad(central, *m_sendPath, *m_TimerSet, *m_TimerStore);
    m_aux = new panel::AuxPad(central, *m_sendPath, *m_Timer4, *m_Timer3);

    m_status = std::make_unique<devicelink::StatusDisplay>(*this, m_selection->cameras(),
                                                           m_selection->monitors());
    const auto decode = [this](const QString &text) { DecodeStatusReply(text); };
    devicelink::PortMenus menus{m_mnuOpen, m_mnuSendText, m_mnuHangUp, m_mnuDial};
    m_serial = std::make_unique<devicelink::SerialChannel>(m_port, m_dialogs, *m_txtTerm, menus,
                                                           EchoEnabled, m_log, decode,
                                                           [this] { mnuCloseLog_Click(); });
    m_network = std::make_unique<devicelink::NetworkChannel>(m_socket, *m_IPAD, *m_sendPath,
                                                             *m_Timer3, *m_Timer5, decode);
    m_sendPath->attach(*m_serial, *m_network);
    connect(m_mnuOpen, &QAction::triggered, m_serial.get(),
            &devicelink::SerialChannel::mnuOpen_Click);

    const qreal dpi = central->logicalDpiX();
    central->setMinimumSize(ui::twipsToPixels(clientWidth, dpi),
                            ui::twipsToPixels(clientHeight, dpi));
    resize(ui::twipsToPixels(clientWidth, dpi),
           ui::twipsToPixels(clientHeight, dpi) + menuBar()->sizeHint().height());
}

QPoint frmTerminal::positionInTwips() const {
    const qreal dpi = logicalDpiX();
    return {ui::pixelsToTwips(x(), dpi), ui::pixelsToTwips(y(), dpi)};
}

devicelink::CommandSink &frmTerminal::sink() {
    return *m_sendPath;
}

void frmTerminal::Invio() {
    m_sendPath->Invio();
}

void frmTerminal::DecodeStatusReply(const QString &text) {
    m_status->DecodeStatusReply(text);
}

void frmTerminal::applyLanguage(QWidget *dialog) {
    Q_UNUSED(dialog);
}

void frmTerminal::Command1_Click() {
    m_sendPath->send(m_Text1->text());
}

void frmTerminal::Form_Load() {
    m_socket.setRemoteHost(m_IPAD->text());
    m_txtTerm->clearAll();
    QCoreApplication::setApplicationName(QStringLiteral("Velmar Controller"));
    if (const QScreen *s = screen()) {
        const QRect area = s->availableGeometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
    if (!applyStoredPortSettings()) {
        m_startupEndedEarly = true;
        m_serial->showPortState();
        return;
    }
    readConfiguration();
    m_serial->mnuOpen_Click();
    m_presets->PresetStep = 0;
    m_socket.setRemoteHost(m_IPAD->text());
}

bool frmTerminal::applyStoredPortSettings() {
    const QString section = QStringLiteral("Properties");
    const QString settings = m_settings.value(section, QStringLiteral("Settings"));
    if (!settings.isEmpty()) {
        const QString error = m_port.setSettings(settings);
        if (!error.isEmpty()) {
            m_dialogs.warning(error);
            return false;
        }
    }
    const QString commPort = m_settings.value(section, QStringLiteral("CommPort"));
    if (!commPort.isEmpty()) {
        bool ok = false;
        const short n = commPort.trimmed().toShort(&ok);
        if (ok)
            m_port.setCommPort(n);
    }
    const QString handshaking = m_settings.value(section, QStringLiteral("Handshaking"));
    if (!handshaking.isEmpty()) {
        bool ok = false;
        const int code = handshaking.trimmed().toInt(&ok);
        const QString error = ok ? m_port.setHandshaking(code) : QStringLiteral("Type mismatch");
        if (!error.isEmpty()) {
            m_dialogs.warning(error);
            return false;
        }
    }
    const QString echo = m_settings.value(section, QStringLiteral("Echo")).trimmed();
    bool isNumber = false;
    const double number = echo.toDouble(&isNumber);
    if (echo.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        EchoEnabled = true;
    else if (echo.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        EchoEnabled = false;
    else if (isNumber)
        EchoEnabled = number != 0;
    return true;
}

void frmTerminal::readConfiguration() {
    // The configuration file (window position, camera titles and types, the
    // language) is read here.
}

void frmTerminal::Form_Unload(bool &Cancel) {
    if (!m_network->serialSelected()) {
        m_Timer5->setEnabled(false);
        m_Timer3->setEnabled(false);
        // The sign-off goes to the site in use, also when nothing was sent
        // to it since it was picked.
        m_network->sendToSite(QByteArray("0"));
    }
    if (m_port.PortOpen()) {
        if (!drainSerialOutput(Cancel))
            return;
        m_port.setPortOpen(false);
        m_serial->showPortState();
    }
    if (m_log.isOpen())
        mnuCloseLog_Click();
    end();
}

bool frmTerminal::drainSerialOutput(bool &Cancel) {
    QDeadlineTimer deadline(m_drainTimeoutMs, Qt::PreciseTimer);
    while (m_port.PortOpen() && m_port.OutBufferCount() != 0) {
        // Let events run until some output has gone or the deadline passes;
        // nothing spins while the line drains.
        if (!deadline.hasExpired()) {
            QEventLoop loop;
            QTimer wake;
            wake.setTimerType(Qt::PreciseTimer);
            wake.setSingleShot(true);
            connect(&wake, &QTimer::timeout, &loop, &QEventLoop::quit);
            connect(&m_port, &ui::SerialPort::BytesWritten, &loop, &QEventLoop::quit);
            connect(&m_port, &ui::SerialPort::LinkLost, &loop, &QEventLoop::quit);
            wake.start(static_cast<int>(qMax<qint64>(0, deadline.remainingTime())));
            loop.exec();
            continue;
        }
        switch (m_dialogs.message(QStringLiteral("Data cannot be sent"),
                                  ui::Dialogs::Buttons::AbortRetryIgnore,
                                  ui::Dialogs::Icon::Question)) {
        case ui::Dialogs::Answer::Abort:
            Cancel = true;
            return false;
        case ui::Dialogs::Answer::Retry:
            deadline.setRemainingTime(m_drainTimeoutMs, Qt::PreciseTimer);
            break;
        default:
            return true;
        }
    }
    return true;
}

void frmTerminal::mnuCloseLog_Click() {
    m_log.close();
    m_mnuCloseLog->setEnabled(false);
    setWindowTitle(QStringLiteral("Serial Terminal"));
}

void frmTerminal::end() {
    m_ended = true;
    const auto timers = findChildren<ui::Timer *>();
    for (ui::Timer *timer : timers)
        timer->setEnabled(false);
    hide();
    emit programEnded();
}

void frmTerminal::mnuFileExit_Click() {
    m_exitCancel = false;
    Form_Unload(m_exitCancel);
}

void frmTerminal::closeEvent(QCloseEvent *event) {
    if (m_ended) {
        event->accept();
        return;
    }
    bool cancel = false;
    Form_Unload(cancel);
    if (cancel)
        event->ignore();
    else
        event->accept();
}
