#include "app/frmTerminal.h"

#include "app/LinkStatusBar.h"
#include "app/MainMenu.h"
#include "app/Windows.h"
#include "config/CameraModel.h"
#include "config/ConfigFile.h"
#include "config/Localiser.h"
#include "config/StoredFile.h"
#include "config/UnreadableFiles.h"
#include "config/frmSceltaLingua.h"
#include "link/LinkMonitor.h"
#include "link/NetworkChannel.h"
#include "link/PortReopener.h"
#include "link/RemoteAddress.h"
#include "link/SendPath.h"
#include "link/SerialChannel.h"
#include "link/StatusDisplay.h"
#include "link/StatusPolls.h"
#include "link/TerminalBox.h"
#include "link/Traffic.h"
#include "panel/AuxPad.h"
#include "panel/PresetPad.h"
#include "panel/PtzPad.h"
#include "panel/SelectionPad.h"
#include "terminal/LogCommands.h"
#include "terminal/Modem.h"
#include "terminal/PortProfile.h"
#include "terminal/PortPrompts.h"
#include "terminal/Transmission.h"
#include "ui/DatagramSocket.h"
#include "ui/Dialogs.h"
#include "ui/FramePacer.h"
#include "ui/Latin1Validator.h"
#include "ui/ProgramIcon.h"
#include "ui/SerialPort.h"
#include "ui/SettingsStore.h"
#include "ui/Timer.h"
#include "ui/Twips.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>

namespace {
// The panel's client area in twips: the keypads above, the terminal below.
constexpr int clientWidth = 8640;
constexpr int clientHeight = 4860;
// How long the status bar names a file that is there and was not used.
constexpr int fileNoteMs = 30000;
} // namespace

frmTerminal::frmTerminal(ui::SerialPort &port, ui::DatagramSocket &socket, ui::Dialogs &dialogs,
                         ui::SettingsStore &settings, QWidget *parent)
    : QMainWindow(parent)
    , m_port(port)
    , m_socket(socket)
    , m_dialogs(dialogs)
    , m_settings(settings) {
    setObjectName(QStringLiteral("frmTerminal"));
    setWindowTitle(QStringLiteral("Velmar-Controller"));
    // Its dialogs, children of this window, show the same icon.
    setWindowIcon(ui::programIcon());

    m_polls = new devicelink::StatusPolls(this);
    m_TimerMove = new ui::Timer(QStringLiteral("TimerMove"), 1000, true, this);
    m_Timer4 = new ui::Timer(QStringLiteral("Timer4"), 800, false, this);
    m_TimerPan = new ui::Timer(QStringLiteral("TimerPan"), 500, false, this);
    m_TimerTilt = new ui::Timer(QStringLiteral("TimerTilt"), 500, false, this);
    m_TimerSet = new ui::Timer(QStringLiteral("TimerSet"), 100, false, this);
    m_TimerStore = new ui::Timer(QStringLiteral("TimerStore"), 200, false, this);
    m_cameras = new config::CameraModel(this);

    m_menu = std::make_unique<app::MainMenu>(menuBar());
    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("panel"));
    QFont small = central->font();
    small.setPixelSize(10);
    central->setFont(small);
    setCentralWidget(central);
    buildControls(central);
    wireMenus();
    connect(m_TimerMove, &ui::Timer::tick, this, &frmTerminal::TimerMove_Timer);
}

frmTerminal::~frmTerminal() {
    // The port outlives the window; what watched it goes with the window.
    m_port.setTap(nullptr);
    // The panel goes while the link it sends through is still there: a
    // button held at that moment lets go with its stop code.
    delete takeCentralWidget();
}

