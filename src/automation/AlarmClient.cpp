#include "automation/AlarmClient.h"

#include "automation/AlarmRequest.h"
#include "automation/AlarmServer.h"

#include <QEventLoop>
#include <QLocalSocket>
#include <QTimer>

namespace automation {

namespace {
constexpr int answerTimeoutMs = 5000;
constexpr int maxAnswer = 1024;
} // namespace

int sendAlarm(const QString &input, const QString &state, QString &message, const QString &folder) {
    QString why;
    const std::optional<AlarmRequest> request = AlarmRequest::parse(
        "alarm " + input.trimmed().toLatin1() + ' ' + state.trimmed().toLower().toLatin1(), &why);
    if (!request) {
        message = QStringLiteral("--alarm N on|off: %1").arg(why);
        return 2;
    }
    const QString path =
        AlarmServer::socketPath(folder.isEmpty() ? AlarmServer::defaultFolder() : folder);

    QLocalSocket socket;
    QEventLoop loop;
    QTimer timeout;
    timeout.setSingleShot(true);
    timeout.setTimerType(Qt::PreciseTimer);
    QByteArray answer;
    bool connected = false;
    QObject::connect(&timeout, &QTimer::timeout, &loop, &QEventLoop::quit);
    QObject::connect(&socket, &QLocalSocket::connected, &loop, [&]() {
        connected = true;
        socket.write(request->line() + '\n');
    });
    QObject::connect(&socket, &QLocalSocket::readyRead, &loop, [&]() {
        answer += socket.read(maxAnswer - answer.size());
        if (answer.contains('\n') || answer.size() >= maxAnswer)
            loop.quit();
    });
    QObject::connect(&socket, &QLocalSocket::disconnected, &loop, &QEventLoop::quit);
    QObject::connect(&socket, &QLocalSocket::errorOccurred, &loop, [&]() {
        if (socket.state() != QLocalSocket::ConnectedState)
            loop.quit();
    });
    timeout.start(answerTimeoutMs);
    socket.connectToServer(path);
    if (socket.state() != QLocalSocket::UnconnectedState)
        loop.exec();
    if (socket.bytesAvailable() > 0 && answer.size() < maxAnswer)
        answer += socket.read(maxAnswer - answer.size());

    if (!connected) {
        message = QStringLiteral("no running velmar-controller answers on %1 (%2)")
                      .arg(path, socket.errorString());
        return 3;
    }
    const qsizetype end = answer.indexOf('\n');
    const std::optional<AlarmRequest::Answer> read =
        end < 0 ? std::nullopt : AlarmRequest::answer(answer.left(end + 1));
    if (!read) {
        message = QStringLiteral("velmar-controller gave no answer on %1").arg(path);
        return 3;
    }
    if (!read->ok) {
        message =
            QStringLiteral("alarm %1 %2: %3")
                .arg(QString::number(request->input),
                     request->active ? QStringLiteral("on") : QStringLiteral("off"), read->reason);
        return 1;
    }
    message = QStringLiteral("alarm %1 %2")
                  .arg(QString::number(request->input),
                       request->active ? QStringLiteral("on") : QStringLiteral("off"));
    return 0;
}

} // namespace automation
