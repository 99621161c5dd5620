#include "remote/VideohubServer.h"

#include "config/ConfigFile.h"
#include "remote/ClientConnection.h"
#include "remote/Protocol.h"
#include "remote/RoutePacer.h"
#include "remote/Router.h"
#include "ui/SettingsStore.h"

#include <QHostInfo>
#include <QRegularExpression>
#include <QSysInfo>
#include <QTcpSocket>
#include <utility>

namespace remote {

namespace {
const QString section = QStringLiteral("Videohub");
constexpr quint16 defaultPort = 9990;

bool isTrue(const QString &text) {
    const QString t = text.trimmed().toLower();
    return t == QLatin1String("true") || t == QLatin1String("1") || t == QLatin1String("yes") ||
           t == QLatin1String("on");
}

bool isHostName(const QString &name) {
    static const QRegularExpression label(
        QStringLiteral("^[A-Za-z0-9]([A-Za-z0-9-]{0,61}[A-Za-z0-9])?$"));
    if (name.isEmpty() || name.size() > 253)
        return false;
    const QStringList labels = name.split(QLatin1Char('.'));
    for (const QString &l : labels) {
        if (!label.match(l).hasMatch())
            return false;
    }
    return true;
}

QString endpoint(const QHostAddress &address, quint16 port) {
    if (address == QHostAddress(QHostAddress::Any))
        return VideohubServer::tr("[::]:%1 (IPv4 and IPv6)").arg(port);
    if (address.protocol() == QHostAddress::IPv6Protocol)
        return QLatin1Char('[') + address.toString() + QLatin1String("]:") + QString::number(port);
    return address.toString() + QLatin1Char(':') + QString::number(port);
}
} // namespace

VideohubServer::VideohubServer(Router &router, ui::SettingsStore &settings, QObject *parent)
    : QObject(parent)
    , m_router(router)
    , m_settings(settings)
    , m_pacer(new RoutePacer(router, this)) {
    QByteArray machine = QSysInfo::machineUniqueId();
    if (machine.isEmpty())
        machine = QSysInfo::machineHostName().toUtf8();
    m_uniqueId = protocol::uniqueId(machine);
    m_stateText = tr("off");
    connect(&m_server, &QTcpServer::newConnection, this, &VideohubServer::accept);
    connect(&m_router, &Router::inputLabelsChanged, this, &VideohubServer::inputLabelsChanged);
    connect(&m_router, &Router::outputLabelsChanged, this, &VideohubServer::outputLabelsChanged);
    connect(&m_router, &Router::routingChanged, this, &VideohubServer::routingChanged);
    // A flood of lock changes is one update to each client.
    m_locks.setSingleShot(true);
    m_locks.setInterval(0);
    m_locks.setTimerType(Qt::PreciseTimer);
    connect(&m_locks, &QTimer::timeout, this, &VideohubServer::locksChanged);
    connect(&m_router, &Router::locksChanged, this, [this] {
        if (!m_locks.isActive())
            m_locks.start();
    });
}

VideohubServer::~VideohubServer() {
    // The clients go without telling anyone: nothing listens any more.
    for (ClientConnection *client : std::as_const(m_clients))
        client->disconnect(this);
}

void VideohubServer::start() {
    stop();
    if (!isTrue(m_settings.value(section, QStringLiteral("Enabled"))))
        return;

    const QString addressText = m_settings.value(section, QStringLiteral("Address")).trimmed();
    const QString portText = m_settings.value(section, QStringLiteral("Port")).trimmed();
    bool isNumber = true;
    const uint port = portText.isEmpty() ? defaultPort : portText.toUInt(&isNumber);
    if (!isNumber || port > 65535) {
        setState(State::Failed, tr("cannot listen: Port=%1 is not a port number").arg(portText));
        return;
    }
    const QString name = addressText.isEmpty() ? QStringLiteral("127.0.0.1") : addressText;
    const QHostAddress address(name);
    if (!address.isNull()) {
        listenOn(address, addressText, quint16(port));
        return;
    }
    // A host name ("localhost", the panel's own name) is looked up without
    // holding the panel; the server listens on the address it names.
    if (!isHostName(name)) {
        setState(State::Failed,
                 tr("cannot listen: Address=%1 is not an address or host name").arg(addressText));
        return;
    }
    setState(State::Resolving, tr("resolving %1 ...").arg(name));
    m_lookup = QHostInfo::lookupHost(name, this, [this, addressText, port](const QHostInfo &info) {
        m_lookup = -1;
        QHostAddress found;
        // Its IPv4 address first: "localhost" names both loopbacks, and
        // clients fall back to IPv4.
        const QList<QHostAddress> addresses = info.addresses();
        for (const QHostAddress &a : addresses) {
            if (found.isNull() || (found.protocol() != QHostAddress::IPv4Protocol &&
                                   a.protocol() == QHostAddress::IPv4Protocol))
                found = a;
        }
        if (found.isNull()) {
            setState(State::Failed,
                     tr("cannot listen: Address=%1 does not resolve").arg(addressText));
            return;
        }
        listenOn(found, addressText, quint16(port));
    });
}

void VideohubServer::listenOn(QHostAddress address, const QString &addressText, quint16 port) {
    // "::" means every address, IPv4 as well, as users expect of it; Qt's
    // IPv6 any-address would leave IPv4 clients out.
    if (address == QHostAddress(QHostAddress::AnyIPv6))
        address = QHostAddress(QHostAddress::Any);

    // Beyond this machine only for the clients named in Allow: without a
    // valid list the server stays on the loopback.
    QString bad;
    m_allow = AllowList::parse(m_settings.value(section, QStringLiteral("Allow")), &bad);
    QString limited;
    if (!AllowList::plain(address).isLoopback()) {
        if (!m_allow.isValid())
            limited = tr("Allow=%1 is not an address or network").arg(bad);
        else if (m_allow.isEmpty())
            limited = tr("Address=%1 also needs Allow= to be set").arg(addressText);
        if (!limited.isEmpty())
            address = QHostAddress(QHostAddress::LocalHost);
    }

    if (!m_server.listen(address, port)) {
        setState(
            State::Failed,
            tr("cannot listen on %1: %2").arg(endpoint(address, port), m_server.errorString()));
        return;
    }
    // An entry that lets every address in works, and is said at once.
    m_warning = limited.isEmpty() && !m_allow.everyone().isEmpty()
                    ? tr("Allow=%1 lets every address connect").arg(m_allow.everyone())
                    : QString();
    remember();
    const QString where = endpoint(address, m_server.serverPort());
    QString text = limited.isEmpty() ? tr("listening on %1").arg(where)
                                     : tr("listening on %1 only: %2").arg(where, limited);
    if (!m_warning.isEmpty())
        text = tr("%1; %2").arg(text, m_warning);
    setState(State::Listening, text);
}

void VideohubServer::stop() {
    if (m_lookup >= 0)
        QHostInfo::abortHostLookup(std::exchange(m_lookup, -1));
    m_warning.clear();
    m_server.close();
    const bool hadClients = !m_clients.isEmpty();
    const QList<ClientConnection *> clients = std::exchange(m_clients, {});
    for (ClientConnection *client : clients) {
        client->disconnect(this);
        client->close();
        client->deleteLater();
    }
    setState(State::Off, tr("off"));
    if (hadClients)
        emit clientsChanged();
}

quint16 VideohubServer::port() const {
    return m_server.isListening() ? m_server.serverPort() : 0;
}

QStringList VideohubServer::clients() const {
    QStringList out;
    for (const ClientConnection *client : m_clients)
        out.append(client->name());
    return out;
}

void VideohubServer::setState(State state, const QString &text) {
    if (state == m_state && text == m_stateText)
        return;
    m_state = state;
    m_stateText = text;
    emit stateChanged();
}

void VideohubServer::accept() {
    bool changed = false;
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        if (!m_allow.allows(socket->peerAddress()) || !hasRoomFor(socket->peerAddress())) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        auto *client = new ClientConnection(socket, m_nextId++, this);
        if (m_blockTimeoutMs > 0)
            client->setBlockTimeout(m_blockTimeoutMs);
        connect(client, &ClientConnection::blockReceived, this,
                [this, client](const BlockParser::Block &block) { handle(*client, block); });
        connect(client, &ClientConnection::blockRefused, this,
                [this, client] { answer(*client, protocol::nak()); });
        connect(client, &ClientConnection::closed, this, [this, client] { dropClient(client); });
        m_clients.append(client);
        changed = true;
        m_router.clientCame(client->name(), socket->peerAddress());
        m_toldLocks.insert(client->id(), lockStates(*client));
        client->send(prelude(*client));
        client->start();
    }
    if (changed)
        emit clientsChanged();
}

