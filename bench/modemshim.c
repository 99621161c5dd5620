/* Preloaded into a peer terminal program run on a pseudo-terminal: a pty has
 * no modem-control lines, so TIOCMGET, TIOCMBIS and TIOCMBIC fail there with
 * ENOTTY and some terminals then close their port. On a terminal that refuses
 * them this answers as a line with every signal up; nothing else is touched,
 * the receive path least of all. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <stdarg.h>
#include <sys/ioctl.h>
#include <unistd.h>

typedef int (*ioctl_fn)(int, unsigned long, ...);

int ioctl(int fd, unsigned long request, ...) {
    static ioctl_fn real = 0;
    if (!real)
        real = (ioctl_fn)dlsym(RTLD_NEXT, "ioctl");
    va_list args;
    va_start(args, request);
    void *argument = va_arg(args, void *);
    va_end(args);
    const int result = real(fd, request, argument);
    if (result == 0 || (errno != ENOTTY && errno != EINVAL) || !isatty(fd))
        return result;
    switch (request) {
    case TIOCMGET:
        if (argument)
            *(int *)argument = TIOCM_DTR | TIOCM_RTS | TIOCM_CTS | TIOCM_DSR | TIOCM_CD;
        errno = 0;
        return 0;
    case TIOCMBIS:
    case TIOCMBIC:
    case TIOCMSET:
        errno = 0;
        return 0;
    default:
        return result;
    }
}
