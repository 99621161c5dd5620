#include "Desktop.h"

#include <QByteArray>
#include <QElapsedTimer>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {
const Desktop *g_current = nullptr;

// Waits up to a moment for a process to end by itself, then ends it.
void stop(pid_t &pid, int graceMs) {
    if (pid <= 0)
        return;
    QElapsedTimer waited;
    waited.start();
    int status = 0;
    while (::waitpid(pid, &status, WNOHANG) == 0) {
        if (waited.elapsed() >= graceMs) {
            ::kill(pid, SIGTERM);
            ::waitpid(pid, &status, 0);
            break;
        }
        ::usleep(10000);
    }
    pid = -1;
}
} // namespace

const Desktop *Desktop::current() {
    return g_current;
}

pid_t Desktop::spawn(const char *const argv[], int outFd, int outTargetFd) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const int devnull = ::open("/dev/null", O_RDWR | O_CLOEXEC);
    posix_spawn_file_actions_adddup2(&actions, devnull, 0);
    posix_spawn_file_actions_adddup2(&actions, devnull, 1);
    posix_spawn_file_actions_adddup2(&actions, devnull, 2);
    if (outFd >= 0)
        posix_spawn_file_actions_adddup2(&actions, outFd, outTargetFd);
    pid_t pid = -1;
    const int failed =
        posix_spawn(&pid, argv[0], &actions, nullptr, const_cast<char *const *>(argv), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(devnull);
    return failed ? -1 : pid;
}

QString Desktop::readLine(int fd, int timeoutMs) {
    QByteArray line;
    QElapsedTimer waited;
    waited.start();
    while (!line.endsWith('\n')) {
        const qint64 left = timeoutMs - waited.elapsed();
        pollfd p{fd, POLLIN, 0};
        if (left <= 0 || ::poll(&p, 1, int(left)) <= 0)
            return {};
        char c;
        if (::read(fd, &c, 1) != 1)
            return {};
        line.append(c);
    }
    return QString::fromLocal8Bit(line.trimmed());
}

Desktop::Desktop() {
    g_current = this;
    // What the launcher starts (the accessibility bus, its registry) comes
    // back to this process when the launcher ends, to be waited for here.
    ::prctl(PR_SET_CHILD_SUBREAPER, 1);
    // The X server says its display number on a pipe once it takes clients.
    int xpipe[2];
    if (::pipe2(xpipe, O_CLOEXEC) != 0) {
        m_unavailable = QStringLiteral("no pipe");
        return;
    }
    const char *xargs[] = {"/usr/bin/Xvfb", "-displayfd", "3",   "-screen", "0",
                           "1280x1024x24",  "-nolisten",  "tcp", nullptr};
    m_xserver = spawn(xargs, xpipe[1], 3);
    ::close(xpipe[1]);
    const QString display = m_xserver > 0 ? readLine(xpipe[0], 10000) : QString();
    ::close(xpipe[0]);
    if (display.isEmpty()) {
        m_unavailable = QStringLiteral("no virtual X server (/usr/bin/Xvfb, package xvfb)");
        return;
    }
    qputenv("DISPLAY", (QLatin1Char(':') + display).toLocal8Bit());

    int bpipe[2];
    if (::pipe2(bpipe, O_CLOEXEC) != 0) {
        m_unavailable = QStringLiteral("no pipe");
        return;
    }
    const char *bargs[] = {"/usr/bin/dbus-daemon", "--session", "--nofork", "--print-address=3",
                           nullptr};
    m_bus = spawn(bargs, bpipe[1], 3);
    ::close(bpipe[1]);
    const QString address = m_bus > 0 ? readLine(bpipe[0], 10000) : QString();
    ::close(bpipe[0]);
    if (address.isEmpty()) {
        m_unavailable = QStringLiteral("no D-Bus session bus (dbus-daemon, package dbus-daemon)");
        return;
    }
    qputenv("DBUS_SESSION_BUS_ADDRESS", address.toLocal8Bit());
    qunsetenv("AT_SPI_BUS_ADDRESS");

    // The accessibility bus: its launcher registers org.a11y.Bus on the
    // session bus, where Qt's bridge and the test's reader look for it.
    const char *largs[] = {"/usr/libexec/at-spi-bus-launcher", "--launch-immediately", nullptr};
    m_launcher = spawn(largs, -1, -1);
    if (m_launcher <= 0) {
        m_unavailable =
            QStringLiteral("no accessibility bus launcher (/usr/libexec/at-spi-bus-launcher, "
                           "package at-spi2-core)");
        return;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    qputenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
    qunsetenv("WAYLAND_DISPLAY");
}

Desktop::~Desktop() {
    // The launcher ends with the session bus, and ends its accessibility bus
    // (and the registry on it) as it goes.
    stop(m_bus, 0);
    stop(m_launcher, 3000);
    stop(m_xserver, 0);
    QElapsedTimer waited;
    waited.start();
    int status = 0;
    while (waited.elapsed() < 3000) {
        const pid_t child = ::waitpid(-1, &status, WNOHANG);
        if (child < 0)
            break; // no child left
        if (child == 0)
            ::usleep(10000);
    }
    g_current = nullptr;
}
