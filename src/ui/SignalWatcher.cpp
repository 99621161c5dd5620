#include "ui/SignalWatcher.h"

#include <QSocketNotifier>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace ui {

#ifdef Q_OS_UNIX
namespace {
// The handler may only write to a descriptor; the rest happens on the loop.
int wakeFds[2] = {-1, -1};
constexpr int watched[] = {SIGTERM, SIGINT, SIGHUP};

void onSignal(int number) {
    const char byte = static_cast<char>(number);
    [[maybe_unused]] const ssize_t n = ::write(wakeFds[0], &byte, 1);
}
} // namespace
#endif

SignalWatcher::SignalWatcher(QObject *parent)
    : QObject(parent) {
#ifdef Q_OS_UNIX
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, wakeFds) != 0)
        return;
    m_notifier = new QSocketNotifier(wakeFds[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &SignalWatcher::onReadable);
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int number : watched)
        ::sigaction(number, &action, nullptr);
#endif
}

SignalWatcher::~SignalWatcher() {
#ifdef Q_OS_UNIX
    if (!m_notifier)
        return;
    for (const int number : watched)
        ::signal(number, SIG_DFL);
    ::close(wakeFds[0]);
    ::close(wakeFds[1]);
    wakeFds[0] = wakeFds[1] = -1;
#endif
}

void SignalWatcher::onReadable() {
#ifdef Q_OS_UNIX
    char byte = 0;
    while (::read(wakeFds[1], &byte, 1) == 1)
        emit terminationRequested(static_cast<unsigned char>(byte));
#endif
}

} // namespace ui
