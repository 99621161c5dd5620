#include "PtyLine.h"

#include <QFile>
#include <QSocketNotifier>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <pty.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace sim {

namespace {
QString errnoText(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

QString readLink(const QByteArray &path) {
    char target[4096];
    const ssize_t n = ::readlink(path.constData(), target, sizeof target - 1);
    return n < 0 ? QString() : QString::fromLocal8Bit(target, static_cast<int>(n));
}
} // namespace

PtyLine::PtyLine(QObject *parent)
    : QObject(parent) {}

PtyLine::~PtyLine() {
    close();
}

QString PtyLine::open(const QString &linkPath) {
    close();
    char name[4096] = {};
    termios raw{};
    ::cfmakeraw(&raw);
    if (::openpty(&m_master, &m_slave, name, &raw, nullptr) != 0) {
        const int error = errno;
        m_master = m_slave = -1;
        return QStringLiteral("cannot create a pseudo-terminal: %1").arg(errnoText(error));
    }
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    ::fcntl(m_master, F_SETFD, FD_CLOEXEC);
    ::fcntl(m_slave, F_SETFD, FD_CLOEXEC);
    m_slaveName = QString::fromLocal8Bit(name);

    const QByteArray link = QFile::encodeName(linkPath);
    struct stat st {};
    if (::lstat(link.constData(), &st) == 0 && !S_ISLNK(st.st_mode)) {
        close();
        return QStringLiteral("%1 exists and is not a symlink; not replacing it").arg(linkPath);
    }
    // Made beside the final name and renamed over it, so a stale link is
    // replaced in one step.
    const QByteArray temporary = link + ".new" + QByteArray::number(::getpid());
    ::unlink(temporary.constData());
    if (::symlink(name, temporary.constData()) != 0 ||
        ::rename(temporary.constData(), link.constData()) != 0) {
        const int error = errno;
        ::unlink(temporary.constData());
        close();
        return QStringLiteral("cannot create the symlink %1: %2").arg(linkPath, errnoText(error));
    }
    m_linkPath = linkPath;
    m_notifier = new QSocketNotifier(m_master, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &PtyLine::onReadable);
    return {};
}

void PtyLine::close() {
    delete m_notifier;
    m_notifier = nullptr;
    if (!m_linkPath.isEmpty()) {
        // Only our own link goes; something put there since is not ours.
        const QByteArray link = QFile::encodeName(m_linkPath);
        if (readLink(link) == m_slaveName)
            ::unlink(link.constData());
        m_linkPath.clear();
    }
    if (m_master >= 0)
        ::close(m_master);
    if (m_slave >= 0)
        ::close(m_slave);
    m_master = m_slave = -1;
}

bool PtyLine::write(const QByteArray &bytes) {
    if (m_master < 0)
        return false;
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(m_master, bytes.constData() + done, bytes.size() - done);
        if (n > 0) {
            done += n;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        return false;
    }
    return true;
}

void PtyLine::onReadable() {
    // Read what is there, a bounded amount per wake-up so that a flood
    // cannot starve the datagram side.
    QByteArray bytes;
    char buffer[4096];
    for (int round = 0; round < 16; ++round) {
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n > 0) {
            bytes.append(buffer, static_cast<int>(n));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            break;
        const QString why = n == 0 ? QStringLiteral("end of file") : errnoText(errno);
        m_notifier->setEnabled(false);
        if (!bytes.isEmpty())
            emit received(bytes);
        emit failed(why);
        return;
    }
    if (!bytes.isEmpty())
        emit received(bytes);
}

} // namespace sim