bool VideohubServer::hasRoomFor(const QHostAddress &address) const {
    if (m_clients.size() >= maxClients)
        return false;
    const QHostAddress plain = AllowList::plain(address);
    int from = 0;
    for (const ClientConnection *client : m_clients)
        from += client->address() == plain;
    return from < maxPerAddress;
}

void VideohubServer::dropClient(ClientConnection *client) {
    if (m_clients.removeOne(client)) {
        m_answers.remove(client->id());
        m_toldLocks.remove(client->id());
        // What it held (locks, a camera) is free again.
        m_router.clientGone(client->name());
        client->deleteLater();
        emit clientsChanged();
    }
}

void VideohubServer::answer(ClientConnection &client, const QByteArray &bytes) {
    auto &queue = m_answers[client.id()];
    if (queue.empty()) {
        client.send(bytes);
        return;
    }
    queue.push_back(std::make_shared<Answer>(Answer{bytes, true}));
}

std::shared_ptr<VideohubServer::Answer> VideohubServer::deferAnswer(ClientConnection &client) {
    auto pending = std::make_shared<Answer>();
    m_answers[client.id()].push_back(pending);
    return pending;
}

void VideohubServer::flushAnswers(quint64 id) {
    const auto queue = m_answers.find(id);
    if (queue == m_answers.end())
        return;
    ClientConnection *client = nullptr;
    for (ClientConnection *c : std::as_const(m_clients)) {
        if (c->id() == id)
            client = c;
    }
    while (client && !queue->empty() && queue->front()->ready) {
        const QByteArray bytes = std::move(queue->front()->bytes);
        queue->pop_front();
        client->send(bytes);
    }
}

