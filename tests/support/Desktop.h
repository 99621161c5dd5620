#pragma once

#include <QString>
#include <sys/types.h>

// A desktop of the test's own, for what needs a real one (the accessibility
// bus): a virtual X server, a D-Bus session bus and the accessibility bus
// launcher, started before the application object and stopped, by their
// process ids, when it goes. Nothing of the machine's own session is used.
class Desktop {
public:
    Desktop();
    ~Desktop();
    Desktop(const Desktop &) = delete;
    Desktop &operator=(const Desktop &) = delete;

    // Why there is no desktop; empty when there is one.
    const QString &unavailable() const { return m_unavailable; }

    // The desktop of this process, or null.
    static const Desktop *current();

private:
    pid_t spawn(const char *const argv[], int outFd, int outTargetFd);
    QString readLine(int fd, int timeoutMs);

    QString m_unavailable;
    pid_t m_xserver = -1;
    pid_t m_bus = -1;
    pid_t m_launcher = -1;
};
