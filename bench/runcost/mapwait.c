/* Starts a program and prints, once its first top-level window is mapped,
 * "PID MS": the child's process id and the milliseconds from fork to the
 * MapNotify the X server sent. The child keeps running; this tool exits.
 * Usage: mapwait PROGRAM [ARGS...]   (DISPLAY must be set) */
#include <X11/Xlib.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>
#include <unistd.h>
#include <poll.h>

static double now_ms(void)
{
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

int main(int argc, char **argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: mapwait PROGRAM [ARGS...]\n");
        return 2;
    }
    Display *d = XOpenDisplay(NULL);
    if (!d) {
        fprintf(stderr, "mapwait: no display\n");
        return 2;
    }
    Window root = DefaultRootWindow(d);
    /* No window manager runs: top-level windows are the root's children,
     * so their mapping arrives as MapNotify on the root. */
    XSelectInput(d, root, SubstructureNotifyMask);
    XSync(d, False);
    const double start = now_ms();
    pid_t pid = fork();
    if (pid == 0) {
        execvp(argv[1], argv + 1);
        _exit(127);
    }
    const int fd = ConnectionNumber(d);
    for (;;) {
        while (XPending(d)) {
            XEvent e;
            XNextEvent(d, &e);
            if (e.type == MapNotify && !e.xmap.override_redirect) {
                printf("%d %.1f\n", (int)pid, now_ms() - start);
                return 0;
            }
        }
        struct pollfd p = { fd, POLLIN, 0 };
        if (poll(&p, 1, 30000) <= 0) {
            printf("%d -1\n", (int)pid);
            return 1;
        }
    }
}
