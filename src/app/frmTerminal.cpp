#include "app/frmTerminal.h"

#include "app/AddressBox.h"
#include "app/Controller.h"
#include "app/LinkStatusBar.h"
#include "app/MainMenu.h"
#include "app/SessionRouter.h"
#include "app/Terminal.h"
#include "app/TerminalBox.h"
#include "app/Windows.h"
#include "automation/Engine.h"
#include "bus/BusClient.h"
#include "config/CameraModel.h"
#include "config/ConfigFile.h"
#include "config/Localiser.h"
#include "config/StoredFile.h"
#include "config/Translations.h"
#include "config/UnreadableFiles.h"
#include "config/frmSceltaLingua.h"
#include "events/EventStore.h"
#include "events/SessionLog.h"
#include "joystick/JoystickLauncher.h"
#include "link/Clock.h"
#include "link/LinkMonitor.h"
#include "link/NetworkChannel.h"
#include "link/Operations.h"
#include "link/Session.h"
#include "link/StatusPolls.h"
#include "link/Traffic.h"
#include "panel/AuxPad.h"
#include "panel/KeyboardRouting.h"
#include "panel/PresetPad.h"
#include "panel/PtzPad.h"
#include "panel/SelectionPad.h"
#include "panel/StatusDisplay.h"
#include "remote/VideohubServer.h"
#include "terminal/LogCommands.h"
#include "terminal/Modem.h"
#include "terminal/PortMenu.h"
#include "terminal/PortProfile.h"
#include "terminal/PortPrompts.h"
#include "terminal/Transmission.h"
#include "ui/ColourButton.h"
#include "ui/DatagramSocket.h"
#include "ui/Dialogs.h"
#include "ui/FramePacer.h"
#include "ui/Latin1Validator.h"
#include "ui/ProgramIcon.h"
#include "ui/Retranslator.h"
#include "ui/SerialPort.h"
#include "ui/SettingsStore.h"
#include "ui/Timer.h"
#include "ui/Twips.h"
#include "web/WebServer.h"

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
#include <QScopeGuard>
#include <QScreen>
#include <QScrollBar>

namespace {
// The panel's client area in twips: the keypads above, the terminal below.
constexpr int clientWidth = 8640;
constexpr int clientHeight = 4860;
// How long the status bar names a file that is there and was not used.
constexpr int fileNoteMs = 30000;
} // namespace

frmTerminal::frmTerminal(app::Controller &controller, ui::Dialogs &dialogs, QWidget *parent)
    : QMainWindow(parent)
    , m_controller(controller)
    , m_port(controller.port())
    , m_dialogs(dialogs)
    , m_settings(controller.settings())
    , m_session(&controller.session()) {
    setObjectName(QStringLiteral("frmTerminal"));
    setWindowTitle(QStringLiteral("Velmar-Controller"));
    // Its dialogs, children of this window, show the same icon.
    setWindowIcon(ui::programIcon());

    m_codeBoxSink = std::make_unique<devicelink::SessionSink>(
        *m_session, devicelink::Origin{devicelink::Origin::Kind::CodeBox});
    m_TimerMove = new ui::Timer(QStringLiteral("TimerMove"), 1000, true, this);
    m_cameras = &controller.cameras();
    // A title renamed by another system is kept as the title dialog keeps it.
    controller.setTitleKeeper([this] { TimerMove_Timer(); });
    m_translations = new config::Translations(this);

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
    // A key held now lets go with its stop code while the pads are there.
    delete m_keyboard;
    // The panel goes while the link it sends through is still there: a
    // button held at that moment lets go with its stop code.
    delete takeCentralWidget();
}

