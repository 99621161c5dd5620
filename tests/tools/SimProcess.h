#pragma once

#include <QDeadlineTimer>
#include <QProcess>
#include <QTest>

// The switcher simulator run as a child process, its output collected as it
// comes. Waits let events run; nothing blocks.
struct SimProcess {
    QProcess process;
    QByteArray out;

    explicit SimProcess(const QStringList &args) {
        process.setProcessChannelMode(QProcess::MergedChannels);
        QObject::connect(&process, &QProcess::readyRead, [this] { out += process.readAll(); });
        process.start(QStringLiteral(SWITCHER_SIM), args);
    }
    ~SimProcess() {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            waitUntil([this] { return process.state() == QProcess::NotRunning; }, 5000);
        }
    }
    SimProcess(const SimProcess &) = delete;
    SimProcess &operator=(const SimProcess &) = delete;

    bool said(const char *text, int timeoutMs = 5000) {
        return waitUntil([&] { return out.contains(text); }, timeoutMs);
    }
    bool ended(int timeoutMs = 5000) {
        return waitUntil([&] { return process.state() == QProcess::NotRunning; }, timeoutMs);
    }
    // The port it listens on, from its start-up line.
    quint16 udpPort() const {
        static const QByteArray marker("listening on 127.0.0.1:");
        const int at = out.indexOf(marker);
        if (at < 0)
            return 0;
        const int end = out.indexOf('\n', at);
        return out.mid(at + marker.size(), end - at - marker.size()).trimmed().toUShort();
    }

    template <typename F> static bool waitUntil(F done, int timeoutMs) {
        QDeadlineTimer deadline(timeoutMs);
        while (!done() && !deadline.hasExpired())
            QTest::qWait(10);
        return done();
    }
};