void VideohubServer::handle(ClientConnection &client, const BlockParser::Block &block) {
    using Kind = protocol::Request::Kind;
    using protocol::Status;
    const protocol::Request request =
        protocol::read(block, Router::inputCount, Router::outputCount);
    switch (request.kind) {
    case Kind::Ping:
        answer(client, protocol::ack());
        break;
    case Kind::DumpAll:
        answer(client, protocol::ack() + everything(client));
        break;
    case Kind::Dump: {
        QByteArray bytes;
        switch (request.status) {
        case Status::Preamble:
            bytes = protocol::block(protocol::preambleHeader,
                                    {QByteArray("Version: ") + protocol::version});
            break;
        case Status::Device:
            bytes = deviceBlock();
            break;
        case Status::InputLabels:
            bytes = inputLabelsBlock();
            break;
        case Status::OutputLabels:
            bytes = outputLabelsBlock();
            break;
        case Status::Locks:
            bytes = locksBlock(client);
            break;
        case Status::Routing:
            bytes = routingBlock();
            break;
        }
        answer(client, protocol::ack() + bytes);
        break;
    }
    case Kind::Routes: {
        // ACK once every route of the block has left; NAK when one was
        // refused (a lock) or could not leave (the port is closed), or when
        // the block does not fit the queue. What the switcher did follows.
        const std::shared_ptr<Answer> pending = deferAnswer(client);
        const quint64 id = client.id();
        const auto settle = [this, id, pending](bool left) {
            pending->bytes = left ? protocol::ack() : protocol::nak();
            pending->ready = true;
            flushAnswers(id);
        };
        if (!m_pacer->offer(id, client.name(), request.routes, settle))
            settle(false);
        break;
    }
    case Kind::Locks: {
        // ACK when every line of the block was done; NAK when one was
        // refused (another's lock, a priority too low).
        struct Tally {
            qsizetype left;
            bool all = true;
        };
        const std::shared_ptr<Answer> pending = deferAnswer(client);
        auto tally = std::make_shared<Tally>(Tally{request.locks.size()});
        const quint64 id = client.id();
        for (const protocol::LockRequest &lock : request.locks)
            m_router.lock(lock.output, lock.action, client.name(),
                          [this, id, pending, tally](bool done) {
                              tally->all = tally->all && done;
                              if (--tally->left > 0)
                                  return;
                              pending->bytes = tally->all ? protocol::ack() : protocol::nak();
                              pending->ready = true;
                              flushAnswers(id);
                          });
        break;
    }
    case Kind::InputLabels:
        renameInputs(client, request.labels);
        break;
    case Kind::Refused:
        answer(client, protocol::nak());
        break;
    }
}

