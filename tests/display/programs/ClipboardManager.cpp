// A clipboard manager for the display tests, as a desktop runs one: it owns
// CLIPBOARD_MANAGER, and when a program asks it to keep the clipboard
// (SAVE_TARGETS, on exit) it reads the text from that program, takes the
// clipboard and serves the text (UTF8_STRING) from then on. Prints "ready"
// once it owns the manager's selection; runs until it is killed.
#include <unistd.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <climits>
#include <cstdio>
#include <string>

namespace {

Display* g_x;
Window g_self;

Atom Intern(const char* name) { return XInternAtom(g_x, name, False); }

Bool IsNotify(Display*, XEvent* e, XPointer) { return e->type == SelectionNotify; }

// The clipboard's text as its owner gives it, or false.
bool Fetch(Time time, std::string* text) {
    Atom property = Intern("CBASIS_KEPT");
    XConvertSelection(g_x, Intern("CLIPBOARD"), Intern("UTF8_STRING"), property, g_self, time);
    XEvent e;
    XIfEvent(g_x, &e, IsNotify, nullptr);
    if (e.xselection.property == None) return false;
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(g_x, g_self, property, 0, LONG_MAX / 4, True, AnyPropertyType, &type, &format, &count,
                           &after, &data) != Success ||
        !data)
        return false;
    text->assign(reinterpret_cast<char*>(data), count);
    XFree(data);
    return true;
}

}  // namespace

int main() {
    if (!(g_x = XOpenDisplay(nullptr))) return 2;
    g_self = XCreateSimpleWindow(g_x, DefaultRootWindow(g_x), 0, 0, 1, 1, 0, 0, 0);
    const Atom manager = Intern("CLIPBOARD_MANAGER"), clipboard = Intern("CLIPBOARD"), save = Intern("SAVE_TARGETS"),
               utf8 = Intern("UTF8_STRING"), targets = Intern("TARGETS");
    XSetSelectionOwner(g_x, manager, g_self, CurrentTime);
    if (XGetSelectionOwner(g_x, manager) != g_self) return 3;
    std::puts("ready");
    std::fflush(stdout);
    alarm(120);  // a test that forgot it does not leave it behind for long
    std::string kept;
    bool keeping = false;
    for (;;) {
        XEvent e;
        XNextEvent(g_x, &e);
        if (e.type != SelectionRequest) continue;
        const XSelectionRequestEvent& r = e.xselectionrequest;
        Atom property = r.property == None ? r.target : r.property;
        XSelectionEvent reply{SelectionNotify, 0, True, g_x, r.requestor, r.selection, r.target, None, r.time};
        if (r.selection == manager && r.target == save) {
            if (Fetch(r.time, &kept)) {
                keeping = true;
                XSetSelectionOwner(g_x, clipboard, g_self, CurrentTime);
                reply.property = property;
            }
        } else if (r.selection == clipboard && keeping && r.target == utf8) {
            XChangeProperty(g_x, r.requestor, property, utf8, 8, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(kept.data()), static_cast<int>(kept.size()));
            reply.property = property;
        } else if (r.selection == clipboard && keeping && r.target == targets) {
            Atom list[] = {targets, utf8};
            XChangeProperty(g_x, r.requestor, property, XA_ATOM, 32, PropModeReplace,
                            reinterpret_cast<unsigned char*>(list), 2);
            reply.property = property;
        }
        XSendEvent(g_x, r.requestor, False, 0, reinterpret_cast<XEvent*>(&reply));
        XFlush(g_x);
    }
}