void frmTerminal::buildControls(QWidget *central) {
    devicelink::Operations &operations = m_session->operations();
    m_txtTerm = new app::TerminalBox(central);
    ui::placeInTwips(m_txtTerm, 120, 2400, 8400, 1860);
    m_terminal = new app::Terminal(*m_txtTerm, *m_session, this);
    m_IPAD = new app::AddressBox(*m_session, central);
    ui::placeInTwips(m_IPAD->box(), 120, 4380, 1800, 300);
    m_Text1 = new QLineEdit(central);
    m_Text1->setObjectName(QStringLiteral("Text1"));
    ui::placeInTwips(m_Text1, 2040, 4380, 900, 300);
    m_Command1 = new QPushButton(central);
    m_Command1->setObjectName(QStringLiteral("Command1"));
    ui::placeInTwips(m_Command1, 3060, 4380, 900, 300);
    connect(m_Command1, &QPushButton::clicked, this, &frmTerminal::Command1_Click);
    // Enter in the code box sends it, as the Send button does.
    connect(m_Text1, &QLineEdit::returnPressed, m_Command1, &QPushButton::click);
    m_Text1->setValidator(new ui::Latin1Validator(m_Text1));
    ui::Retranslator::keep(central, [this, central] {
        m_Command1->setText(tr("Send"));
        m_Text1->setToolTip(tr("A command code in hexadecimal, as 35 for camera 5"));
        // What a screen reader calls the controls that have no caption.
        central->setAccessibleName(tr("Switcher panel"));
        menuBar()->setAccessibleName(tr("Menus"));
        m_txtTerm->setAccessibleName(tr("Terminal"));
        m_txtTerm->setAccessibleDescription(tr("What the serial line brings; keys typed here go "
                                               "out on the port. F6 goes back to the panel."));
        m_IPAD->box()->setAccessibleName(tr("Remote site address"));
        m_Text1->setAccessibleName(tr("Command code"));
    });

    m_selection = new panel::SelectionPad(central, m_menu->Mon, operations);
    m_ptz = new panel::PtzPad(central, operations);
    m_presets = new panel::PresetPad(central, operations);
    m_aux = new panel::AuxPad(central, operations);
    connect(m_cameras, &config::CameraModel::titleChanged, m_selection,
            &panel::SelectionPad::setTitle);

    // What the line brings shows in one repaint a frame.
    auto *frame = new ui::FramePacer(this);
    m_txtTerm->setPacer(*frame);
    m_status = std::make_unique<panel::StatusDisplay>(*this, m_selection->cameras(),
                                                      m_selection->monitors(), frame);
    // The keys show the routing model: lit as the replies said, marked
    // while what they show is from before a loss.
    connect(&m_session->routing(), &devicelink::RoutingModel::litChanged, this,
            [this] { m_status->show(m_session->routing().lit()); });
    // A monitor locked by another source is notched.
    connect(&operations, &devicelink::Switcher::monitorChanged, this, [this](int monitor) {
        const QString holder = m_session->operations().monitor(monitor).lockHolder;
        m_status->showLock(monitor, holder == QLatin1String("panel") ? QString() : holder);
    });
    m_portMenu = new terminal::PortMenu(m_session->serial(), m_dialogs, this);
    m_logCommands =
        new terminal::LogCommands(m_session->log(), m_dialogs, *m_menu->mnuCloseLog, *this);
    // A failed write to the terminal's log is asked about outside the
    // receive handler that found it.
    connect(
        m_session, &devicelink::Session::logWriteFailed, this,
        [this](const QString &error) {
            const ui::Dialogs::Answer answer = m_dialogs.message(
                error, ui::Dialogs::Buttons::RetryCancel, ui::Dialogs::Icon::Critical);
            if (answer == ui::Dialogs::Answer::Retry) {
                m_session->retryLogWrite();
            } else {
                m_session->abandonLogWrite();
                m_logCommands->mnuCloseLog_Click();
            }
        },
        Qt::QueuedConnection);
    m_traffic = new devicelink::Traffic(*m_session, this);

    // Below the panel, outside its layout: whether the switcher is heard.
    m_monitor = &m_controller.linkMonitor();
    m_statusBar = new app::LinkStatusBar(*m_monitor, *m_session, this);
    setStatusBar(m_statusBar);
    m_unreadable = new config::UnreadableFiles(this);
    connect(m_unreadable, &config::UnreadableFiles::reported, m_statusBar,
            [this](const QString &message) { m_statusBar->showMessage(message, fileNoteMs); });
    connect(m_translations, &config::Translations::notUsed, m_unreadable,
            &config::UnreadableFiles::note);

    // Other control-room systems route through a Videohub server, off
    // unless settings.ini turns it on; the bar says how it listens.
    remote::VideohubServer *videohub = &m_controller.videohub();
    const auto showVideohub = [this, videohub] {
        const bool on = videohub->state() != remote::VideohubServer::State::Off;
        const QStringList clients = videohub->clients();
        m_statusBar->setSideNote(
            QStringLiteral("videohubState"),
            on ? tr("Videohub: %1").arg(clients.size()) : QString(),
            tr("Videohub server: %1; clients connected: %2")
                    .arg(videohub->stateText())
                    .arg(clients.size()) +
                (clients.isEmpty() ? QString()
                                   : QStringLiteral("\n") + clients.join(QStringLiteral("\n"))),
            videohub->state() == remote::VideohubServer::State::Failed);
    };
    connect(videohub, &remote::VideohubServer::stateChanged, this, showVideohub);
    connect(videohub, &remote::VideohubServer::clientsChanged, this, showVideohub);
    // The browser panel and the message bus, in a word each while they are
    // on; the whole state in their tooltips.
    web::WebServer *web = &m_controller.web();
    const auto showWeb = [this, web] {
        const bool on = web->state() != web::WebServer::State::Off;
        m_statusBar->setSideNote(QStringLiteral("webState"), on ? tr("Web") : QString(),
                                 web->stateText(), web->state() == web::WebServer::State::Failed);
    };
    connect(web, &web::WebServer::stateChanged, this, showWeb);
    bus::BusClient *bus = &m_controller.bus();
    const auto showBus = [this, bus] {
        using State = bus::BusClient::State;
        const State state = bus->state();
        m_statusBar->setSideNote(QStringLiteral("mqttState"),
                                 state == State::Off         ? QString()
                                 : state == State::Connected ? tr("MQTT")
                                                             : tr("MQTT: no"),
                                 bus->stateText(), state == State::NotConnected);
    };
    connect(bus, &bus::BusClient::stateChanged, this, showBus);
    connect(m_translations, &config::Translations::changed, this, [showWeb, showBus] {
        showWeb();
        showBus();
    });
    // automation.ini that cannot be used, or lines of it left out, are said once.
    automation::Engine *engine = &m_controller.automation();
    connect(engine, &automation::Engine::fileNotUsed, m_unreadable, &config::UnreadableFiles::note);
    connect(engine, &automation::Engine::linesLeftOut, m_statusBar,
            [this](const QString &message) { m_statusBar->showMessage(message, fileNoteMs); });
    connect(m_translations, &config::Translations::changed, this, showVideohub);

    // Routing from the keyboard; the focus starts on the panel.
    m_keyboard = new panel::KeyboardRouting(
        {*central, *m_txtTerm, QList<QWidget *>{m_txtTerm, m_IPAD->box(), m_Text1},
         *m_selection->cameras().first(), operations, *m_ptz, &m_controller.automation()},
        this);
    connect(m_keyboard, &panel::KeyboardRouting::entryChanged, m_statusBar,
            &app::LinkStatusBar::showKeyboardEntry);

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
    connect(m.mnuOpen, &QAction::triggered, this, &frmTerminal::mnuOpen_Click);
    connect(&m_session->serial(), &devicelink::SerialChannel::stateChanged, this,
            &frmTerminal::showPortState);

    connect(m.mnuOpenLog, &QAction::triggered, m_logCommands,
            &terminal::LogCommands::mnuOpenLog_Click);
    connect(m.mnuCloseLog, &QAction::triggered, m_logCommands,
            &terminal::LogCommands::mnuCloseLog_Click);

    m_transmission = new terminal::Transmission(*m_session, m_dialogs, *m.mnuSendText, *this);
    connect(m.mnuSendText, &QAction::triggered, m_transmission,
            &terminal::Transmission::mnuSendText_Click);

    m_modem = new terminal::Modem(*m_session, *m_portMenu, m_dialogs, *m.mnuHangUp, this);
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

    m_windows =
        new app::Windows({*this, *this, *m_cameras, storage(), [this] { return positionInTwips(); },
                          *m_session, *m_portMenu, *m_ptz->HScroll1(), *m_ptz->HScroll2(),
                          m_dialogs, m_settings, *m_traffic, &m_controller.automation()},
                         m);
    connect(m_statusBar->openTraffic(), &QPushButton::clicked, m_windows,
            &app::Windows::openTraffic);
    connect(m_statusBar->openControlRoom(), &QPushButton::clicked, m_windows,
            &app::Windows::openControlRoom);
    connect(m_windows, &app::Windows::fileNotUsed, m_unreadable, &config::UnreadableFiles::note);
    connect(m_keyboard, &panel::KeyboardRouting::keysRequested, m_windows, &app::Windows::openKeys);
}

