#include "Pty.h"

#include <QDeadlineTimer>
#include <QTest>

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

Pty::Pty() {
    char name[256] = {};
    termios raw{};
    cfmakeraw(&raw);
    if (::openpty(&m_master, &m_slave, name, &raw, nullptr) != 0) {
        m_master = m_slave = -1;
        return;
    }
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    m_slavePath = QString::fromLocal8Bit(name);
}

Pty::~Pty() {
    closeFar();
    if (m_slave >= 0)
        ::close(m_slave);
}

QByteArray Pty::readFar(int count, int timeoutMs) {
    QByteArray out;
    QDeadlineTimer deadline(timeoutMs);
    while (m_master >= 0) {
        char buffer[4096];
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n > 0) {
            out.append(buffer, static_cast<int>(n));
            if (out.size() >= count)
                break;
            continue;
        }
        if (deadline.hasExpired())
            break;
        QTest::qWait(5);
    }
    return out;
}

QByteArray Pty::drainFar(int waitMs) {
    QTest::qWait(waitMs);
    return readFar(1 << 30, 0);
}

void Pty::writeFar(const QByteArray &bytes) {
    if (m_master >= 0 && ::write(m_master, bytes.constData(), bytes.size()) != bytes.size())
        qWarning("short write on the far end");
}

void Pty::closeFar() {
    if (m_master >= 0)
        ::close(m_master);
    m_master = -1;
    // The slave held here would keep the line up; let it go too.
    if (m_slave >= 0)
        ::close(m_slave);
    m_slave = -1;
}