void frmTerminal::buildControls(QWidget *central) {
    m_txtTerm = new devicelink::TerminalBox(central);
    ui::placeInTwips(m_txtTerm, 120, 2400, 8400, 1860);
    m_IPAD = new devicelink::RemoteAddress(central);
    ui::placeInTwips(m_IPAD->box(), 120, 4380, 1800, 300);
    m_Text1 = new QLineEdit(central);
    m_Text1->setObjectName(QStringLiteral("Text1"));
    ui::placeInTwips(m_Text1, 2040, 4380, 900, 300);
    m_Command1 = new QPushButton(QStringLiteral("Send"), central);
    m_Command1->setObjectName(QStringLiteral("Command1"));
    ui::placeInTwips(m_Command1, 3060, 4380, 900, 300);
    connect(m_Command1, &QPushButton::clicked, this, &frmTerminal::Command1_Click);
    // Enter in the code box sends it, as the Send button does.
    connect(m_Text1, &QLineEdit::returnPressed, m_Command1, &QPushButton::click);
    m_Text1->setValidator(new ui::Latin1Validator(m_Text1));
    m_Text1->setToolTip(QStringLiteral("A command code in hexadecimal, as 35 for camera 5"));

    m_sendPath = std::make_unique<devicelink::SendPath>();
    m_selection = new panel::SelectionPad(central, m_menu->Mon, *m_sendPath, m_polls->Timer3());
    m_ptz = new panel::PtzPad(central, *m_sendPath, *m_TimerPan, *m_TimerTilt, m_polls->Timer5());
    m_presets = new panel::PresetPad(central, *m_sendPath, *m_TimerSet, *m_TimerStore);
    m_aux = new panel::AuxPad(central, *m_sendPath, *m_Timer4, m_polls->Timer3());
    const QList<QLabel *> &titles = m_selection->titles();
    connect(m_cameras, &config::CameraModel::titleChanged, this,
            [titles](int camera, const QString &title) {
                QLabel *label = titles[camera - 1];
                label->setText(title);
                // A title longer than its label shows whole when pointed at.
                const bool cut = label->fontMetrics().horizontalAdvance(title) > label->width();
                label->setToolTip(cut ? title : QString());
            });

    // What the line brings shows in one repaint a frame.
    auto *frame = new ui::FramePacer(this);
    m_txtTerm->setPacer(*frame);
    m_status = std::make_unique<devicelink::StatusDisplay>(*this, m_selection->cameras(),
                                                           m_selection->monitors(), frame);
    const auto decode = [this](const QString &text) { DecodeStatusReply(text); };
    m_logCommands = new terminal::LogCommands(m_log, m_dialogs, *m_menu->mnuCloseLog, *this);
    m_serial =
        std::make_unique<devicelink::SerialChannel>(m_port, m_dialogs, *m_txtTerm, m_log, decode,
                                                    [this] { m_logCommands->mnuCloseLog_Click(); });
    m_network = std::make_unique<devicelink::NetworkChannel>(m_socket, *m_IPAD, *m_sendPath,
                                                             *m_polls, decode);
    m_sendPath->attach(*m_serial, *m_network);
    m_traffic = new devicelink::Traffic(this);
    m_port.setTap(m_traffic);
    m_serial->setTraffic(m_traffic);
    m_network->setTraffic(m_traffic);

    // Below the panel, outside its layout: whether the switcher is heard.
    m_monitor = new devicelink::LinkMonitor(*m_serial, m_port, *m_IPAD, *m_network, this);
    const bool reopen = m_settings.value(QStringLiteral("Link"), QStringLiteral("Reopen"))
                            .trimmed()
                            .compare(QLatin1String("false"), Qt::CaseInsensitive) != 0;
    m_reopener = new devicelink::PortReopener(*m_serial, m_port, *m_IPAD, reopen, this);
    connect(m_reopener, &devicelink::PortReopener::reopened, m_monitor,
            &devicelink::LinkMonitor::noteReopened);
    m_statusBar = new app::LinkStatusBar(*m_monitor, *m_network, this);
    setStatusBar(m_statusBar);
    m_unreadable = new config::UnreadableFiles(this);
    connect(m_unreadable, &config::UnreadableFiles::reported, m_statusBar,
            [this](const QString &message) { m_statusBar->showMessage(message, fileNoteMs); });

    const qreal dpi = central->logicalDpiX();
    central->setMinimumSize(ui::twipsToPixels(clientWidth, dpi),
                            ui::twipsToPixels(clientHeight, dpi));
    resize(ui::twipsToPixels(clientWidth, dpi), ui::twipsToPixels(clientHeight, dpi) +
                                                    menuBar()->sizeHint().height() +
                                                    m_statusBar->sizeHint().height());
    fitMenuBar();
}

