/* Drops files on whatever X window lies under a screen point, through the X drag-and-drop
 * protocol (XDND 5), as a Linux file manager does. Under Wine the window then receives a
 * genuine WM_DROPFILES, so the end-to-end tests can check the program's drop handling on the
 * path a user's drop takes (Linux only).
 *
 *   lq_xdnd_drop X Y PATH...      one drop, then exit (0 when the target took it)
 *   lq_xdnd_drop --serve FOLDER   a drop for each FOLDER/request file ("X Y" on the first
 *                                 line, one path a line after it); the answer goes to
 *                                 FOLDER/done ("ok" or what went wrong) and the request is
 *                                 removed. For a test program that cannot start Linux
 *                                 programs itself; stops when FOLDER/stop appears.
 */
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <poll.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

static Display* dpy;
static Window source;
static Atom aAware, aEnter, aPosition, aStatus, aDrop, aFinished, aSelection, aActionCopy, aUriList;

static long NowMs(void) {
  struct timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec * 1000L + t.tv_nsec / 1000000L;
}

static int IsAware(Window w) {
  Atom type;
  int format;
  unsigned long n, after;
  unsigned char* data = NULL;
  int aware = XGetWindowProperty(dpy, w, aAware, 0, 1, False, AnyPropertyType, &type, &format, &n, &after, &data) ==
                  Success &&
              type != None && n > 0;
  if (data) XFree(data);
  return aware;
}

/* The deepest window under the root point that takes drops. */
static Window TargetAt(int x, int y) {
  Window root = DefaultRootWindow(dpy), from = root, child = None, found = None;
  int cx, cy;
  while (XTranslateCoordinates(dpy, root, from, x, y, &cx, &cy, &child) && child != None) {
    if (IsAware(child)) found = child;
    from = child;
  }
  return found;
}

static void Send(Window target, Atom type, long l1, long l2, long l3, long l4) {
  XEvent e;
  memset(&e, 0, sizeof e);
  e.xclient.type = ClientMessage;
  e.xclient.display = dpy;
  e.xclient.window = target;
  e.xclient.message_type = type;
  e.xclient.format = 32;
  e.xclient.data.l[0] = (long)source;
  e.xclient.data.l[1] = l1;
  e.xclient.data.l[2] = l2;
  e.xclient.data.l[3] = l3;
  e.xclient.data.l[4] = l4;
  XSendEvent(dpy, target, False, NoEventMask, &e);
  XFlush(dpy);
}

/* "file://" URIs, every byte but the unreserved ones percent-encoded, each line ended by CR LF. */
static char* UriList(char** paths, int count) {
  size_t size = 1;
  for (int i = 0; i < count; ++i) size += strlen(paths[i]) * 3 + 10;
  char* out = malloc(size);
  char* p = out;
  for (int i = 0; i < count; ++i) {
    p += sprintf(p, "file://");
    for (const unsigned char* c = (const unsigned char*)paths[i]; *c; ++c) {
      if ((*c >= 'a' && *c <= 'z') || (*c >= 'A' && *c <= 'Z') || (*c >= '0' && *c <= '9') || strchr("/-._~", *c)) {
        *p++ = (char)*c;
      } else {
        p += sprintf(p, "%%%02X", *c);
      }
    }
    *p++ = '\r';
    *p++ = '\n';
  }
  *p = '\0';
  return out;
}

static void AnswerSelection(const XSelectionRequestEvent* r, const char* uris) {
  XEvent reply;
  memset(&reply, 0, sizeof reply);
  reply.xselection.type = SelectionNotify;
  reply.xselection.display = dpy;
  reply.xselection.requestor = r->requestor;
  reply.xselection.selection = r->selection;
  reply.xselection.target = r->target;
  reply.xselection.time = r->time;
  reply.xselection.property = None;
  if (r->target == aUriList) {
    Atom property = r->property != None ? r->property : r->target;
    XChangeProperty(dpy, r->requestor, property, aUriList, 8, PropModeReplace, (const unsigned char*)uris,
                    (int)strlen(uris));
    reply.xselection.property = property;
  }
  XSendEvent(dpy, r->requestor, False, NoEventMask, &reply);
  XFlush(dpy);
}

