#include "SignalWatcher.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace sim {

namespace {
int pipeEnds[2] = {-1, -1};

extern "C" void onSignal(int signalNumber) {
    const int saved = errno;
    const char byte = static_cast<char>(signalNumber);
    if (::write(pipeEnds[1], &byte, 1) < 0) {
        // Nothing to do: a full pipe already holds a wake-up.
    }
    errno = saved;
}
} // namespace

SignalWatcher::SignalWatcher(std::initializer_list<int> signalNumbers, QObject *parent)
    : QObject(parent) {
    if (pipeEnds[0] >= 0 ||
        ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, pipeEnds) != 0)
        return;
    m_notifier = new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &SignalWatcher::onReadable);
    for (const int s : signalNumbers) {
        struct sigaction action {};
        action.sa_handler = onSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        if (::sigaction(s, &action, nullptr) == 0)
            m_signals.append(s);
    }
}

SignalWatcher::~SignalWatcher() {
    if (!m_notifier)
        return;
    for (const int s : std::as_const(m_signals))
        ::signal(s, SIG_DFL);
    delete m_notifier;
    ::close(pipeEnds[0]);
    ::close(pipeEnds[1]);
    pipeEnds[0] = pipeEnds[1] = -1;
}

void SignalWatcher::onReadable() {
    char bytes[16];
    const ssize_t n = ::read(pipeEnds[0], bytes, sizeof bytes);
    for (ssize_t i = 0; i < n; ++i)
        emit caught(static_cast<unsigned char>(bytes[i]));
}

} // namespace sim
