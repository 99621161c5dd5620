#include "bus/MqttConnection.h"

#include "bus/Mosquitto.h"

#include <QFile>
#include <QHostAddress>
#include <QHostInfo>
#include <QSocketNotifier>
#include <cerrno>
#include <cstring>

namespace bus {

namespace {

const Reason lost{QT_TRANSLATE_NOOP("bus::Reason", "the connection was lost")};

Reason fromResult(int result, int error, const QString &host) {
    switch (result) {
    case MOSQ_ERR_ERRNO:
        switch (error) {
        case ECONNREFUSED:
            return {QT_TRANSLATE_NOOP("bus::Reason", "the connection was refused")};
        case ETIMEDOUT:
            return {QT_TRANSLATE_NOOP("bus::Reason", "the broker did not answer")};
        case EHOSTUNREACH:
        case ENETUNREACH:
            return {QT_TRANSLATE_NOOP("bus::Reason", "the broker cannot be reached")};
        case ECONNRESET:
        case EPIPE:
        case 0:
            return lost;
        default:
            return {QT_TRANSLATE_NOOP("bus::Reason", "%1"),
                    {QString::fromLocal8Bit(std::strerror(error))}};
        }
    case MOSQ_ERR_CONN_LOST:
    case MOSQ_ERR_NO_CONN:
        return lost;
    case MOSQ_ERR_EAI:
    case MOSQ_ERR_LOOKUP:
        return {QT_TRANSLATE_NOOP("bus::Reason", "cannot resolve %1"), {host}};
    case MOSQ_ERR_TLS:
    case MOSQ_ERR_TLS_HANDSHAKE:
        return {QT_TRANSLATE_NOOP("bus::Reason", "the TLS handshake failed")};
    case MOSQ_ERR_KEEPALIVE:
        return {QT_TRANSLATE_NOOP("bus::Reason", "the broker stopped answering")};
    default: {
        // Results come from a loaded library, which explains them.
        const Mosquitto *lib = Mosquitto::load(nullptr);
        return {
            QT_TRANSLATE_NOOP("bus::Reason", "%1"),
            {lib ? QString::fromUtf8(lib->mosquitto_strerror(result)) : QString::number(result)}};
    }
    }
}

// The broker's answer to the connection (MQTT 3.1.1 return codes).
Reason fromConnack(int code, const QByteArray &clientId) {
    switch (code) {
    case 1:
        return {QT_TRANSLATE_NOOP("bus::Reason", "the broker refused the protocol version")};
    case 2:
        return {QT_TRANSLATE_NOOP("bus::Reason", "the broker refused the client id %1"),
                {QString::fromUtf8(clientId)}};
    case 3:
        return {QT_TRANSLATE_NOOP("bus::Reason", "the broker is unavailable")};
    case 4:
        return {QT_TRANSLATE_NOOP("bus::Reason", "the broker refused the user name or password")};
    case 5:
        return {QT_TRANSLATE_NOOP("bus::Reason", "the broker refused: not authorised")};
    default:
        return {QT_TRANSLATE_NOOP("bus::Reason", "the broker refused the connection (code %1)"),
                {QString::number(code)}};
    }
}

} // namespace

MqttConnection::MqttConnection(QObject *parent)
    : QObject(parent) {
    for (QTimer *timer : {&m_misc, &m_retry, &m_answer})
        timer->setTimerType(Qt::PreciseTimer);
    // The library's keep-alive and retries are checked about once a second.
    m_misc.setInterval(1000);
    connect(&m_misc, &QTimer::timeout, this, &MqttConnection::tick);
    m_retry.setSingleShot(true);
    connect(&m_retry, &QTimer::timeout, this, &MqttConnection::attempt);
    m_answer.setSingleShot(true);
    connect(&m_answer, &QTimer::timeout, this, [this] {
        lose({QT_TRANSLATE_NOOP("bus::Reason", "no answer within %1 s"),
              {QString::number(answerSeconds)}});
    });
}

MqttConnection::~MqttConnection() {
    teardown();
}

QString MqttConnection::where() const {
    const bool v6 = m_options.host.contains(QLatin1Char(':'));
    return (v6 ? QLatin1Char('[') + m_options.host + QLatin1Char(']') : m_options.host) +
           QLatin1Char(':') + QString::number(m_options.port);
}

void MqttConnection::open(const Options &options) {
    teardown();
    m_options = options;
    m_delay.reset();
    attempt();
}

void MqttConnection::close(const QByteArray &lastTopic, const QByteArray &lastPayload) {
    m_retry.stop();
    if (m_state == State::Connected && m_mosq) {
        // Both leave at once when the socket takes them; what it cannot take
        // now never leaves, and the broker then publishes the last will.
        if (!lastTopic.isEmpty())
            m_lib->mosquitto_publish(m_mosq, nullptr, lastTopic.constData(),
                                     int(lastPayload.size()), lastPayload.constData(), 0, true);
        m_lib->mosquitto_disconnect(m_mosq);
    }
    teardown();
    m_delay.reset();
    setState(State::Closed);
}

void MqttConnection::retryNow() {
    if (m_state == State::Waiting)
        attempt();
}

void MqttConnection::attempt() {
    teardown();
    m_retry.stop();
    setState(State::Connecting);
    m_answer.start(answerSeconds * 1000);
    // A name is looked up without blocking; libmosquitto's own lookup would
    // hold the event loop for as long as the resolver takes.
    if (QHostAddress().setAddress(m_options.host)) {
        connectTo(m_options.host);
        return;
    }
    m_lookup = QHostInfo::lookupHost(m_options.host, this, &MqttConnection::lookedUp);
}

void MqttConnection::lookedUp(const QHostInfo &info) {
    if (info.lookupId() != m_lookup)
        return;
    m_lookup = -1;
    if (info.error() != QHostInfo::NoError || info.addresses().isEmpty()) {
        lose({QT_TRANSLATE_NOOP("bus::Reason", "cannot resolve %1"), {m_options.host}});
        return;
    }
    // With TLS the broker's certificate is checked against the name, so the
    // library is given the name (the resolver has just answered for it).
    connectTo(m_options.caFile.isEmpty() ? info.addresses().first().toString() : m_options.host);
}

void MqttConnection::connectTo(const QString &target) {
    QString missing;
    m_lib = Mosquitto::load(&missing);
    if (!m_lib) {
        lose({QT_TRANSLATE_NOOP("bus::Reason", "cannot load libmosquitto: %1"), {missing}});
        return;
    }
    m_mosq = m_lib->mosquitto_new(
        m_options.clientId.isEmpty() ? nullptr : m_options.clientId.constData(), true, this);
    if (!m_mosq) {
        lose({QT_TRANSLATE_NOOP("bus::Reason", "%1"),
              {QString::fromUtf8(m_lib->mosquitto_strerror(MOSQ_ERR_NOMEM))}});
        return;
    }
    m_lib->mosquitto_int_option(m_mosq, MOSQ_OPT_PROTOCOL_VERSION, MQTT_PROTOCOL_V311);
    m_lib->mosquitto_int_option(m_mosq, MOSQ_OPT_TCP_NODELAY, 1);
    m_lib->mosquitto_connect_callback_set(m_mosq, &MqttConnection::onConnect);
    m_lib->mosquitto_disconnect_callback_set(m_mosq, &MqttConnection::onDisconnect);
    m_lib->mosquitto_message_callback_set(m_mosq, &MqttConnection::onMessage);
    m_lib->mosquitto_publish_callback_set(m_mosq, &MqttConnection::onPublish);
    if (!m_options.user.isEmpty()) {
        const QByteArray password = m_options.password.toUtf8();
        m_lib->mosquitto_username_pw_set(m_mosq, m_options.user.toUtf8().constData(),
                                         m_options.password.isEmpty() ? nullptr
                                                                      : password.constData());
    }
    if (!m_options.willTopic.isEmpty())
        m_lib->mosquitto_will_set(m_mosq, m_options.willTopic.constData(),
                                  int(m_options.willPayload.size()),
                                  m_options.willPayload.constData(), 1, true);
    if (!m_options.caFile.isEmpty() &&
        m_lib->mosquitto_tls_set(m_mosq, QFile::encodeName(m_options.caFile).constData(), nullptr,
                                 nullptr, nullptr, nullptr) != MOSQ_ERR_SUCCESS) {
        lose({QT_TRANSLATE_NOOP("bus::Reason", "cannot use the CA file %1"), {m_options.caFile}});
        return;
    }

    errno = 0;
    const int result = m_lib->mosquitto_connect_async(m_mosq, target.toUtf8().constData(),
                                                      m_options.port, keepAliveSeconds);
    const int error = errno;
    const int fd = m_mosq ? m_lib->mosquitto_socket(m_mosq) : -1;
    if (result != MOSQ_ERR_SUCCESS || fd < 0) {
        lose(fromResult(result, error, m_options.host));
        return;
    }
    m_read = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    connect(m_read.get(), &QSocketNotifier::activated, this, &MqttConnection::readable);
    m_write = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Write);
    connect(m_write.get(), &QSocketNotifier::activated, this, &MqttConnection::writable);
    m_misc.start();
    settle(MOSQ_ERR_SUCCESS, 0);
}