void frmTerminal::showPortState() {
    // The one place the menu follows the port: its check mark, and the
    // entries that need an open port.
    const bool open = m_session->serial().isOpen();
    m_menu->mnuOpen->setChecked(open);
    m_menu->mnuSendText->setEnabled(open);
    m_menu->mnuHangUp->setEnabled(open);
    m_menu->mnuDial->setEnabled(true);
}

void frmTerminal::attachEventLog(events::EventStore &store) {
    // The session is recorded in it (main() has the controller do so already).
    m_controller.recordIn(store);
    m_windows->setEventLog(store.path());
    // A log that cannot be written never stops the panel: the bar says so,
    // once, until it writes again.
    const auto showLog = [this](bool writing, const QString &reason) {
        m_statusBar->setSideNote(QStringLiteral("eventLogState"),
                                 writing ? QString() : tr("Event log not written"),
                                 tr("The event log is not being written: %1").arg(reason), true);
    };
    // Once it writes again, the bar says so for a while.
    connect(&store, &events::EventStore::stateChanged, this,
            [this, showLog, was = store.isWriting()](bool writing, const QString &reason) mutable {
                showLog(writing, reason);
                if (writing && !was)
                    m_statusBar->showMessage(tr("The event log is written again"), fileNoteMs);
                was = writing;
            });
    showLog(store.isWriting(), store.reason());
    connect(m_translations, &config::Translations::changed, this,
            [showLog, &store] { showLog(store.isWriting(), store.reason()); });
    connect(&store, &events::EventStore::setAside, this, [this](const QString &file) {
        m_statusBar->showMessage(
            tr("The event log was damaged; it was set aside as %1 and a new one begun").arg(file),
            fileNoteMs);
    });
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

ui::StoragePaths &frmTerminal::storage() {
    return m_controller.storage();
}

void frmTerminal::setStorageFolder(const QString &folder) {
    m_controller.setStorageFolder(folder);
}

remote::VideohubServer &frmTerminal::videohub() {
    return m_controller.videohub();
}

void frmTerminal::mnuOpen_Click() {
    m_portMenu->mnuOpen_Click();
}

void frmTerminal::DecodeStatusReply(const QString &text) {
    const devicelink::ChannelChoice &channel = m_session->channel();
    m_session->DecodeStatusReply(text, channel.isSerial() ? m_session->serial().name()
                                                          : m_session->network().name());
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
        // The rest of the texts go with the captions: the file's translation
        // beside it, or the built-in English texts.
        m_translations->follow(lingua);
        config::Localiser::relabel(*captions, "frmTerminal", captioned());
        fitMenuBar();
        m_controller.router().languageChanged();
    }
    m_windows->ensureLanguageDialogs();
    if (captions)
        m_windows->relabel(*captions);
}