/* Serves the selection until a client message of `type` comes, or the time is up. */
static int WaitFor(Atom type, const char* uris, long timeoutMs, XClientMessageEvent* got) {
  const long until = NowMs() + timeoutMs;
  for (;;) {
    while (XPending(dpy)) {
      XEvent e;
      XNextEvent(dpy, &e);
      if (e.type == SelectionRequest) AnswerSelection(&e.xselectionrequest, uris);
      if (e.type == ClientMessage && e.xclient.message_type == type) {
        if (got) *got = e.xclient;
        return 1;
      }
    }
    const long left = until - NowMs();
    if (left <= 0) return 0;
    struct pollfd fd = {ConnectionNumber(dpy), POLLIN, 0};
    poll(&fd, 1, (int)(left < 50 ? left : 50));
  }
}

/* NULL on success, else what went wrong. */
static const char* Drop(int x, int y, char** paths, int count) {
  const Window target = TargetAt(x, y);
  if (target == None) return "no window that takes drops under the point";
  char* uris = UriList(paths, count);
  const char* error = NULL;
  XSetSelectionOwner(dpy, aSelection, source, CurrentTime);
  Send(target, aEnter, 5L << 24, (long)aUriList, 0, 0);
  Send(target, aPosition, 0, ((long)x << 16) | (y & 0xFFFF), CurrentTime, (long)aActionCopy);
  XClientMessageEvent status;
  if (!WaitFor(aStatus, uris, 5000, &status)) {
    error = "no XdndStatus";
  } else if (!(status.data.l[1] & 1)) {
    error = "the window refused the drop";
  } else {
    Send(target, aDrop, 0, CurrentTime, 0, 0);
    if (!WaitFor(aFinished, uris, 5000, NULL)) error = "no XdndFinished";
  }
  free(uris);
  return error;
}

static int Exists(const char* path) {
  struct stat st;
  return stat(path, &st) == 0;
}

static int Serve(const char* folder) {
  char request[4096], done[4096], stop[4096], temp[4096];
  snprintf(request, sizeof request, "%s/request", folder);
  snprintf(done, sizeof done, "%s/done", folder);
  snprintf(temp, sizeof temp, "%s/done.tmp", folder);
  snprintf(stop, sizeof stop, "%s/stop", folder);
  while (!Exists(stop)) {
    FILE* f = fopen(request, "rb");
    if (!f) {
      usleep(50 * 1000);
      continue;
    }
    int x = 0, y = 0;
    char* paths[16];
    int count = 0;
    char line[4096];
    if (fgets(line, sizeof line, f)) sscanf(line, "%d %d", &x, &y);
    while (count < 16 && fgets(line, sizeof line, f)) {
      line[strcspn(line, "\r\n")] = '\0';
      if (line[0]) paths[count++] = strdup(line);
    }
    fclose(f);
    unlink(request);
    const char* error = count ? Drop(x, y, paths, count) : "no paths";
    for (int i = 0; i < count; ++i) free(paths[i]);
    FILE* out = fopen(temp, "wb");
    if (out) {
      fputs(error ? error : "ok", out);
      fclose(out);
      rename(temp, done);
    }
  }
  return 0;
}

int main(int argc, char** argv) {
  if (argc < 3 || (strcmp(argv[1], "--serve") != 0 && argc < 4)) {
    fprintf(stderr, "usage: %s X Y PATH... | --serve FOLDER\n", argv[0]);
    return 2;
  }
  dpy = XOpenDisplay(NULL);
  if (!dpy) {
    fprintf(stderr, "no X display\n");
    return 1;
  }
  aAware = XInternAtom(dpy, "XdndAware", False);
  aEnter = XInternAtom(dpy, "XdndEnter", False);
  aPosition = XInternAtom(dpy, "XdndPosition", False);
  aStatus = XInternAtom(dpy, "XdndStatus", False);
  aDrop = XInternAtom(dpy, "XdndDrop", False);
  aFinished = XInternAtom(dpy, "XdndFinished", False);
  aSelection = XInternAtom(dpy, "XdndSelection", False);
  aActionCopy = XInternAtom(dpy, "XdndActionCopy", False);
  aUriList = XInternAtom(dpy, "text/uri-list", False);
  source = XCreateSimpleWindow(dpy, DefaultRootWindow(dpy), -10, -10, 1, 1, 0, 0, 0);
  int rc = 0;
  if (strcmp(argv[1], "--serve") == 0) {
    rc = Serve(argv[2]);
  } else {
    const char* error = Drop(atoi(argv[1]), atoi(argv[2]), argv + 3, argc - 3);
    if (error) {
      fprintf(stderr, "%s\n", error);
      rc = 1;
    }
  }
  XCloseDisplay(dpy);
  return rc;
}