void MqttConnection::readable() {
    if (!m_mosq)
        return;
    errno = 0;
    const int result = m_lib->mosquitto_loop_read(m_mosq, 1);
    settle(result, errno);
}

void MqttConnection::writable() {
    if (!m_mosq)
        return;
    errno = 0;
    const int result = m_lib->mosquitto_loop_write(m_mosq, 1);
    settle(result, errno);
}

void MqttConnection::tick() {
    if (!m_mosq)
        return;
    errno = 0;
    const int result = m_lib->mosquitto_loop_misc(m_mosq);
    settle(result, errno);
}

void MqttConnection::settle(int result, int error) {
    if (!m_mosq)
        return;
    const quint64 generation = m_generation;
    if (m_connack >= 0) {
        const int code = m_connack;
        m_connack = -1;
        if (code != 0) {
            lose(fromConnack(code, m_options.clientId));
            return;
        }
        m_answer.stop();
        m_delay.reset();
        setState(State::Connected);
        emit connected();
        if (generation != m_generation)
            return;
    }
    while (!m_inbox.isEmpty()) {
        const Incoming in = m_inbox.takeFirst();
        emit message(in.topic, in.payload, in.retained);
        if (generation != m_generation)
            return;
    }
    if (m_dropped || result != MOSQ_ERR_SUCCESS || m_lib->mosquitto_socket(m_mosq) < 0) {
        lose(fromResult(m_dropped && m_dropCode != MOSQ_ERR_SUCCESS ? m_dropCode : result, error,
                        m_options.host));
        return;
    }
    m_write->setEnabled(m_lib->mosquitto_want_write(m_mosq));
}

