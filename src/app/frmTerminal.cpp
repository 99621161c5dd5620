#include "app/frmTerminal.h"

#include "config/ConfigFile.h"
#include "config/DialogLaunchers.h"
#include "config/Localiser.h"
#include "config/StoredFile.h"
#include "config/frmChange.h"
#include "config/frmSceltaLingua.h"
#include "link/NetworkChannel.h"
#include "link/SendPath.h"
#include "link/SerialChannel.h"
#include "link/StatusDisplay.h"
#include "link/TerminalBox.h"
#include "panel/AuxPad.h"
#include "panel/PresetPad.h"
#include "panel/PtzPad.h"
#include "panel/SelectionPad.h"
#include "terminal/TerminalCommands.h"
#include "ui/DatagramSocket.h"
#include "ui/Dialogs.h"
#include "ui/FramePacer.h"
#include "ui/SerialPort.h"
#include "ui/SettingsStore.h"
#include "ui/StorageFolder.h"
#include "ui/Timer.h"
#include "ui/Twips.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QEventLoop>
#include <QLabel>
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
    small.setPixelSize(10);
    central->setFont(small);
    setCentralWidget(central);
    buildControls(central);
    m_localiser = std::make_unique<config::Localiser>(*this);
    // The dialogs and terminal commands attach to the menus by name.
    new config::DialogLaunchers(*this, this);
    new terminal::TerminalCommands(*this, m_port, m_dialogs, m_settings);
    connect(m_TimerMove, &ui::Timer::tick, this, &frmTerminal::TimerMove_Timer);
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
    connect(command("Language", QStringLiteral("&Language")), &QAction::triggered, this,
            &frmTerminal::Language_Click);
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

    // What the line brings shows in one repaint a frame.
    auto *frame = new ui::FramePacer(this);
    m_txtTerm->setPacer(*frame);
    m_status = std::make_unique<devicelink::StatusDisplay>(*this, m_selection->cameras(),
                                                           m_selection->monitors(), frame);
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
    CaricaLingua(LanguageFile, dialog);
}

void frmTerminal::CaricaLingua(const QString &lingua) {
    CaricaLingua(lingua, nullptr);
}

void frmTerminal::CaricaLingua(const QString &lingua, QWidget *loading) {
    if (!m_localiser->apply(lingua))
        return;
    // The dialogs that are open (or loading) take their lines at once.
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget *w : windows)
        m_localiser->applyTo(w);
    if (loading && !windows.contains(loading))
        m_localiser->applyTo(loading);
    const bool siteChooserOpen = config::frmChange::find(*this) ||
                                 (loading && loading->objectName() == QLatin1String("frmChange"));
    // Relabelling the remote site chooser brings it into being, and its load
    // stops the status polls and signs off from the current site.
    if (!siteChooserOpen)
        config::frmChange::leaveSite(*this);
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

QString frmTerminal::configurationPath() const {
    return QDir(m_storageFolder).filePath(QStringLiteral("velmarcontroller.ini"));
}

void frmTerminal::placeAt(int leftTwips, int topTwips) {
    const qreal dpi = logicalDpiX();
    const QRect wanted(QPoint(ui::twipsToPixels(leftTwips, dpi), ui::twipsToPixels(topTwips, dpi)),
                       frameGeometry().size());
    // A position that puts the whole window off every screen (a monitor that
    // is gone) is ignored: the window stays centred.
    const auto screens = QApplication::screens();
    for (const QScreen *s : screens) {
        if (s->geometry().intersects(wanted)) {
            move(wanted.topLeft());
            return;
        }
    }
}

void frmTerminal::readConfiguration() {
    const config::StoredFile file(configurationPath());
    const std::optional<QByteArray> bytes = file.read();
    const config::ConfigReading reading = config::ConfigFile::read(bytes.value_or(QByteArray()));
    SavedLeft = reading.left;
    SavedTop = reading.top;
    const QPoint here = positionInTwips();
    placeAt(config::ConfigFile::parsePosition(SavedLeft).value_or(here.x()),
            config::ConfigFile::parsePosition(SavedTop).value_or(here.y()));
    m_configurationRead = true;
    if (reading.fresh) {
        for (int k = 1; k <= config::ConfigFile::cameras; ++k)
            CameraType[k] = QStringLiteral("F");
        // Titles a camera 1 without a title left behind would be overwritten
        // by the next rewrite; keep them beside it.
        if (bytes && config::ConfigFile::lines(*bytes).size() > 3)
            config::StoredFile(configurationPath() + QStringLiteral(".bak")).replace(*bytes);
        showChooser();
        m_waitingForLanguage = true;
        hide();
        return;
    }
    const auto titles = m_selection->titles();
    for (int k = 1; k <= config::ConfigFile::cameras; ++k) {
        CameraType[k] = reading.file.types[k - 1];
        titles[k - 1]->setText(reading.file.titles[k - 1]);
    }
    LanguageFile = reading.file.languageFile;
    CaricaLingua(LanguageFile);
}

void frmTerminal::TimerMove_Timer() {
    // Until the file has been read, what is on disk is the operator's and
    // the panel's design captions must not replace it.
    if (!m_configurationRead)
        return;
    const QPoint at = positionInTwips();
    SavedLeft = config::ConfigFile::positionText(at.x());
    SavedTop = config::ConfigFile::positionText(at.y());
    config::ConfigFile file;
    file.left = SavedLeft;
    file.top = SavedTop;
    for (int k = 1; k <= config::ConfigFile::cameras; ++k) {
        file.titles.append(m_selection->titles()[k - 1]->text());
        file.types.append(CameraType[k]);
    }
    file.languageFile = LanguageFile;
    config::StoredFile(configurationPath()).replace(file.bytes());
}

void frmTerminal::showChooser() {
    if (!m_chooser) {
        m_chooser = new frmSceltaLingua(*this, this);
        // Closing the chooser without a choice still brings the panel back.
        connect(m_chooser, &frmSceltaLingua::closedWithoutChoice, this, [this] {
            if (!m_ended)
                show();
        });
    }
    m_chooser->show();
    m_chooser->raise();
    m_chooser->activateWindow();
}

void frmTerminal::Language_Click() {
    showChooser();
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
    if (m_chooser)
        m_chooser->close();
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
