#include "Broker.h"

#include <QFile>
#include <QStandardPaths>
#include <QTcpServer>
#include <csignal>

namespace testbus {

Broker::Broker() {
    // A port nobody listens on now; the broker takes it a moment later.
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    m_port = probe.serverPort();
    probe.close();
    writeConfig();
}

void Broker::writeConfig() {
    QString text = QStringLiteral("listener %1 127.0.0.1\n"
                                  "persistence false\n"
                                  "log_dest stderr\n"
                                  "log_type error\n"
                                  "log_type warning\n"
                                  "log_type notice\n"
                                  "log_type information\n")
                       .arg(m_port);
    if (!m_certFile.isEmpty())
        text += QStringLiteral("certfile %1\nkeyfile %2\n").arg(m_certFile, m_keyFile);
    text += m_refuse ? QStringLiteral("allow_anonymous false\n")
                     : QStringLiteral("allow_anonymous true\n");
    QFile config(m_dir.filePath(QStringLiteral("mosquitto.conf")));
    if (config.open(QIODevice::WriteOnly))
        config.write(text.toUtf8());
}

void Broker::useTls(const QString &certFile, const QString &keyFile) {
    m_certFile = certFile;
    m_keyFile = keyFile;
    writeConfig();
}

void Broker::refuseEveryone() {
    m_refuse = true;
    writeConfig();
}

Broker::~Broker() = default; // QProcess ends the broker with itself

QString Broker::program() {
    // Debian puts it in /usr/sbin, which a user's PATH may not hold.
    QString found = QStandardPaths::findExecutable(QStringLiteral("mosquitto"));
    if (found.isEmpty())
        found = QStandardPaths::findExecutable(
            QStringLiteral("mosquitto"),
            {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/local/sbin")});
    return found;
}

void Broker::start() {
    m_log.clear();
    m_process = std::make_unique<QProcess>();
    m_process->setProcessChannelMode(QProcess::MergedChannels);
    QObject::connect(m_process.get(), &QProcess::readyRead, m_process.get(),
                     [this] { m_log += m_process->readAll(); });
    m_process->start(program(),
                     {QStringLiteral("-c"), m_dir.filePath(QStringLiteral("mosquitto.conf"))});
}

void Broker::stop() {
    if (m_process && m_process->state() != QProcess::NotRunning)
        ::kill(pid_t(m_process->processId()), SIGTERM);
}

void Broker::pause() {
    if (m_process && m_process->processId() > 0)
        ::kill(pid_t(m_process->processId()), SIGSTOP);
}

void Broker::resume() {
    if (m_process && m_process->processId() > 0)
        ::kill(pid_t(m_process->processId()), SIGCONT);
}

} // namespace testbus