void frmTerminal::Command1_Click() {
    m_codeBoxSink->send(m_Text1->text());
}

void frmTerminal::Form_Load() {
    // However start-up ends, other systems may then route; ended by a signal
    // while one of its boxes was up, the program ends as soon as the box has gone.
    m_loading = true;
    const auto finish = qScopeGuard([this] {
        m_loading = false;
        bool cancel = false;
        if (m_signalled)
            Form_Unload(cancel);
        else
            m_controller.startServices();
    });
    m_session->addressSocket();
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
    if (m_signalled)
        return;
    readConfiguration();
    // A port map entry that names no port would leave its device unused and
    // the port open on another one without a word.
    if (const QString problem = m_port.mappingProblem(); !problem.isEmpty())
        m_dialogs.warning(problem);
    if (m_signalled)
        return;
    mnuOpen_Click();
    m_session->operations().PresetStep = 0;
    m_session->addressSocket();
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
        const QString error = ok ? m_port.setHandshaking(code) : tr("Type mismatch");
        if (!error.isEmpty()) {
            m_dialogs.warning(error);
            return false;
        }
    }
    if (const std::optional<bool> echo = stored.echoFlag())
        m_session->serial().setEchoEnabled(*echo);
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
        StoredFile(storage().configuration()).load({config::ConfigFile::lineCount});
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
        m_unreadable->note(storage().configuration(), stored.reason);
    if (reading.fresh) {
        for (int k = 1; k <= config::ConfigFile::cameras; ++k)
            m_cameras->setType(k, QStringLiteral("F"));
        // Titles a camera 1 without a title left behind would be overwritten
        // by the next rewrite; keep them beside it.
        if (config::ConfigFile::lines(stored.bytes).size() > 3)
            StoredFile(storage().configuration() + QStringLiteral(".bak")).replace(stored.bytes);
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
    config::StoredFile(storage().configuration()).replace(file.bytes());
}

