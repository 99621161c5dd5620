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
                [client] { client->send(protocol::nak()); });
        connect(client, &ClientConnection::closed, this, [this, client] { dropClient(client); });
        m_clients.append(client);
        changed = true;
        client->send(prelude());
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
        client->deleteLater();
        emit clientsChanged();
    }
}

void VideohubServer::handle(ClientConnection &client, const BlockParser::Block &block) {
    using Kind = protocol::Request::Kind;
    using protocol::Status;
    const protocol::Request request =
        protocol::read(block, Router::inputCount, Router::outputCount);
    switch (request.kind) {
    case Kind::Ping:
        client.send(protocol::ack());
        break;
    case Kind::DumpAll:
        client.send(protocol::ack() + everything());
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
            bytes = locksBlock();
            break;
        case Status::Routing:
            bytes = routingBlock();
            break;
        }
        client.send(protocol::ack() + bytes);
        break;
    }
    case Kind::Routes:
        // The routes go first, so that one reaches the line as soon as it can;
        // ACK says the block was understood, what the switcher did follows.
        client.send(m_pacer->offer(client.id(), client.name(), request.routes) ? protocol::ack()
                                                                               : protocol::nak());
        break;
    case Kind::InputLabels:
        renameInputs(client, request.labels);
        break;
    case Kind::Refused:
        client.send(protocol::nak());
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
            client.send(protocol::nak());
            return;
        }
    }
    if (!client.spendLabels(int(labels.size()))) {
        client.send(protocol::nak());
        return;
    }
    // One update for the whole block, after the ACK.
    client.send(protocol::ack());
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

QByteArray VideohubServer::prelude() const {
    return protocol::block(protocol::preambleHeader,
                           {QByteArray("Version: ") + protocol::version}) +
           everything() + protocol::block(protocol::endPreludeHeader);
}

QByteArray VideohubServer::everything() const {
    return deviceBlock() + inputLabelsBlock() + outputLabelsBlock() + locksBlock() + routingBlock();
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

QByteArray VideohubServer::locksBlock() const {
    QByteArrayList lines;
    for (int o = 0; o < Router::outputCount; ++o)
        lines.append(QByteArray::number(o) + " U");
    return protocol::block(protocol::locksHeader, lines);
}

QByteArray VideohubServer::routingBlock() const {
    QByteArrayList lines;
    for (int o = 0; o < Router::outputCount; ++o)
        lines.append(protocol::routeLine(o, m_router.routedInput(o)));
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
            lines.append(protocol::routeLine(o, input));
        }
    }
    if (!lines.isEmpty())
        broadcast(protocol::block(protocol::routingHeader, lines));
}

} // namespace remote
