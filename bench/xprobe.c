/* What the user sees, timed from the X server's side (a Linux helper of
 * scripts/bench.sh, built with the host compiler):
 *
 *   xprobe paint TIMEOUT_S BOXNAME X,Y=RRGGBB... -- COMMAND ARGS...
 *     starts COMMAND and waits until every probe pixel of the screen has its
 *     colour (the window's first paint). A top-level window whose name begins
 *     with BOXNAME ("-" for none) is answered with Return as soon as it shows.
 *     Prints "box_ms answered_ms paint_ms" from the start (-1: never seen);
 *     the command keeps running, its pid is on the second line.
 *
 *   xprobe frames SECONDS X Y W H
 *     counts the bursts of screen updates that touch the rectangle: one burst
 *     is one frame drawn. Prints "frames updates".
 */
#define _GNU_SOURCE
#include <X11/Xlib.h>
#include <fcntl.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>
#include <poll.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

static double now_ms(void)
{
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

struct probe { int x, y; unsigned long rgb; };

static int pixel_is(Display *d, Window root, const struct probe *p)
{
    XImage *img = XGetImage(d, root, p->x, p->y, 1, 1, AllPlanes, ZPixmap);
    if (!img) return 0;
    unsigned long v = XGetPixel(img, 0, 0) & 0xFFFFFF;
    XDestroyImage(img);
    return v == p->rgb;
}

static int window_named(Display *d, Window root, const char *prefix)
{
    Window r, parent, *kids = NULL;
    unsigned int n = 0;
    int found = 0;
    if (!XQueryTree(d, root, &r, &parent, &kids, &n)) return 0;
    for (unsigned int i = 0; i < n && !found; ++i) {
        XWindowAttributes a;
        if (!XGetWindowAttributes(d, kids[i], &a) || a.map_state != IsViewable) continue;
        char *name = NULL;
        if (XFetchName(d, kids[i], &name) && name) {
            found = strncmp(name, prefix, strlen(prefix)) == 0;
            XFree(name);
        }
    }
    if (kids) XFree(kids);
    return found;
}

static int paint(int argc, char **argv)
{
    if (argc < 5) return 2;
    double timeout = atof(argv[2]) * 1e3;
    const char *box = strcmp(argv[3], "-") ? argv[3] : NULL;
    struct probe probes[16];
    int np = 0, i = 4;
    for (; i < argc && strcmp(argv[i], "--"); ++i) {
        if (np == 16 || sscanf(argv[i], "%d,%d=%lx", &probes[np].x, &probes[np].y, &probes[np].rgb) != 3)
            return 2;
        ++np;
    }
    if (i >= argc - 1 || np == 0) return 2;
    Display *d = XOpenDisplay(NULL);
    if (!d) { fprintf(stderr, "xprobe: no display\n"); return 1; }
    Window root = DefaultRootWindow(d);

    double t0 = now_ms();
    pid_t pid = fork();
    if (pid == 0) {
        /* The caller reads our output to its end: the program must not hold it. */
        int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        dup2(null, 2);
        setsid();
        execvp(argv[i + 1], argv + i + 1);
        _exit(127);
    }
    double boxAt = -1, answeredAt = -1, paintAt = -1;
    while (now_ms() - t0 < timeout) {
        int all = 1;
        for (int k = 0; k < np && all; ++k) all = pixel_is(d, root, &probes[k]);
        if (all) { paintAt = now_ms() - t0; break; }
        if (box && boxAt < 0 && window_named(d, root, box)) {
            boxAt = now_ms() - t0;
            if (system("xdotool key Return") != 0) fprintf(stderr, "xprobe: xdotool failed\n");
            answeredAt = now_ms() - t0;
        }
        usleep(2000);
    }
    printf("%.1f %.1f %.1f\n%d\n", boxAt, answeredAt, paintAt, (int)pid);
    XCloseDisplay(d);
    return paintAt < 0;
}

static int frames(int argc, char **argv)
{
    if (argc < 7) return 2;
    double span = atof(argv[2]) * 1e3;
    int rx = atoi(argv[3]), ry = atoi(argv[4]), rw = atoi(argv[5]), rh = atoi(argv[6]);
    Display *d = XOpenDisplay(NULL);
    if (!d) { fprintf(stderr, "xprobe: no display\n"); return 1; }
    int evBase, errBase;
    if (!XDamageQueryExtension(d, &evBase, &errBase)) { fprintf(stderr, "xprobe: no DAMAGE\n"); return 1; }
    Window root = DefaultRootWindow(d);
    XDamageCreate(d, root, XDamageReportRawRectangles);
    XSync(d, False);
    /* Creating the damage object reports the whole screen once: not a frame. */
    while (XPending(d)) {
        XEvent ev;
        XNextEvent(d, &ev);
    }
    /* Two updates further apart than this belong to two frames. */
    const double gap = 12.0;
    long bursts = 0, updates = 0;
    double last = -1e9, t0 = now_ms();
    struct pollfd pfd = { ConnectionNumber(d), POLLIN, 0 };
    for (;;) {
        double left = span - (now_ms() - t0);
        if (left <= 0) break;
        if (!XPending(d)) { poll(&pfd, 1, (int)left + 1); continue; }
        XEvent ev;
        XNextEvent(d, &ev);
        if (ev.type != evBase + XDamageNotify) continue;
        XDamageNotifyEvent *de = (XDamageNotifyEvent *)&ev;
        XRectangle a = de->area;
        if (a.x >= rx + rw || a.x + a.width <= rx || a.y >= ry + rh || a.y + a.height <= ry) continue;
        double t = now_ms();
        ++updates;
        if (t - last > gap) ++bursts;
        last = t;
    }
    printf("%ld %ld\n", bursts, updates);
    XCloseDisplay(d);
    return 0;
}

/* Windows come and go while we look (a box, the splash): a window gone
 * between the listing and the look at it is no error of ours. */
static int ignore_x_errors(Display *d, XErrorEvent *e)
{
    (void)d;
    (void)e;
    return 0;
}

int main(int argc, char **argv)
{
    XSetErrorHandler(ignore_x_errors);
    signal(SIGCHLD, SIG_DFL);
    if (argc > 1 && !strcmp(argv[1], "paint")) return paint(argc, argv);
    if (argc > 1 && !strcmp(argv[1], "frames")) return frames(argc, argv);
    fprintf(stderr, "usage: xprobe paint TIMEOUT BOXNAME X,Y=RRGGBB... -- CMD... | xprobe frames SECONDS X Y W H\n");
    return 2;
}
