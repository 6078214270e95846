// A clipboard manager for the display tests, as a desktop runs one: it owns
// CLIPBOARD_MANAGER, and when a program asks it to keep the clipboard
// (SAVE_TARGETS, on exit) it reads the text from that program, takes the
// clipboard and serves the text (UTF8_STRING) from then on. Prints "ready"
// once it owns the manager's selection; runs until it is killed.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <string>

namespace {

Display* x;
Window self;

Atom atom(const char* name) { return XInternAtom(x, name, False); }

Bool isNotify(Display*, XEvent* e, XPointer) { return e->type == SelectionNotify; }

// The clipboard's text as its owner gives it, or false.
bool fetch(Time time, std::string* text) {
    Atom property = atom("CBASIS_KEPT");
    XConvertSelection(x, atom("CLIPBOARD"), atom("UTF8_STRING"), property, self, time);
    XEvent e;
    XIfEvent(x, &e, isNotify, nullptr);
    if (e.xselection.property == None) return false;
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(x, self, property, 0, LONG_MAX / 4, True, AnyPropertyType, &type, &format, &count, &after,
                           &data) != Success || !data)
        return false;
    text->assign(reinterpret_cast<char*>(data), count);
    XFree(data);
    return true;
}

}  // namespace

int main() {
    if (!(x = XOpenDisplay(nullptr))) return 2;
    self = XCreateSimpleWindow(x, DefaultRootWindow(x), 0, 0, 1, 1, 0, 0, 0);
    const Atom manager = atom("CLIPBOARD_MANAGER"), clipboard = atom("CLIPBOARD"), save = atom("SAVE_TARGETS"),
               utf8 = atom("UTF8_STRING"), targets = atom("TARGETS");
    XSetSelectionOwner(x, manager, self, CurrentTime);
    if (XGetSelectionOwner(x, manager) != self) return 3;
    std::puts("ready");
    std::fflush(stdout);
    alarm(120);  // a test that forgot it does not leave it behind for long
    std::string kept;
    bool keeping = false;
    for (;;) {
        XEvent e;
        XNextEvent(x, &e);
        if (e.type != SelectionRequest) continue;
        const XSelectionRequestEvent& r = e.xselectionrequest;
        Atom property = r.property == None ? r.target : r.property;
        XSelectionEvent reply{SelectionNotify, 0, True, x, r.requestor, r.selection, r.target, None, r.time};
        if (r.selection == manager && r.target == save) {
            if (fetch(r.time, &kept)) {
                keeping = true;
                XSetSelectionOwner(x, clipboard, self, CurrentTime);
                reply.property = property;
            }
        } else if (r.selection == clipboard && keeping && r.target == utf8) {
            XChangeProperty(x, r.requestor, property, utf8, 8, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(kept.data()), static_cast<int>(kept.size()));
            reply.property = property;
        } else if (r.selection == clipboard && keeping && r.target == targets) {
            Atom list[] = {targets, utf8};
            XChangeProperty(x, r.requestor, property, XA_ATOM, 32, PropModeReplace,
                            reinterpret_cast<unsigned char*>(list), 2);
            reply.property = property;
        }
        XSendEvent(x, r.requestor, False, 0, reinterpret_cast<XEvent*>(&reply));
        XFlush(x);
    }
}
