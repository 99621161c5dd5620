/* Starts a program and prints how long it took, from just before its exec to
 * the moment a top-level window whose title holds the given text is mapped
 * on the X display. The program is left running (its pid is printed too) and
 * this waits for it to end, so that whoever started this can reap both.
 *
 *   bench-mapwatch TITLE TIMEOUT_MS PROGRAM [ARGS...]
 *   -> "<milliseconds> <pid>" on stdout, or "timeout <pid>"
 */
#define _GNU_SOURCE
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <errno.h>
#include <poll.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static double now_ms(void) {
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (double)ts.tv_sec * 1e3 + (double)ts.tv_nsec / 1e6;
}

static int ignore_errors(Display *display, XErrorEvent *event) {
    (void)display;
    (void)event;
    return 0; /* windows may vanish between the event and the query */
}

static int title_holds(Display *display, Window window, const char *wanted) {
    int found = 0;
    Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    Atom net_wm_name = XInternAtom(display, "_NET_WM_NAME", False);
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char *data = NULL;
    if (XGetWindowProperty(display, window, net_wm_name, 0, 1024, False, utf8, &type, &format,
                           &count, &after, &data) == Success &&
        data) {
        found = strstr((const char *)data, wanted) != NULL;
        XFree(data);
    }
    if (!found) {
        char *name = NULL;
        if (XFetchName(display, window, &name) && name) {
            found = strstr(name, wanted) != NULL;
            XFree(name);
        }
    }
    return found;
}

static int wait_for(Display *display, pid_t pid) {
    fflush(stdout);
    XCloseDisplay(display);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR)
        ;
    return 0;
}

int main(int argc, char **argv) {
    if (argc < 4) {
        fprintf(stderr, "usage: %s TITLE TIMEOUT_MS PROGRAM [ARGS...]\n", argv[0]);
        return 2;
    }
    const char *wanted = argv[1];
    const double timeout = atof(argv[2]);
    Display *display = XOpenDisplay(NULL);
    if (!display) {
        fprintf(stderr, "no X display\n");
        return 1;
    }
    XSetErrorHandler(ignore_errors);
    Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);

    const double start = now_ms();
    pid_t pid = fork();
    if (pid == 0) {
        close(ConnectionNumber(display));
        execvp(argv[3], argv + 3);
        _exit(127);
    }
    if (pid < 0)
        return 1;

    /* Windows mapped without the title yet: watch their property changes. */
    for (;;) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            Window window = 0;
            if (event.type == MapNotify && !event.xmap.override_redirect) {
                window = event.xmap.window;
                XSelectInput(display, window, PropertyChangeMask);
            } else if (event.type == PropertyNotify) {
                window = event.xproperty.window;
                XWindowAttributes attributes;
                if (!XGetWindowAttributes(display, window, &attributes) ||
                    attributes.map_state != IsViewable)
                    window = 0;
            }
            if (window && title_holds(display, window, wanted)) {
                printf("%.3f %d\n", now_ms() - start, (int)pid);
                return wait_for(display, pid);
            }
        }
        const double left = start + timeout - now_ms();
        if (left <= 0)
            break;
        struct pollfd fd = {ConnectionNumber(display), POLLIN, 0};
        poll(&fd, 1, (int)(left < 50 ? left + 1 : 50));
    }
    printf("timeout %d\n", (int)pid);
    return wait_for(display, pid);
}