// Titles are kept in the configuration file: one that it would read back
// otherwise (camera 1 without a title reads as a new file, and its titles,
// types and language would be replaced) is refused, and so is a client past
// its allowance of renames. Nothing of a refused block is done.
void VideohubServer::renameInputs(ClientConnection &client,
                                  const QList<std::pair<int, QString>> &labels) {
    for (const auto &[input, label] : labels) {
        if (!config::ConfigFile::keepsTitle(input + 1, label)) {
            answer(client, protocol::nak());
            return;
        }
    }
    if (!client.spendLabels(int(labels.size()))) {
        answer(client, protocol::nak());
        return;
    }
    // One update for the whole block, after the ACK.
    answer(client, protocol::ack());
    m_holdLabels = true;
    for (const auto &[input, label] : labels)
        m_router.setInputLabel(input, label);
    m_holdLabels = false;
    inputLabelsChanged();
}

void VideohubServer::broadcast(const QByteArray &bytes) {
    // A client dropped for not reading leaves the list while it is walked.
    const QList<ClientConnection *> clients = m_clients;
    for (ClientConnection *client : clients)
        client->send(bytes);
}

QByteArray VideohubServer::prelude(const ClientConnection &client) const {
    return protocol::block(protocol::preambleHeader,
                           {QByteArray("Version: ") + protocol::version}) +
           everything(client) + protocol::block(protocol::endPreludeHeader);
}

QByteArray VideohubServer::everything(const ClientConnection &client) const {
    return deviceBlock() + inputLabelsBlock() + outputLabelsBlock() + locksBlock(client) +
           routingBlock();
}

QByteArray VideohubServer::deviceBlock() const {
    return protocol::block(protocol::deviceHeader,
                           {
                               "Device present: true",
                               QByteArray("Model name: ") + protocol::modelName,
                               "Unique ID: " + m_uniqueId,
                               "Video inputs: " + QByteArray::number(Router::inputCount),
                               "Video processing units: 0",
                               "Video outputs: " + QByteArray::number(Router::outputCount),
                               "Video monitoring outputs: 0",
                               "Serial ports: 0",
                           });
}

QByteArray VideohubServer::inputLabelsBlock() const {
    QByteArrayList lines;
    for (int i = 0; i < Router::inputCount; ++i)
        lines.append(protocol::labelLine(i, m_router.inputLabel(i)));
    return protocol::block(protocol::inputLabelsHeader, lines);
}

QByteArray VideohubServer::outputLabelsBlock() const {
    QByteArrayList lines;
    for (int o = 0; o < Router::outputCount; ++o)
        lines.append(protocol::labelLine(o, m_router.outputLabel(o)));
    return protocol::block(protocol::outputLabelsHeader, lines);
}

