#include "automation/AlarmServer.h"

#include "automation/AlarmRequest.h"
#include "automation/Automation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QStandardPaths>
#include <QTimer>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace automation {

namespace {
// The folder exists, is a folder (not a link to one) of this user, and
// nobody else may enter it; made so when missing.
QString ownFolder(const QString &folder) {
#ifdef Q_OS_UNIX
    const QByteArray name = QFile::encodeName(folder);
    if (::mkdir(name.constData(), 0700) != 0 && errno != EEXIST) {
        const QString error = qt_error_string(errno);
        return QCoreApplication::translate("automation::AlarmServer", "cannot make %1 (%2)")
            .arg(folder, error);
    }
    struct stat st {};
    if (::lstat(name.constData(), &st) != 0) {
        const QString error = qt_error_string(errno);
        return QCoreApplication::translate("automation::AlarmServer", "cannot read %1 (%2)")
            .arg(folder, error);
    }
    if (!S_ISDIR(st.st_mode) || st.st_uid != ::getuid())
        return QCoreApplication::translate("automation::AlarmServer",
                                           "%1 is not a folder of this user")
            .arg(folder);
    if ((st.st_mode & 077) != 0)
        return QCoreApplication::translate("automation::AlarmServer",
                                           "%1 may be entered by other users")
            .arg(folder);
    return {};
#else
    return QDir().mkpath(folder)
               ? QString()
               : QCoreApplication::translate("automation::AlarmServer", "cannot make %1")
                     .arg(folder);
#endif
}
} // namespace

AlarmServer::AlarmServer(Automation &automation, QObject *parent)
    : QObject(parent)
    , m_automation(automation) {}

AlarmServer::~AlarmServer() {
    // The socket file goes with the server; clients still connected are cut.
    const QList<QLocalSocket *> clients = m_clients.keys();
    m_clients.clear();
    for (QLocalSocket *client : clients)
        delete client;
}

QString AlarmServer::defaultFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) +
           QStringLiteral("/velmar-controller");
}

QString AlarmServer::socketPath(const QString &folder) {
    return QDir(folder).filePath(QStringLiteral("alarm"));
}

bool AlarmServer::isListening() const {
    return m_server && m_server->isListening();
}

void AlarmServer::setState(const QString &state) {
    m_state = state;
    emit stateChanged(state);
}

void AlarmServer::listen(const QString &folder) {
    delete m_server;
    m_server = nullptr;
    if (const QString fault = ownFolder(folder); !fault.isEmpty()) {
        setState(tr("no alarm socket: %1").arg(fault));
        return;
    }
    m_path = socketPath(folder);
    if (!QFileInfo::exists(m_path)) {
        takeOver();
        return;
    }
    // A socket is there: a program that ended left it, or one runs and
    // answers on it. Asked without waiting.
    auto *probe = new QLocalSocket(this);
    connect(probe, &QLocalSocket::connected, this, [this, probe]() {
        probe->deleteLater();
        setState(tr("no alarm socket: another program answers on %1").arg(m_path));
    });
    connect(probe, &QLocalSocket::errorOccurred, this, [this, probe]() {
        probe->deleteLater();
        takeOver();
    });
    probe->connectToServer(m_path);
}

void AlarmServer::takeOver() {
#ifdef Q_OS_UNIX
    // Only a socket is removed: the folder is this user's, but a file put
    // there by mistake is not this program's to delete.
    struct stat st {};
    const QByteArray name = QFile::encodeName(m_path);
    if (::lstat(name.constData(), &st) == 0) {
        if (!S_ISSOCK(st.st_mode)) {
            setState(tr("no alarm socket: %1 is not a socket").arg(m_path));
            return;
        }
        ::unlink(name.constData());
    }
#else
    QLocalServer::removeServer(m_path);
#endif
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    m_server->setMaxPendingConnections(maxClients);
    connect(m_server, &QLocalServer::newConnection, this, &AlarmServer::accept);
    if (!m_server->listen(m_path)) {
        setState(tr("no alarm socket: %1").arg(m_server->errorString()));
        delete m_server;
        m_server = nullptr;
        return;
    }
    QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner);
    setState(tr("alarm socket: listening on %1").arg(m_path));
}

void AlarmServer::accept() {
    while (QLocalSocket *client = m_server->nextPendingConnection()) {
        if (m_clients.size() >= maxClients) {
            client->abort();
            client->deleteLater();
            continue;
        }
        m_clients.insert(client, {});
        // What a client may send beyond one line waits in the system's
        // buffer, not in this program's memory.
        client->setReadBufferSize(AlarmRequest::maxLine + 1);
        auto *timeout = new QTimer(client);
        timeout->setTimerType(Qt::PreciseTimer);
        timeout->setSingleShot(true);
        connect(timeout, &QTimer::timeout, this, [this, client]() { drop(client); });
        timeout->start(clientTimeoutMs);
        connect(client, &QLocalSocket::readyRead, this, [this, client]() { read(client); });
        connect(client, &QLocalSocket::disconnected, this, [this, client]() { drop(client); });
        read(client);
    }
}

void AlarmServer::read(QLocalSocket *client) {
    auto it = m_clients.find(client);
    if (it == m_clients.end())
        return;
    QByteArray &buffer = it.value();
    // At most a line's worth is read; more than that is not a request.
    buffer += client->read(AlarmRequest::maxLine + 1 - buffer.size());
    const qsizetype end = buffer.indexOf('\n');
    if (end < 0) {
        if (buffer.size() > AlarmRequest::maxLine) {
            m_clients.remove(client);
            answer(client, AlarmRequest::refusedLine(QStringLiteral("the line is too long")));
        }
        return;
    }
    const QByteArray line = buffer.left(end);
    m_clients.remove(client); // one request per connection
    QString why;
    const std::optional<AlarmRequest> request = AlarmRequest::parse(line, &why);
    if (!request) {
        answer(client, AlarmRequest::refusedLine(why));
        return;
    }
    QPointer<QLocalSocket> answerTo(client);
    m_automation.setAlarm(
        request->input, request->active,
        devicelink::Origin(devicelink::Origin::Kind::Remote, QStringLiteral("alarm socket")),
        [answerTo](const devicelink::Outcome &outcome) {
            if (answerTo)
                answer(answerTo, outcome.ok() ? AlarmRequest::okLine()
                                              : AlarmRequest::refusedLine(outcome.reason));
        });
}

void AlarmServer::answer(QLocalSocket *client, const QByteArray &line) {
    // The socket goes once its answer has left: deleted at once, it would
    // take the answer with it.
    connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
    client->write(line);
    client->disconnectFromServer();
    if (client->state() == QLocalSocket::UnconnectedState)
        client->deleteLater();
}

void AlarmServer::drop(QLocalSocket *client) {
    if (!m_clients.remove(client))
        return;
    client->abort();
    client->deleteLater();
}

} // namespace automation