void MqttConnection::lose(const Reason &why) {
    const bool wasConnected = m_state == State::Connected;
    teardown();
    m_retrySeconds = m_delay.fail();
    m_retry.start(m_retrySeconds * 1000);
    setState(State::Waiting, wasConnected && why.isEmpty() ? lost : why);
}

void MqttConnection::teardown() {
    ++m_generation;
    if (m_lookup >= 0) {
        QHostInfo::abortHostLookup(m_lookup);
        m_lookup = -1;
    }
    // The notifiers may be what called us: they go once we have returned.
    for (std::unique_ptr<QSocketNotifier> *notifier : {&m_read, &m_write}) {
        if (*notifier) {
            (*notifier)->setEnabled(false);
            notifier->release()->deleteLater();
        }
    }
    m_misc.stop();
    m_answer.stop();
    if (m_mosq) {
        m_lib->mosquitto_destroy(m_mosq);
        m_mosq = nullptr;
    }
    m_connack = -1;
    m_dropped = false;
    m_dropCode = 0;
    m_inbox.clear();
    m_unwritten = 0;
}

void MqttConnection::setState(State state, const Reason &why) {
    const int retry = state == State::Waiting ? m_retrySeconds : 0;
    if (state == m_state && why == m_reason && retry == m_retrySeconds)
        return;
    m_state = state;
    m_reason = why;
    m_retrySeconds = retry;
    emit stateChanged();
}

bool MqttConnection::publish(const QByteArray &topic, const QByteArray &payload, bool retain) {
    if (m_state != State::Connected || !m_mosq)
        return false;
    // The library may write the message, and call onPublish, before it returns.
    ++m_unwritten;
    errno = 0;
    const int result = m_lib->mosquitto_publish(
        m_mosq, nullptr, topic.constData(), int(payload.size()), payload.constData(), 0, retain);
    const int error = errno;
    if (result != MOSQ_ERR_SUCCESS) {
        --m_unwritten;
        if (result == MOSQ_ERR_ERRNO || result == MOSQ_ERR_CONN_LOST || result == MOSQ_ERR_NO_CONN)
            lose(fromResult(result, error, m_options.host));
        return false;
    }
    m_write->setEnabled(m_lib->mosquitto_want_write(m_mosq));
    return true;
}

bool MqttConnection::subscribe(const QByteArray &filter) {
    if (m_state != State::Connected || !m_mosq)
        return false;
    const bool ok =
        m_lib->mosquitto_subscribe(m_mosq, nullptr, filter.constData(), 0) == MOSQ_ERR_SUCCESS;
    if (m_mosq)
        m_write->setEnabled(m_lib->mosquitto_want_write(m_mosq));
    return ok;
}

void MqttConnection::onConnect(mosquitto *, void *self, int code) {
    static_cast<MqttConnection *>(self)->m_connack = code;
}

void MqttConnection::onDisconnect(mosquitto *, void *self, int code) {
    auto *me = static_cast<MqttConnection *>(self);
    me->m_dropped = true;
    me->m_dropCode = code;
}

void MqttConnection::onMessage(mosquitto *, void *self, const mosquitto_message *message) {
    auto *me = static_cast<MqttConnection *>(self);
    me->m_inbox.append(
        {QByteArray(message->topic),
         QByteArray(static_cast<const char *>(message->payload), message->payloadlen),
         message->retain});
}

void MqttConnection::onPublish(mosquitto *, void *self, int) {
    auto *me = static_cast<MqttConnection *>(self);
    if (me->m_unwritten > 0)
        --me->m_unwritten;
}

} // namespace bus
