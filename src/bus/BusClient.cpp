#include "bus/BusClient.h"

#include "automation/Automation.h"
#include "bus/CameraOptions.h"
#include "bus/Command.h"
#include "bus/Discovery.h"
#include "bus/Payloads.h"
#include "config/CameraModel.h"
#include "events/Event.h"
#include "events/SessionLog.h"
#include "link/LinkMonitor.h"
#include "link/Switcher.h"

#include <QDateTime>
#include <QPointer>

namespace bus {

using devicelink::Done;
using devicelink::Outcome;

BusClient::BusClient(devicelink::Switcher &switcher, automation::Automation *automation,
                     devicelink::LinkMonitor &link, config::CameraModel &cameras,
                     events::SessionLog &log, ui::SettingsStore &settings, QObject *parent)
    : QObject(parent)
    , m_switcher(switcher)
    , m_automation(automation)
    , m_link(link)
    , m_cameras(cameras)
    , m_store(settings) {
    connect(&m_connection, &MqttConnection::stateChanged, this, &BusClient::onConnectionState);
    connect(&m_connection, &MqttConnection::connected, this, &BusClient::onConnected);
    connect(&m_connection, &MqttConnection::message, this, &BusClient::onMessage);

    connect(&m_switcher, &devicelink::Switcher::monitorChanged, this, &BusClient::publishMonitor);
    connect(&m_link, &devicelink::LinkMonitor::changed, this, &BusClient::publishLink);
    connect(&log, &events::SessionLog::noted, this, &BusClient::publishEvent);
    // A new title renames the camera on every monitor that shows it, and in
    // the choices Home Assistant offers.
    connect(&m_cameras, &config::CameraModel::titleChanged, this, [this] {
        for (int m = 1; m <= devicelink::Switcher::monitors; ++m)
            publishMonitor(m);
        m_discoveryDue.start();
    });
    if (m_automation) {
        connect(m_automation, &automation::Automation::tourChanged, this, [this](int tour) {
            publishTour(tour);
            m_discoveryDue.start();
        });
        connect(m_automation, &automation::Automation::alarmChanged, this,
                &BusClient::publishAlarm);
        connect(m_automation, &automation::Automation::salvosChanged, &m_discoveryDue,
                qOverload<>(&QTimer::start));
    }
    // Many changes at once (sixteen titles read) make one round of discovery.
    m_discoveryDue.setSingleShot(true);
    m_discoveryDue.setInterval(0);
    m_discoveryDue.setTimerType(Qt::PreciseTimer);
    connect(&m_discoveryDue, &QTimer::timeout, this, &BusClient::publishDiscovery);
}

BusClient::~BusClient() {
    stop();
}

void BusClient::start() {
    m_settings = BusSettings::read(m_store);
    if (!m_settings.enabled) {
        stop();
        return;
    }
    m_started = true;
    if (!m_settings.problem.isEmpty()) {
        m_connection.close(m_statusTopic, QByteArrayLiteral("offline"));
        emit stateChanged();
        report(false, m_settings.problem.english());
        return;
    }
    MqttConnection::Options options;
    options.host = m_settings.host;
    options.port = m_settings.port;
    options.user = m_settings.user;
    options.password = m_settings.password;
    options.caFile = m_settings.caFile;
    // One station, one client: a second start of the same station takes the
    // session over instead of both holding it.
    options.clientId = (m_settings.prefix + QLatin1Char('/') + m_settings.station).toUtf8();
    if (m_connection.state() == MqttConnection::State::Connected)
        m_connection.close(m_statusTopic, QByteArrayLiteral("offline"));
    m_statusTopic = topic(QStringLiteral("status"));
    options.willTopic = m_statusTopic;
    options.willPayload = QByteArrayLiteral("offline");
    m_connection.open(options);
}

void BusClient::stop() {
    const bool was = m_started;
    m_started = false;
    m_queue.dropWaiting(QStringLiteral("the message bus was stopped"));
    if (m_connection.state() != MqttConnection::State::Closed)
        m_connection.close(m_statusTopic, QByteArrayLiteral("offline"));
    m_published.clear();
    if (was)
        emit stateChanged();
}

BusClient::State BusClient::state() const {
    if (!m_started)
        return State::Off;
    if (!m_settings.problem.isEmpty())
        return State::NotConnected;
    switch (m_connection.state()) {
    case MqttConnection::State::Connecting:
        return State::Connecting;
    case MqttConnection::State::Connected:
        return State::Connected;
    case MqttConnection::State::Waiting:
        return State::NotConnected;
    case MqttConnection::State::Closed:
        break;
    }
    return State::Off;
}

QString BusClient::stateText() const {
    switch (state()) {
    case State::Off:
        return tr("MQTT: off");
    case State::Connecting:
        return tr("MQTT: connecting to %1").arg(m_connection.where());
    case State::Connected:
        return tr("MQTT: connected to %1").arg(m_connection.where());
    case State::NotConnected:
        break;
    }
    if (!m_settings.problem.isEmpty())
        return tr("MQTT: not connected: %1").arg(m_settings.problem.translated());
    return tr("MQTT: not connected: %1, retry in %2 s")
        .arg(m_connection.reason().translated())
        .arg(m_connection.retrySeconds());
}

QString BusClient::reason() const {
    if (state() != State::NotConnected)
        return {};
    return m_settings.problem.isEmpty() ? m_connection.reason().english()
                                        : m_settings.problem.english();
}

void BusClient::onConnectionState() {
    if (!m_started)
        return;
    emit stateChanged();
    if (m_connection.state() == MqttConnection::State::Connected)
        report(true, {});
    else if (m_connection.state() == MqttConnection::State::Waiting)
        report(false, m_connection.reason().english());
}

void BusClient::report(bool connected, const QString &reason) {
    if (m_reported == int(connected) && m_reportedReason == reason)
        return;
    m_reported = int(connected);
    m_reportedReason = reason;
    emit connectedChanged(connected, reason);
}

QByteArray BusClient::topic(const QString &below) const {
    return (m_settings.base() + below).toUtf8();
}

QStringList BusClient::cameraOptions() const {
    QStringList titles;
    for (int k = 1; k <= devicelink::Switcher::cameras; ++k)
        titles << m_cameras.title(k);
    return bus::cameraOptions(titles);
}

devicelink::Origin BusClient::origin() const {
    return {devicelink::Origin::Kind::Bus, {}, m_settings.priority};
}

// --- State out ---------------------------------------------------------------

void BusClient::onConnected() {
    m_published.clear();
    m_discovered.clear();
    publishState(topic(QStringLiteral("status")), QByteArrayLiteral("online"));
    for (const QString &below : Command::subscriptions())
        m_connection.subscribe(topic(below));
    // The discovery configs the broker keeps for this station, from this run
    // or an earlier one: those no longer wanted are removed as they arrive.
    m_connection.subscribe((m_settings.discoveryPrefix + QStringLiteral("/+/") +
                            Discovery(m_settings).nodeId() + QStringLiteral("/+/config"))
                               .toUtf8());
    publishLink();
    for (int m = 1; m <= devicelink::Switcher::monitors; ++m)
        publishMonitor(m);
    if (m_automation) {
        for (const auto &tour : m_automation->tours())
            publishTour(tour.tour);
        for (const auto &alarm : m_automation->alarms())
            publishAlarm(alarm.input);
    }
    publishDiscovery();
    if (m_eventsDropped > 0)
        publishDropped();
}

void BusClient::publishState(const QByteArray &topic, const QByteArray &payload) {
    const auto it = m_published.constFind(topic);
    if (it != m_published.cend() && *it == payload)
        return;
    if (m_connection.publish(topic, payload, true))
        m_published.insert(topic, payload);
}

void BusClient::publishMonitor(int monitor) {
    if (monitor < 1 || monitor > devicelink::Switcher::monitors)
        return;
    const devicelink::Switcher::MonitorState state = m_switcher.monitor(monitor);
    const QString title = state.camera > 0 ? m_cameras.title(state.camera) : QString();
    publishState(topic(QStringLiteral("monitor/%1").arg(monitor)), Payloads::monitor(state, title));
}

void BusClient::publishLink() {
    publishState(topic(QStringLiteral("link")),
                 Payloads::link(m_link.level(), m_link.stateText(), m_link.channelText(),
                                m_link.answerText()));
}

void BusClient::publishTour(int tour) {
    if (!m_automation)
        return;
    for (const auto &state : m_automation->tours()) {
        if (state.tour == tour)
            publishState(topic(QStringLiteral("tour/%1").arg(tour)), Payloads::tour(state));
    }
}

void BusClient::publishAlarm(int input) {
    if (!m_automation)
        return;
    for (const auto &state : m_automation->alarms()) {
        if (state.input == input)
            publishState(topic(QStringLiteral("alarm/%1").arg(input)), Payloads::alarm(state));
    }
}

void BusClient::publishEvent(const events::Event &event) {
    if (!m_started)
        return;
    // A broker that reads slower than the link talks would have the library
    // hold every event until memory runs out: past a bound they are counted,
    // and the count goes out before the next event that does.
    const bool room = m_connection.state() == MqttConnection::State::Connected &&
                      m_connection.unwritten() < eventBacklog;
    if (room && (m_eventsDropped == 0 || publishDropped()) &&
        m_connection.publish(topic(QStringLiteral("events")), Payloads::event(event), false))
        return;
    ++m_eventsDropped;
    ++m_eventsDroppedTotal;
}

bool BusClient::publishDropped() {
    if (!m_connection.publish(
            topic(QStringLiteral("events")),
            Payloads::dropped(m_eventsDropped, QDateTime::currentMSecsSinceEpoch()), false))
        return false;
    m_eventsDropped = 0;
    return true;
}

void BusClient::publishDiscovery() {
    if (m_connection.state() != MqttConnection::State::Connected || !m_settings.discovery)
        return;
    const Discovery discovery(m_settings);
    QList<Discovery::Config> configs;
    const QStringList options = cameraOptions();
    for (int m = 1; m <= devicelink::Switcher::monitors; ++m)
        configs << discovery.monitor(m, options);
    configs << discovery.link();
    if (m_automation) {
        for (const QString &name : m_automation->salvos())
            configs << discovery.salvo(name);
        for (const auto &tour : m_automation->tours())
            configs << discovery.tour(tour.tour, tour.monitor);
    }
    QSet<QByteArray> wanted;
    for (const Discovery::Config &config : configs) {
        publishState(config.topic, config.payload);
        wanted.insert(config.topic);
    }
    // A salvo or tour that is gone: its retained config is cleared, and Home
    // Assistant removes the entity.
    for (const QByteArray &gone : m_discovered - wanted)
        publishState(gone, {});
    m_discovered = wanted;
}

// --- Commands in ---------------------------------------------------------------

void BusClient::onMessage(const QByteArray &topic, const QByteArray &payload, bool retained) {
    const QByteArray base = m_settings.base().toUtf8();
    if (!topic.startsWith(base)) {
        // A discovery config kept by the broker that this station no longer
        // wants (Discovery turned off, a salvo gone while the panel was off).
        if (retained && !payload.isEmpty() && !m_discovered.contains(topic) &&
            topic.startsWith((m_settings.discoveryPrefix + QLatin1Char('/')).toUtf8()))
            publishState(topic, {});
        return;
    }
    // A command kept by the broker would be carried out again at every
    // connection, long after whoever sent it meant it.
    if (retained) {
        answer(topic, Outcome::refused(QStringLiteral(
                          "a retained command is not carried out: publish it without retain")));
        return;
    }
    const Command command =
        Command::read(QByteArrayView(topic).sliced(base.size()), payload, cameraOptions());
    if (!command.valid()) {
        answer(topic, Outcome::refused(command.error));
        return;
    }
    run(topic, command);
}

void BusClient::run(const QByteArray &topic, const Command &c) {
    const devicelink::Origin by = origin();
    QPointer<BusClient> self(this);
    const Done reply = [self, topic](const Outcome &outcome) {
        if (self)
            self->answer(topic, outcome);
    };
    using Kind = Command::Kind;
    switch (c.kind) {
    case Kind::Route:
        m_queue.offer(
            [this, c, by](const Done &done) { m_switcher.route(c.monitor, c.camera, by, done); },
            reply);
        return;
    case Kind::RecallPreset:
        m_queue.offer(
            [this, c, by](const Done &done) {
                m_switcher.recallPreset(c.preset, by, c.camera, done);
            },
            reply);
        return;
    case Kind::Invalid:
        reply(Outcome::refused(c.error));
        return;
    default:
        break;
    }

    QPointer<automation::Automation> automation(m_automation);
    if (!automation) {
        reply(Outcome::refused(QStringLiteral("salvos, tours and alarms are not available")));
        return;
    }
    CommandQueue::Job job;
    switch (c.kind) {
    case Kind::RecallSalvo:
        if (!automation->salvos().contains(c.salvo)) {
            reply(Outcome::refused(QStringLiteral("no salvo named %1").arg(c.salvo)));
            return;
        }
        job = [automation, c, by](const Done &done) {
            if (automation)
                automation->recallSalvo(c.salvo, by, done);
            else
                done(Outcome::refused(QStringLiteral("the automation is gone")));
        };
        break;
    case Kind::StartTour:
    case Kind::StopTour:
        job = [automation, c, by](const Done &done) {
            if (!automation)
                done(Outcome::refused(QStringLiteral("the automation is gone")));
            else if (c.kind == Kind::StartTour)
                automation->startTour(c.tour, by, done);
            else
                automation->stopTour(c.tour, by, done);
        };
        break;
    default: // the alarm inputs
        job = [automation, c, by](const Done &done) {
            if (!automation)
                done(Outcome::refused(QStringLiteral("the automation is gone")));
            else if (c.kind == Kind::AckAlarm)
                automation->acknowledgeAlarm(c.alarm, by, done);
            else
                automation->setAlarm(c.alarm, c.kind == Kind::RaiseAlarm, by, done);
        };
        break;
    }
    m_queue.offer(std::move(job), reply);
}

void BusClient::answer(const QByteArray &topic, const Outcome &outcome) {
    m_connection.publish(this->topic(QStringLiteral("result")), Payloads::result(topic, outcome),
                         false);
}

} // namespace bus