void frmTerminal::wireMenus() {
    const app::MainMenu &m = *m_menu;
    connect(m.mnuFileExit, &QAction::triggered, this, &frmTerminal::mnuFileExit_Click);
    connect(m.mnuOpen, &QAction::triggered, m_serial.get(),
            &devicelink::SerialChannel::mnuOpen_Click);
    connect(m_serial.get(), &devicelink::SerialChannel::stateChanged, this,
            &frmTerminal::showPortState);

    connect(m.mnuOpenLog, &QAction::triggered, m_logCommands,
            &terminal::LogCommands::mnuOpenLog_Click);
    connect(m.mnuCloseLog, &QAction::triggered, m_logCommands,
            &terminal::LogCommands::mnuCloseLog_Click);

    m_transmission = new terminal::Transmission(m_port, m_dialogs, *m.mnuSendText, *this);
    connect(m.mnuSendText, &QAction::triggered, m_transmission,
            &terminal::Transmission::mnuSendText_Click);

    m_modem = new terminal::Modem(m_port, *m_serial, m_dialogs, *m.mnuHangUp, this);
    connect(m.mnuDial, &QAction::triggered, m_modem, &terminal::Modem::mnuDial_Click);
    connect(m.mnuHangUp, &QAction::triggered, m_modem, &terminal::Modem::mnuHangUp_Click);

    m_prompts = new terminal::PortPrompts(m_port, m_dialogs, *m.mnuDTREnable, this);
    using terminal::PortPrompts;
    const std::pair<QAction *, void (PortPrompts::*)()> prompts[] = {
        {m.mnuInputLen, &PortPrompts::mnuInputLen_Click},
        {m.mnuRThreshold, &PortPrompts::mnuRThreshold_Click},
        {m.mnuSThreshold, &PortPrompts::mnuSThreshold_Click},
        {m.mnuParRep, &PortPrompts::mnuParRep_Click},
        {m.mnuDTREnable, &PortPrompts::mnuDTREnable_Click},
        {m.mnuHCD, &PortPrompts::mnuHCD_Click},
        {m.mnuHCTS, &PortPrompts::mnuHCTS_Click},
        {m.mnuHDSR, &PortPrompts::mnuHDSR_Click},
    };
    for (const auto &[entry, handler] : prompts)
        connect(entry, &QAction::triggered, m_prompts, handler);

    m_windows = new app::Windows({*this, *this, *m_cameras, m_paths,
                                  [this] { return positionInTwips(); }, m_port, *m_serial,
                                  *m_network, *m_IPAD, *m_polls, *m_sendPath, *m_ptz->HScroll1(),
                                  *m_ptz->HScroll2(), m_dialogs, m_settings, *m_traffic},
                                 m);
    connect(m_statusBar->openTraffic(), &QPushButton::clicked, m_windows,
            &app::Windows::openTraffic);
    connect(m_windows, &app::Windows::fileNotUsed, m_unreadable, &config::UnreadableFiles::note);
}

void frmTerminal::showPortState() {
    // The one place the menu follows the port: its check mark, and the
    // entries that need an open port.
    const bool open = m_serial->isOpen();
    m_menu->mnuOpen->setChecked(open);
    m_menu->mnuSendText->setEnabled(open);
    m_menu->mnuHangUp->setEnabled(open);
    m_menu->mnuDial->setEnabled(true);
}

joystick::JoystickLauncher &frmTerminal::attachJoystick(ui::Joystick &joystick) {
    joystick::JoystickLauncher &launcher = m_windows->attachJoystick(joystick);
    return launcher;
}

void frmTerminal::fitMenuBar() {
    // The window is as wide as its menu bar needs, so that no menu of a
    // language hides behind the bar's overflow button; the panel's layout
    // keeps its place at the left.
    const int needed = menuBar()->sizeHint().width();
    if (width() < needed)
        resize(needed, height());
}

QPoint frmTerminal::positionInTwips() const {
    const qreal dpi = logicalDpiX();
    return {ui::pixelsToTwips(x(), dpi), ui::pixelsToTwips(y(), dpi)};
}

devicelink::CommandSink &frmTerminal::sink() {
    return *m_sendPath;
}

void frmTerminal::DecodeStatusReply(const QString &text) {
    m_status->DecodeStatusReply(text);
    m_monitor->replyDecoded();
}

QList<QObject *> frmTerminal::captioned() const {
    QList<QObject *> controls = m_ptz->captioned() + m_aux->captioned() + m_menu->captioned();
    controls.append(m_presets->store());
    return controls;
}

void frmTerminal::applyLanguage() {
    CaricaLingua(m_cameras->languageFile());
}

void frmTerminal::CaricaLingua(const QString &lingua) {
    // A file that cannot be read changes no caption; the dialogs it would
    // relabel come into being all the same, each running its load once.
    QString whyNot;
    const std::optional<QStringList> captions = config::Localiser::read(lingua, &whyNot);
    if (!whyNot.isEmpty())
        m_unreadable->note(lingua, whyNot);
    if (captions) {
        config::Localiser::relabel(*captions, "frmTerminal", captioned());
        fitMenuBar();
    }
    m_windows->ensureLanguageDialogs();
    if (captions)
        m_windows->relabel(*captions);
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
        showPortState();
        return;
    }
    readConfiguration();
    // A port map entry that names no port would leave its device unused and
    // the port open on another one without a word.
    if (const QString problem = m_port.mappingProblem(); !problem.isEmpty())
        m_dialogs.warning(problem);
    m_serial->mnuOpen_Click();
    m_presets->PresetStep = 0;
    m_socket.setRemoteHost(m_IPAD->text());
}