void frmTerminal::endOnSignal() {
    if (m_ended)
        return;
    m_signalled = true;
    if (m_unloading || m_loading) {
        // The operator's own shutdown, or the start-up, is waiting (a box is
        // up): the box goes, and the shutdown goes on as if Ignore were
        // chosen, or the start-up stops there and the program ends.
        if (QWidget *box = QApplication::activeModalWidget())
            box->close();
        return;
    }
    bool cancel = false;
    Form_Unload(cancel);
}

void frmTerminal::Form_Unload(bool &Cancel) {
    m_unloading = true;
    const auto done = qScopeGuard([this] { m_unloading = false; });
    // A camera never outlives the program: every hold ends with its stop
    // code on the channel in use, before the sign-off and the port's close.
    m_keyboard->releaseAll();
    m_ptz->endHolds();
    if (joystick::JoystickLauncher *stick = m_windows->joystick())
        stick->stopMovement();
    // And every other source's: a browser's hold, a takeover's leftovers.
    m_session->operations().endAllMoves({devicelink::Origin::Kind::Shutdown});
    // On a remote site the polls stop and the sign-off goes to the site in
    // use, also when nothing was sent to it since it was picked.
    m_session->signOff({devicelink::Origin::Kind::Shutdown});
    if (m_session->serial().isOpen()) {
        if (!drainSerialOutput(Cancel))
            return;
        m_session->serial().closePort();
    }
    if (m_session->log().isOpen())
        m_logCommands->mnuCloseLog_Click();
    end();
}

bool frmTerminal::drainSerialOutput(bool &Cancel) {
    QDeadlineTimer deadline(m_drainTimeoutMs, Qt::PreciseTimer);
    // Ended from outside, nobody is there to answer: the line gets a few
    // seconds, then the port closes with what it still holds.
    QDeadlineTimer signalDeadline(signalDrainMs, Qt::PreciseTimer);
    while (m_session->serial().isOpen() && m_port.OutBufferCount() != 0) {
        if (m_signalled && signalDeadline.hasExpired())
            return true;
        // Let events run until some output has gone or the deadline passes;
        // nothing spins while the line drains.
        if (m_signalled || !deadline.hasExpired()) {
            const QDeadlineTimer &next = m_signalled ? signalDeadline : deadline;
            ui::waitOnOutput(m_port, static_cast<int>(qMax<qint64>(0, next.remainingTime())));
            continue;
        }
        const ui::Dialogs::Answer answer =
            m_dialogs.message(tr("Data cannot be sent"), ui::Dialogs::Buttons::AbortRetryIgnore,
                              ui::Dialogs::Icon::Question);
        if (m_signalled)
            return true;
        switch (answer) {
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
    m_controller.noteProgram(QStringLiteral("program ended"));
    m_controller.stopServices();
    m_session->polls().stop();
    m_session->operations().stopTimers();
    m_TimerMove->setEnabled(false);
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
