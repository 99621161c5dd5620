#pragma once

#include <QByteArray>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

// Starts the broker and waits until it listens; skips the test where
// mosquitto is not installed.
#define START_BROKER(broker)                                                                       \
    do {                                                                                           \
        if (testbus::Broker::program().isEmpty())                                                  \
            QSKIP("mosquitto is not installed (scripts/packages.sh installs it)");                 \
        (broker).start();                                                                          \
        QTRY_VERIFY2((broker).running(), (broker).log().constData());                              \
    } while (false)

namespace testbus {

// A mosquitto broker of the test's own on a loopback port it picks: started
// as a process, stopped (or paused) by its PID, and started again on the
// same port, with nothing kept between runs.
class Broker {
public:
    Broker();
    ~Broker();

    // The broker's program, or empty when it is not installed.
    static QString program();

    // From the next start, the listener speaks TLS with this certificate and
    // key, and asks no client certificate.
    void useTls(const QString &certFile, const QString &keyFile);
    // From the next start, no client is let in (none has a password the
    // broker knows).
    void refuseEveryone();
    void start();
    // SIGTERM to its PID; stopped() says when it has ended.
    void stop();
    // SIGSTOP and SIGCONT to its PID: a broker that stops reading.
    void pause();
    void resume();

    // It has said that it listens.
    bool running() const { return m_log.contains(" running"); }
    bool stopped() const { return !m_process || m_process->state() == QProcess::NotRunning; }
    quint16 port() const { return m_port; }
    QByteArray log() const { return m_log; }

private:
    void writeConfig();

    QTemporaryDir m_dir;
    QString m_certFile;
    QString m_keyFile;
    bool m_refuse = false;
    quint16 m_port = 0;
    std::unique_ptr<QProcess> m_process;
    QByteArray m_log;
};

} // namespace testbus