QByteArray VideohubServer::lockStates(const ClientConnection &client) const {
    QByteArray states;
    for (int o = 0; o < Router::outputCount; ++o) {
        switch (m_router.lockOf(o, client.name())) {
        case Router::Lock::Own:
            states += 'O';
            break;
        case Router::Lock::Other:
            states += 'L';
            break;
        case Router::Lock::None:
            states += 'U';
            break;
        }
    }
    return states;
}

QByteArray VideohubServer::locksBlock(const ClientConnection &client) const {
    const QByteArray states = lockStates(client);
    QByteArrayList lines;
    for (int o = 0; o < Router::outputCount; ++o)
        lines.append(protocol::lockLine(o, states[o]));
    return protocol::block(protocol::locksHeader, lines);
}

void VideohubServer::locksChanged() {
    // Each client is told only what changed for it.
    const QList<ClientConnection *> clients = m_clients;
    for (ClientConnection *client : clients) {
        const QByteArray now = lockStates(*client);
        QByteArray &told = m_toldLocks[client->id()];
        QByteArrayList lines;
        for (int o = 0; o < Router::outputCount; ++o) {
            if (told.size() != now.size() || told[o] != now[o])
                lines.append(protocol::lockLine(o, now[o]));
        }
        told = now;
        if (!lines.isEmpty())
            client->send(protocol::block(protocol::locksHeader, lines));
    }
}

QByteArray VideohubServer::routingBlock() const {
    // Only what the switcher has reported and is current: a client is never
    // told a camera nobody knows to be there.
    QByteArrayList lines;
    for (int o = 0; o < Router::outputCount; ++o) {
        if (const int input = m_router.routedInput(o); input >= 0)
            lines.append(protocol::routeLine(o, input));
    }
    return protocol::block(protocol::routingHeader, lines);
}

void VideohubServer::remember() {
    m_inputLabels.clear();
    for (int i = 0; i < Router::inputCount; ++i)
        m_inputLabels.append(m_router.inputLabel(i));
    m_outputLabels.clear();
    m_routing.clear();
    for (int o = 0; o < Router::outputCount; ++o) {
        m_outputLabels.append(m_router.outputLabel(o));
        m_routing.append(m_router.routedInput(o));
    }
}

// A change goes to every client as the protocol's status update: the block's
// header and only the entries that changed.
void VideohubServer::inputLabelsChanged() {
    if (!m_server.isListening() || m_holdLabels)
        return;
    QByteArrayList lines;
    for (int i = 0; i < Router::inputCount; ++i) {
        const QString label = m_router.inputLabel(i);
        if (label != m_inputLabels[i]) {
            m_inputLabels[i] = label;
            lines.append(protocol::labelLine(i, label));
        }
    }
    if (!lines.isEmpty())
        broadcast(protocol::block(protocol::inputLabelsHeader, lines));
}

void VideohubServer::outputLabelsChanged() {
    if (!m_server.isListening())
        return;
    QByteArrayList lines;
    for (int o = 0; o < Router::outputCount; ++o) {
        const QString label = m_router.outputLabel(o);
        if (label != m_outputLabels[o]) {
            m_outputLabels[o] = label;
            lines.append(protocol::labelLine(o, label));
        }
    }
    if (!lines.isEmpty())
        broadcast(protocol::block(protocol::outputLabelsHeader, lines));
}

void VideohubServer::routingChanged() {
    if (!m_server.isListening())
        return;
    QByteArrayList lines;
    for (int o = 0; o < Router::outputCount; ++o) {
        const int input = m_router.routedInput(o);
        if (input != m_routing[o]) {
            m_routing[o] = input;
            // A monitor that is no longer known is left out until the
            // switcher reports it again, which is then sent.
            if (input >= 0)
                lines.append(protocol::routeLine(o, input));
        }
    }
    if (!lines.isEmpty())
        broadcast(protocol::block(protocol::routingHeader, lines));
}

} // namespace remote
