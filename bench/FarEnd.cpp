#include "FarEnd.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <pty.h>
#include <sys/socket.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

namespace bench {

double nowMs() {
    timespec ts{};
    ::clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

FarEnd::~FarEnd() {
    stop();
}

void FarEnd::start() {
    if (m_fd < 0 || ::pipe(m_wake) != 0)
        return;
    m_thread = std::thread([this] { run(); });
}

void FarEnd::stop() {
    if (m_thread.joinable()) {
        const char byte = 0;
        if (::write(m_wake[1], &byte, 1) != 1)
            return; // the thread cannot be woken; it is left to the process end
        m_thread.join();
    }
    for (int &fd : m_wake) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

void FarEnd::run() {
    for (;;) {
        pollfd fds[2] = {{m_fd, POLLIN, 0}, {m_wake[0], POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0)
            continue;
        if (fds[1].revents)
            return;
        if (fds[0].revents & POLLIN)
            readReady(nowMs());
        else if (fds[0].revents & (POLLHUP | POLLERR | POLLNVAL))
            return;
    }
}

void FarEnd::record(double atMs, unsigned char code) {
    const std::lock_guard lock(m_mutex);
    m_frames.push_back({atMs, code});
}

std::vector<Frame> FarEnd::frames() const {
    const std::lock_guard lock(m_mutex);
    return m_frames;
}

PtyFarEnd::PtyFarEnd() {
    char name[256] = {};
    termios raw{};
    ::cfmakeraw(&raw);
    int master = -1;
    if (::openpty(&master, &m_slave, name, &raw, nullptr) != 0)
        return;
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    m_slavePath = name;
    m_fd = master;
    start();
}

PtyFarEnd::~PtyFarEnd() {
    stop();
    if (m_slave >= 0)
        ::close(m_slave);
}

void PtyFarEnd::readReady(double atMs) {
    unsigned char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
        if (n <= 0)
            return;
        for (ssize_t i = 0; i < n; ++i) {
            if (buffer[i] != 0x0D) {
                m_pending = buffer[i];
            } else if (m_pending >= 0) {
                record(atMs, static_cast<unsigned char>(m_pending));
                m_pending = -1;
            }
        }
    }
}

UdpFarEnd::UdpFarEnd() {
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr *>(&address), &length) != 0) {
        ::close(fd);
        return;
    }
    m_port = ntohs(address.sin_port);
    m_fd = fd;
    start();
}

UdpFarEnd::~UdpFarEnd() {
    stop();
}

void UdpFarEnd::readReady(double atMs) {
    unsigned char buffer[64];
    for (;;) {
        const ssize_t n = ::recv(m_fd, buffer, sizeof buffer, 0);
        if (n < 0)
            return;
        if (n == 3 && buffer[0] == 0x00 && buffer[2] == 0x0D)
            record(atMs, buffer[1]);
        else if (n == 3 && buffer[0] == '1' && buffer[2] == 0x0D)
            record(atMs, buffer[1]);
    }
}

} // namespace bench
