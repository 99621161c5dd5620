#include "app/Headless.h"

#include "app/Controller.h"
#include "automation/AlarmServer.h"
#include "automation/Engine.h"
#include "bus/BusClient.h"
#include "config/CameraModel.h"
#include "config/ConfigFile.h"
#include "config/StoredFile.h"
#include "link/ChannelChoice.h"
#include "link/LinkMonitor.h"
#include "link/Operations.h"
#include "link/Session.h"
#include "link/StatusPolls.h"
#include "remote/VideohubServer.h"
#include "terminal/PortProfile.h"
#include "ui/SerialPort.h"
#include "ui/SettingsStore.h"
#include "web/WebServer.h"

#include <QDeadlineTimer>
#include <QTimer>

namespace app {

using devicelink::Origin;

Headless::Headless(Controller &controller, std::FILE *log, QObject *parent)
    : QObject(parent)
    , m_controller(controller)
    , m_log(log) {
    devicelink::LinkMonitor &monitor = controller.linkMonitor();
    connect(&monitor, &devicelink::LinkMonitor::changed, this, &Headless::sayLink);
    devicelink::Session &session = controller.session();
    // Once per command that did not leave, with who asked and why.
    connect(&session, &devicelink::Session::frameNotSent, this,
            [this](const devicelink::Frame &frame) {
                say(QStringLiteral("%1 (%2)").arg(frame.meaning, frame.origin.text()));
            });
    connect(&session.operations(), &devicelink::Switcher::refused, this,
            [this](const Origin &origin, const devicelink::Outcome &outcome) {
                if (outcome.kind == devicelink::Outcome::Kind::Refused)
                    say(QStringLiteral("refused for %1: %2").arg(origin.text(), outcome.reason));
            });
    connect(&session.operations(), &devicelink::Switcher::decided, this,
            [this](const Origin &origin, const QString &what) {
                say(QStringLiteral("%1 (%2)").arg(what, origin.text()));
            });
    remote::VideohubServer &videohub = controller.videohub();
    connect(&videohub, &remote::VideohubServer::stateChanged, this, [this, &videohub] {
        say(QStringLiteral("Videohub server: %1").arg(videohub.stateText()));
    });
    web::WebServer &web = controller.web();
    connect(&web, &web::WebServer::stateChanged, this,
            [this, &web] { say(QStringLiteral("Browser panel: %1").arg(web.stateText())); });
    bus::BusClient &bus = controller.bus();
    connect(&bus, &bus::BusClient::connectedChanged, this,
            [this](bool connected, const QString &reason) {
                say(connected ? QStringLiteral("MQTT: connected %1").arg(reason).trimmed()
                              : QStringLiteral("MQTT: not connected: %1").arg(reason));
            });
    automation::Engine &engine = controller.automation();
    connect(&engine, &automation::Engine::noted, this,
            [this](const QString &origin, const QString &what) {
                say(QStringLiteral("%1 (%2)").arg(what, origin));
            });
    connect(&engine, &automation::Engine::fileNotUsed, this,
            [this](const QString &path, const QString &reason) {
                say(QStringLiteral("%1 is not used: %2").arg(path, reason));
            });
    connect(&engine, &automation::Engine::linesLeftOut, this, &Headless::say);
    connect(&controller.alarmServer(), &automation::AlarmServer::stateChanged, this,
            [this](const QString &state) { say(QStringLiteral("Alarm inputs: %1").arg(state)); });
    controller.setTitleKeeper([this] { keepTitles(); });
}

void Headless::say(const QString &line) {
    std::fprintf(m_log, "velmar-controller: %s\n", qPrintable(line));
    std::fflush(m_log);
}

void Headless::sayLink() {
    // What the bar's first line says; the answer's age changes with every
    // reply and is left out, its kind is not.
    const devicelink::LinkMonitor &monitor = m_controller.linkMonitor();
    const QString line = QStringLiteral("%1 | %2").arg(monitor.stateText(), monitor.channelText());
    if (line == m_lastLink)
        return;
    m_lastLink = line;
    say(line);
}

void Headless::readTitles() {
    using config::StoredFile;
    const StoredFile::Contents stored =
        StoredFile(m_controller.storage().configuration()).load({config::ConfigFile::lineCount});
    if (stored.presence == StoredFile::Presence::Unreadable) {
        say(QStringLiteral("%1 cannot be read (%2): the built-in titles are used")
                .arg(m_controller.storage().configuration(), stored.reason));
        return;
    }
    const config::ConfigReading reading = config::ConfigFile::read(stored.bytes);
    if (reading.fresh)
        return;
    config::CameraModel &cameras = m_controller.cameras();
    for (int k = 1; k <= config::ConfigFile::cameras; ++k) {
        cameras.setType(k, reading.file.types[k - 1]);
        cameras.setTitle(k, reading.file.titles[k - 1]);
    }
    cameras.setLanguageFile(reading.file.languageFile);
    m_left = reading.left;
    m_top = reading.top;
    m_languageFile = reading.file.languageFile;
    m_titlesRead = true;
}

void Headless::keepTitles() {
    // Only a file that was read is written back, its other lines as they were.
    if (!m_titlesRead)
        return;
    const config::CameraModel &cameras = m_controller.cameras();
    config::ConfigFile file;
    file.left = m_left;
    file.top = m_top;
    for (int k = 1; k <= config::ConfigFile::cameras; ++k) {
        file.titles.append(cameras.title(k));
        file.types.append(cameras.type(k));
    }
    file.languageFile = m_languageFile;
    config::StoredFile(m_controller.storage().configuration()).replace(file.bytes());
}

bool Headless::applyPortSettings() {
    ui::SerialPort &port = m_controller.port();
    const terminal::PortProfile stored = terminal::PortProfile::read(m_controller.settings());
    if (!stored.settings.isEmpty()) {
        if (const QString error = port.setSettings(stored.settings); !error.isEmpty()) {
            say(QStringLiteral("the stored port settings %1 are refused: %2")
                    .arg(stored.settings, error));
            return false;
        }
    }
    if (!stored.commPort.isEmpty()) {
        bool ok = false;
        const short n = stored.commPort.trimmed().toShort(&ok);
        if (ok)
            port.setCommPort(n);
    }
    if (!stored.handshaking.isEmpty()) {
        bool ok = false;
        const int code = stored.handshaking.trimmed().toInt(&ok);
        const QString error = ok ? port.setHandshaking(code) : QStringLiteral("Type mismatch");
        if (!error.isEmpty()) {
            say(QStringLiteral("the stored handshaking %1 is refused: %2")
                    .arg(stored.handshaking, error));
            return false;
        }
    }
    return true;
}

bool Headless::start() {
    devicelink::Session &session = m_controller.session();
    readTitles();
    if (!applyPortSettings())
        return false;
    if (const QString problem = m_controller.port().mappingProblem(); !problem.isEmpty())
        say(problem);
    // A remote site when [Headless] Site= names one; the serial port otherwise.
    const QString site =
        m_controller.settings().value(QStringLiteral("Headless"), QStringLiteral("Site")).trimmed();
    if (!site.isEmpty())
        session.setChannel(devicelink::ChannelChoice::fromAddress(site));
    session.addressSocket();
    if (const QString error = session.serial().openPort(); !error.isEmpty())
        say(QStringLiteral("the port does not open: %1").arg(error));
    sayLink();
    m_controller.startServices();
    return true;
}

void Headless::end() {
    if (m_ending)
        return;
    m_ending = true;
    devicelink::Session &session = m_controller.session();
    // No camera outlives the program; then the sign-off, as the panel's Exit.
    session.operations().endAllMoves({Origin::Kind::Shutdown});
    session.signOff({Origin::Kind::Shutdown});
    ui::SerialPort &port = m_controller.port();
    QDeadlineTimer deadline(drainMs, Qt::PreciseTimer);
    while (session.serial().isOpen() && port.OutBufferCount() != 0 && !deadline.hasExpired())
        ui::waitOnOutput(port, int(qMax<qint64>(0, deadline.remainingTime())));
    if (session.serial().isOpen())
        session.serial().closePort();
    m_controller.noteProgram(QStringLiteral("program ended"));
    m_controller.stopServices();
    session.polls().stop();
    session.operations().stopTimers();
    say(QStringLiteral("ended"));
    emit finished(0);
}

} // namespace app
