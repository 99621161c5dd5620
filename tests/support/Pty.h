#pragma once

#include <QByteArray>
#include <QString>

// A pseudo-terminal pair: the program opens the slave device as its serial
// port, the test plays the far end on the master.
class Pty {
public:
    Pty();
    ~Pty();
    Pty(const Pty &) = delete;
    Pty &operator=(const Pty &) = delete;

    bool isValid() const { return m_master >= 0; }
    QString slavePath() const { return m_slavePath; }
    // Bytes the program wrote, waiting (with events running) until at least
    // `count` have arrived or the time is up.
    QByteArray readFar(int count, int timeoutMs = 3000);
    // Everything that arrives within the given time.
    QByteArray drainFar(int waitMs = 100);
    void writeFar(const QByteArray &bytes);
    // The far end goes away.
    void closeFar();

private:
    int m_master = -1;
    int m_slave = -1; // held open so the line stays up until the far end closes
    QString m_slavePath;
};