bool frmTerminal::applyStoredPortSettings() {
    const terminal::PortProfile stored = terminal::PortProfile::read(m_settings);
    if (!stored.settings.isEmpty()) {
        const QString error = m_port.setSettings(stored.settings);
        if (!error.isEmpty()) {
            m_dialogs.warning(error);
            return false;
        }
    }
    if (!stored.commPort.isEmpty()) {
        bool ok = false;
        const short n = stored.commPort.trimmed().toShort(&ok);
        if (ok)
            m_port.setCommPort(n);
    }
    if (!stored.handshaking.isEmpty()) {
        bool ok = false;
        const int code = stored.handshaking.trimmed().toInt(&ok);
        const QString error = ok ? m_port.setHandshaking(code) : QStringLiteral("Type mismatch");
        if (!error.isEmpty()) {
            m_dialogs.warning(error);
            return false;
        }
    }
    if (const std::optional<bool> echo = stored.echoFlag())
        m_serial->setEchoEnabled(*echo);
    return true;
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
    using config::StoredFile;
    const StoredFile::Contents stored =
        StoredFile(m_paths.configuration()).load({config::ConfigFile::lineCount});
    const config::ConfigReading reading = config::ConfigFile::read(stored.bytes);
    const QPoint here = positionInTwips();
    placeAt(config::ConfigFile::parsePosition(reading.left).value_or(here.x()),
            config::ConfigFile::parsePosition(reading.top).value_or(here.y()));
    // A file that is there but cannot be read (no permission, not a regular
    // file, past the reader's bounds) is the operator's: the panel starts
    // fresh and never rewrites it.
    const bool unreadable = stored.presence == StoredFile::Presence::Unreadable;
    m_cameras->setStored(unreadable ? config::CameraModel::Stored::Unreadable
                                    : config::CameraModel::Stored::Read);
    if (unreadable)
        m_unreadable->note(m_paths.configuration(), stored.reason);
    if (reading.fresh) {
        for (int k = 1; k <= config::ConfigFile::cameras; ++k)
            m_cameras->setType(k, QStringLiteral("F"));
        // Titles a camera 1 without a title left behind would be overwritten
        // by the next rewrite; keep them beside it.
        if (config::ConfigFile::lines(stored.bytes).size() > 3)
            StoredFile(m_paths.configuration() + QStringLiteral(".bak")).replace(stored.bytes);
        m_windows->chooser.open();
        m_waitingForLanguage = true;
        hide();
        return;
    }
    for (int k = 1; k <= config::ConfigFile::cameras; ++k) {
        m_cameras->setType(k, reading.file.types[k - 1]);
        m_cameras->setTitle(k, reading.file.titles[k - 1]);
    }
    m_cameras->setLanguageFile(reading.file.languageFile);
    CaricaLingua(m_cameras->languageFile());
}

void frmTerminal::TimerMove_Timer() {
    // Until the file has been read, what is on disk is the operator's and
    // the panel's design captions must not replace it.
    if (m_cameras->stored() != config::CameraModel::Stored::Read)
        return;
    const QPoint at = positionInTwips();
    config::ConfigFile file;
    file.left = config::ConfigFile::positionText(at.x());
    file.top = config::ConfigFile::positionText(at.y());
    for (int k = 1; k <= config::ConfigFile::cameras; ++k) {
        file.titles.append(m_cameras->title(k));
        file.types.append(m_cameras->type(k));
    }
    file.languageFile = m_cameras->languageFile();
    config::StoredFile(m_paths.configuration()).replace(file.bytes());
}

void frmTerminal::Form_Unload(bool &Cancel) {
    if (!m_network->serialSelected()) {
        m_polls->stop();
        // The sign-off goes to the site in use, also when nothing was sent
        // to it since it was picked.
        m_network->sendToSite(QByteArray("0"));
    }
    if (m_port.PortOpen()) {
        if (!drainSerialOutput(Cancel))
            return;
        m_serial->closePort();
    }
    if (m_log.isOpen())
        m_logCommands->mnuCloseLog_Click();
    end();
}

bool frmTerminal::drainSerialOutput(bool &Cancel) {
    QDeadlineTimer deadline(m_drainTimeoutMs, Qt::PreciseTimer);
    while (m_port.PortOpen() && m_port.OutBufferCount() != 0) {
        // Let events run until some output has gone or the deadline passes;
        // nothing spins while the line drains.
        if (!deadline.hasExpired()) {
            ui::waitOnOutput(m_port, static_cast<int>(qMax<qint64>(0, deadline.remainingTime())));
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

void frmTerminal::end() {
    m_ended = true;
    m_polls->stop();
    for (ui::Timer *timer :
         {m_TimerMove, m_Timer4, m_TimerPan, m_TimerTilt, m_TimerSet, m_TimerStore})
        timer->setEnabled(false);
    m_transmission->stop();
    hide();
    m_windows->closeAll();
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
