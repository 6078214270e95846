// The GTK 3 display driver, a module the user layer loads at run time
// (UserDriver.h): one native window per top-level window, showing the
// pixels the layer renders, and the user's input handed back as raw input.
//
// Each native window holds a drawing area and a backing surface. pPresent
// renders the window's tree into the surface (PlatformRenderWindow), at the
// display's scale (GDK_SCALE=2: twice as many device pixels each way, the
// window's size and coordinates unchanged), and asks GTK to draw; the draw
// handler only copies the surface, so an expose never reaches the library.
// Every other handler only translates the event and posts it
// (PlatformPostInput): no host code runs inside GTK. The message wait is
// one iteration of GLib's default context, which the layer's wake-up ends
// from any thread (g_main_context_wakeup).
//
// Placement: windows have static gravity, so a position is the content's
// and the window manager's frame goes around it (a window put back where it
// was saved does not creep by the frame's height). The window manager's
// moves, sizes and state changes are reported once its events have settled
// (an idle call after them), the state before the rectangle, so a
// maximized size is never taken for a normal one, whatever order the window
// manager sends them in; only a minimize follows the rectangle, which the
// window had before it. Maximizing and minimizing are asked of the window
// manager with the normal rectangle set first, which it gives back on
// restoring; without a window manager the driver applies the state's
// rectangle itself. Under Wayland only sizes and states come back, never
// positions.
//
// Sections: the windows; input; the table's entries; the entry point.
#include "Gtk3Driver.h"

#include <gdk/gdkx.h>
#include <gtk/gtk.h>

#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "platform/shared/NoDestructor.h"
#include "platform/user/Input.h"
#include "platform/user/Render.h"

namespace {

// ---- The windows ---------------------------------------------------------------------------

struct Native {
    HWND hWnd = nullptr;
    GtkWidget* window = nullptr;
    GtkWidget* area = nullptr;
    cairo_surface_t* backing = nullptr;
    int cursorHit = HTCLIENT;
    bool drawnSincePresent = true;
    guint settling = 0;  // the idle call that reports the window manager's changes
    UINT reportedState = SIZE_RESTORED;
};

std::unordered_map<HWND, Native*>& natives() {
    static NoDestructor<std::unordered_map<HWND, Native*>> map;  // the display thread's only
    return *map;
}

Native* find(HWND hWnd) {
    auto it = natives().find(hWnd);
    return it == natives().end() ? nullptr : it->second;
}

void post(Native* native, PlatformInput in) { PlatformPostInput(native->hWnd, in); }

// Whether a window manager maximizes and minimizes windows (on X11: one that
// announces maximizing; a Wayland compositor always does).
bool windowManaged() {
    GdkDisplay* display = gdk_display_get_default();
    if (!GDK_IS_X11_DISPLAY(display)) return true;
    return gdk_x11_screen_supports_net_wm_hint(gdk_display_get_default_screen(display),
                                               gdk_atom_intern_static_string("_NET_WM_STATE_MAXIMIZED_VERT"));
}

void place(Native* native, const RECT& rect) {
    gtk_window_move(GTK_WINDOW(native->window), rect.left, rect.top);
    gtk_window_resize(GTK_WINDOW(native->window), std::max<int>(1, rect.right - rect.left),
                      std::max<int>(1, rect.bottom - rect.top));
}

// ---- Input ------------------------------------------------------------------------------------

UINT virtualKey(guint keyval) {
    if (keyval >= GDK_KEY_a && keyval <= GDK_KEY_z) return static_cast<UINT>('A' + (keyval - GDK_KEY_a));
    if (keyval >= GDK_KEY_A && keyval <= GDK_KEY_Z) return static_cast<UINT>('A' + (keyval - GDK_KEY_A));
    if (keyval >= GDK_KEY_0 && keyval <= GDK_KEY_9) return static_cast<UINT>('0' + (keyval - GDK_KEY_0));
    if (keyval >= GDK_KEY_F1 && keyval <= GDK_KEY_F12) return VK_F1 + (keyval - GDK_KEY_F1);
    switch (keyval) {
    case GDK_KEY_BackSpace: return VK_BACK;
    case GDK_KEY_Tab:
    case GDK_KEY_ISO_Left_Tab: return VK_TAB;
    case GDK_KEY_Return:
    case GDK_KEY_KP_Enter: return VK_RETURN;
    case GDK_KEY_Shift_L:
    case GDK_KEY_Shift_R: return VK_SHIFT;
    case GDK_KEY_Control_L:
    case GDK_KEY_Control_R: return VK_CONTROL;
    case GDK_KEY_Alt_L:
    case GDK_KEY_Alt_R:
    case GDK_KEY_Meta_L: return VK_MENU;
    case GDK_KEY_Pause: return VK_PAUSE;
    case GDK_KEY_Caps_Lock: return VK_CAPITAL;
    case GDK_KEY_Escape: return VK_ESCAPE;
    case GDK_KEY_space: return VK_SPACE;
    case GDK_KEY_Page_Up: return VK_PRIOR;
    case GDK_KEY_Page_Down: return VK_NEXT;
    case GDK_KEY_End: return VK_END;
    case GDK_KEY_Home: return VK_HOME;
    case GDK_KEY_Left: return VK_LEFT;
    case GDK_KEY_Up: return VK_UP;
    case GDK_KEY_Right: return VK_RIGHT;
    case GDK_KEY_Down: return VK_DOWN;
    case GDK_KEY_Insert: return VK_INSERT;
    case GDK_KEY_Delete: return VK_DELETE;
    default: return 0;
    }
}

bool extendedKey(guint keyval) {
    switch (keyval) {
    case GDK_KEY_Home:
    case GDK_KEY_End:
    case GDK_KEY_Left:
    case GDK_KEY_Right:
    case GDK_KEY_Up:
    case GDK_KEY_Down:
    case GDK_KEY_Page_Up:
    case GDK_KEY_Page_Down:
    case GDK_KEY_Insert:
    case GDK_KEY_Delete:
    case GDK_KEY_Control_R:
    case GDK_KEY_Alt_R: return true;
    default: return false;
    }
}

gboolean onKey(GtkWidget*, GdkEventKey* event, gpointer data) {
    PlatformInput in;
    in.message = event->type == GDK_KEY_PRESS ? WM_KEYDOWN : WM_KEYUP;
    in.vk = virtualKey(event->keyval);
    if (!in.vk) return FALSE;
    in.scan = event->hardware_keycode >= 8 ? event->hardware_keycode - 8 : 0;  // X keycodes are scan codes + 8
    in.extended = extendedKey(event->keyval);
    gunichar ch = gdk_keyval_to_unicode(event->keyval);
    if (event->keyval == GDK_KEY_Return || event->keyval == GDK_KEY_KP_Enter) ch = '\r';
    if (event->keyval == GDK_KEY_BackSpace) ch = '\b';
    if (event->keyval == GDK_KEY_Escape) ch = 0x1B;
    in.ch = ch > 0 && ch < 0x100 ? static_cast<char>(ch) : 0;  // the 8-bit text's characters only
    in.time = 0;
    post(static_cast<Native*>(data), in);
    return TRUE;
}

UINT buttonMessage(const GdkEventButton* event) {
    static const UINT downs[] = {WM_LBUTTONDOWN, WM_MBUTTONDOWN, WM_RBUTTONDOWN};
    if (event->button < 1 || event->button > 3) return 0;
    UINT down = downs[event->button - 1];
    if (event->type == GDK_2BUTTON_PRESS) return down + 2;  // the DBLCLK
    if (event->type == GDK_BUTTON_RELEASE) return down + 1;
    return event->type == GDK_BUTTON_PRESS ? down : 0;
}

gboolean onButton(GtkWidget*, GdkEventButton* event, gpointer data) {
    PlatformInput in;
    in.message = buttonMessage(event);
    if (!in.message) return TRUE;
    in.pt = POINT{static_cast<LONG>(event->x_root), static_cast<LONG>(event->y_root)};
    post(static_cast<Native*>(data), in);
    return TRUE;
}

gboolean onMotion(GtkWidget*, GdkEventMotion* event, gpointer data) {
    PlatformInput in;
    in.message = WM_MOUSEMOVE;
    in.pt = POINT{static_cast<LONG>(event->x_root), static_cast<LONG>(event->y_root)};
    post(static_cast<Native*>(data), in);
    return TRUE;
}

gboolean onScroll(GtkWidget*, GdkEventScroll* event, gpointer data) {
    PlatformInput in;
    in.message = WM_MOUSEWHEEL;
    in.pt = POINT{static_cast<LONG>(event->x_root), static_cast<LONG>(event->y_root)};
    if (event->direction == GDK_SCROLL_UP) in.wheel = WHEEL_DELTA;
    else if (event->direction == GDK_SCROLL_DOWN) in.wheel = -WHEEL_DELTA;
    else if (event->direction == GDK_SCROLL_SMOOTH) in.wheel = static_cast<int>(-event->delta_y * WHEEL_DELTA);
    if (in.wheel) post(static_cast<Native*>(data), in);
    return TRUE;
}

// Where the window is: its origin from the server, its size as GDK last heard it.
void postRect(Native* native, GdkWindow* gdk) {
    // Wayland tells no program where its windows are: the frame keeps its own position.
    RECT own{};
    GetWindowRect(native->hWnd, &own);
    int x = own.left, y = own.top;
    if (GDK_IS_X11_DISPLAY(gdk_window_get_display(gdk))) gdk_window_get_origin(gdk, &x, &y);
    PlatformInput in;
    in.message = WM_WINDOWPOSCHANGED;
    in.rect = RECT{x, y, x + gdk_window_get_width(gdk), y + gdk_window_get_height(gdk)};
    post(native, in);
}

// Reports what the window manager did, once its events have settled: the
// state, then (unless minimized) the rectangle.
gboolean settle(gpointer data) {
    auto* native = static_cast<Native*>(data);
    native->settling = 0;
    GdkWindow* gdk = gtk_widget_get_window(native->window);
    if (!gdk) return G_SOURCE_REMOVE;
    GdkWindowState state = gdk_window_get_state(gdk);
    UINT sizeType = (state & GDK_WINDOW_STATE_ICONIFIED)   ? SIZE_MINIMIZED
                    : (state & GDK_WINDOW_STATE_MAXIMIZED) ? SIZE_MAXIMIZED
                                                           : SIZE_RESTORED;
    if (sizeType != native->reportedState) {
        // A resize that arrived together with the minimize belongs to the
        // state before it (a restore followed at once by a minimize): it is
        // reported first, or the normal position would keep the old size.
        if (sizeType == SIZE_MINIMIZED) postRect(native, gdk);
        native->reportedState = sizeType;
        PlatformInput in;
        in.message = WM_SIZE;
        in.state = sizeType;
        post(native, in);
    }
    if (sizeType != SIZE_MINIMIZED) postRect(native, gdk);
    return G_SOURCE_REMOVE;
}

void settleLater(Native* native) {
    if (!native->settling) native->settling = g_idle_add(settle, native);
}

gboolean onConfigure(GtkWidget*, GdkEventConfigure*, gpointer data) {
    settleLater(static_cast<Native*>(data));
    return FALSE;
}

gboolean onState(GtkWidget*, GdkEventWindowState* event, gpointer data) {
    if (event->changed_mask & (GDK_WINDOW_STATE_ICONIFIED | GDK_WINDOW_STATE_MAXIMIZED))
        settleLater(static_cast<Native*>(data));
    return FALSE;
}

gboolean onFocus(GtkWidget*, GdkEventFocus* event, gpointer data) {
    PlatformInput in;
    in.message = WM_ACTIVATE;
    in.state = event->in ? WA_ACTIVE : WA_INACTIVE;
    post(static_cast<Native*>(data), in);
    return FALSE;
}

gboolean onDelete(GtkWidget*, GdkEvent*, gpointer data) {
    auto* native = static_cast<Native*>(data);
    // A state change that came just before the close (restored, then
    // closed at once) reaches the frame before it saves its placement.
    if (native->settling) {
        g_source_remove(native->settling);
        settle(native);
    }
    PlatformInput in;
    in.message = WM_CLOSE;
    post(native, in);
    return TRUE;  // the window goes when the application destroys it
}

// Copies the backing surface: the library's pixels, nothing else.
gboolean onDraw(GtkWidget*, cairo_t* cr, gpointer data) {
    auto* native = static_cast<Native*>(data);
    if (!native->backing) return TRUE;
    cairo_set_source_surface(cr, native->backing, 0, 0);
    cairo_paint(cr);
    if (!native->drawnSincePresent) {
        native->drawnSincePresent = true;
        PlatformInput in;
        in.message = WM_PAINT;  // the pixels are on the screen
        post(native, in);
    }
    return TRUE;
}

// ---- The table's entries ------------------------------------------------------------------------

void getScreenSize(int* pcx, int* pcy, int* pcxFull, int* pcyFull) {
    GdkDisplay* display = gdk_display_get_default();
    GdkMonitor* monitor = gdk_display_get_primary_monitor(display);
    if (!monitor) monitor = gdk_display_get_monitor(display, 0);
    GdkRectangle all{0, 0, 1024, 768}, work{0, 0, 1024, 768};
    if (monitor) {
        gdk_monitor_get_geometry(monitor, &all);
        gdk_monitor_get_workarea(monitor, &work);
    }
    *pcx = all.width;
    *pcy = all.height;
    *pcxFull = work.width;
    *pcyFull = work.height;
}

BOOL createWindow(HWND hWnd, const RECT* rect, LPCSTR lpszTitle) {
    auto* native = new Native;
    native->hWnd = hWnd;
    native->window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    native->area = gtk_drawing_area_new();
    gtk_container_add(GTK_CONTAINER(native->window), native->area);
    gtk_window_set_title(GTK_WINDOW(native->window), lpszTitle);
    int width = std::max<int>(1, rect->right - rect->left), height = std::max<int>(1, rect->bottom - rect->top);
    gtk_window_set_gravity(GTK_WINDOW(native->window), GDK_GRAVITY_STATIC);
    gtk_window_set_default_size(GTK_WINDOW(native->window), width, height);
    gtk_window_move(GTK_WINDOW(native->window), rect->left, rect->top);
    gtk_widget_set_can_focus(native->area, TRUE);
    gtk_widget_add_events(native->area, GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK | GDK_POINTER_MOTION_MASK |
                                            GDK_SCROLL_MASK);
    g_signal_connect(native->area, "draw", G_CALLBACK(onDraw), native);
    g_signal_connect(native->area, "button-press-event", G_CALLBACK(onButton), native);
    g_signal_connect(native->area, "button-release-event", G_CALLBACK(onButton), native);
    g_signal_connect(native->area, "motion-notify-event", G_CALLBACK(onMotion), native);
    g_signal_connect(native->area, "scroll-event", G_CALLBACK(onScroll), native);
    g_signal_connect(native->window, "key-press-event", G_CALLBACK(onKey), native);
    g_signal_connect(native->window, "key-release-event", G_CALLBACK(onKey), native);
    g_signal_connect(native->window, "configure-event", G_CALLBACK(onConfigure), native);
    g_signal_connect(native->window, "window-state-event", G_CALLBACK(onState), native);
    g_signal_connect(native->window, "focus-in-event", G_CALLBACK(onFocus), native);
    g_signal_connect(native->window, "focus-out-event", G_CALLBACK(onFocus), native);
    g_signal_connect(native->window, "delete-event", G_CALLBACK(onDelete), native);
    natives()[hWnd] = native;
    return TRUE;
}

void destroyWindow(HWND hWnd) {
    Native* native = find(hWnd);
    if (!native) return;
    natives().erase(hWnd);
    if (native->settling) g_source_remove(native->settling);
    gtk_widget_destroy(native->window);
    if (native->backing) cairo_surface_destroy(native->backing);
    delete native;
}

void setWindowPos(HWND hWnd, const RECT* rect) {
    if (Native* native = find(hWnd)) place(native, *rect);
}

void showWindow(HWND hWnd, int nState, BOOL bActivate, const RECT* pNormal, const RECT* pRect,
                BOOL bRestoreToMaximized) {
    Native* native = find(hWnd);
    if (!native) return;
    GtkWindow* window = GTK_WINDOW(native->window);
    if (nState == SW_HIDE) {
        gtk_widget_hide(native->window);
        return;
    }
    GdkWindow* gdk = gtk_widget_get_window(native->window);
    GdkWindowState now = gdk && gtk_widget_get_mapped(native->window) ? gdk_window_get_state(gdk) : GdkWindowState(0);
    bool normalNow = !(now & (GDK_WINDOW_STATE_MAXIMIZED | GDK_WINDOW_STATE_ICONIFIED));
    bool managed = windowManaged();
    // The state asked for is the one the frame now has: a window manager's
    // change back from it (a restore before the idle report ran) is then
    // reported, never taken for no change. Without a window manager GDK
    // reports no states, so nothing would come back to compare.
    if (managed)
        native->reportedState = nState == SW_SHOWMAXIMIZED   ? SIZE_MAXIMIZED
                                : nState == SW_SHOWMINIMIZED ? SIZE_MINIMIZED
                                                             : SIZE_RESTORED;
    gtk_window_set_focus_on_map(window, bActivate);
    switch (nState) {
    case SW_SHOWMAXIMIZED:
        if (!managed) {
            place(native, *pRect);  // nobody else would size it
            gtk_widget_show_all(native->window);
            break;
        }
        if (normalNow) place(native, *pNormal);  // what restoring gives back
        gtk_widget_show_all(native->window);
        gtk_window_deiconify(window);
        gtk_window_maximize(window);
        break;
    case SW_SHOWMINIMIZED:
        if (normalNow) place(native, *pNormal);
        if (bRestoreToMaximized && managed) gtk_window_maximize(window);
        gtk_widget_show_all(native->window);
        gtk_window_iconify(window);
        break;
    default:
        gtk_widget_show_all(native->window);
        gtk_window_deiconify(window);
        gtk_window_unmaximize(window);
        place(native, *pNormal);
        break;
    }
    if (bActivate) gtk_window_present(window);
}

void setWindowText(HWND hWnd, LPCSTR lpszText) {
    if (Native* native = find(hWnd)) gtk_window_set_title(GTK_WINDOW(native->window), lpszText);
}

void present(HWND hWnd) {
    Native* native = find(hWnd);
    RECT r;
    if (!native || !GetWindowRect(hWnd, &r)) return;
    int scale = std::max(1, gtk_widget_get_scale_factor(native->area));
    int width = (r.right - r.left) * scale, height = (r.bottom - r.top) * scale;
    if (width <= 0 || height <= 0 || width > 16384 || height > 16384) return;
    if (!native->backing || cairo_image_surface_get_width(native->backing) != width ||
        cairo_image_surface_get_height(native->backing) != height) {
        if (native->backing) cairo_surface_destroy(native->backing);
        native->backing = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
        cairo_surface_set_device_scale(native->backing, scale, scale);  // drawn at the window's own size
    }
    cairo_surface_flush(native->backing);
    PlatformRenderWindow(hWnd, cairo_image_surface_get_data(native->backing), width, height,
                         cairo_image_surface_get_stride(native->backing), POINT{r.left, r.top}, scale);
    cairo_surface_mark_dirty(native->backing);
    native->drawnSincePresent = false;
    gtk_widget_queue_draw(native->area);
}

const char* cursorName(int nHitCode) {
    switch (nHitCode) {
    case HTLEFT:
    case HTRIGHT: return "ew-resize";
    case HTTOP:
    case HTBOTTOM: return "ns-resize";
    case HTTOPLEFT:
    case HTBOTTOMRIGHT: return "nwse-resize";
    case HTTOPRIGHT:
    case HTBOTTOMLEFT: return "nesw-resize";
    default: return "default";
    }
}

void setCursor(HWND hWnd, int nHitCode) {
    Native* native = find(hWnd);
    GdkWindow* gdk = native ? gtk_widget_get_window(native->area) : nullptr;
    if (!gdk || std::strcmp(cursorName(native->cursorHit), cursorName(nHitCode)) == 0) return;
    native->cursorHit = nHitCode;
    GdkCursor* cursor = gdk_cursor_new_from_name(gdk_window_get_display(gdk), cursorName(nHitCode));
    gdk_window_set_cursor(gdk, cursor);
    if (cursor) g_object_unref(cursor);
}

gboolean onTimeout(gpointer) { return G_SOURCE_REMOVE; }

void msgWait(DWORD dwMilliseconds) {
    if (PlatformTakeWakeup()) return;
    guint timeout = dwMilliseconds == INFINITE ? 0 : g_timeout_add(dwMilliseconds, onTimeout, nullptr);
    g_main_context_iteration(nullptr, TRUE);
    if (timeout) {
        if (GSource* source = g_main_context_find_source_by_id(nullptr, timeout)) g_source_destroy(source);
    }
    PlatformTakeWakeup();
}

void wake() { g_main_context_wakeup(nullptr); }

const UserDriverFuncs kGtk3 = {
    "gtk3",
    getScreenSize,
    createWindow,
    destroyWindow,
    setWindowPos,
    showWindow,
    setWindowText,
    present,
    setCursor,
    msgWait,
    wake,
    gtk3::SetClipboardText,
    gtk3::GetClipboardText,
    gtk3::MessageBox,
    gtk3::ChooseColor,
    gtk3::OpenFile,
    gtk3::EndDialog,
};

}  // namespace

GtkWindow* gtk3::NativeWindow(HWND hWnd) {
    Native* native = hWnd ? find(hWnd) : nullptr;
    return native ? GTK_WINDOW(native->window) : nullptr;
}

// ---- The entry point ------------------------------------------------------------------------------

extern "C" __attribute__((visibility("default"))) const UserDriverFuncs* CBasisDisplayDriver(int nVersion,
                                                                                             const char** ppszWhy) {
    if (nVersion != CBASIS_DISPLAY_DRIVER_VERSION) {
        *ppszWhy = "the display module was built for another version of the platform layer";
        return nullptr;
    }
    g_setenv("GDK_BACKEND", "x11", FALSE);  // X11 first (also under XWayland), unless the user chose
    if (!gtk_init_check(nullptr, nullptr)) {
        *ppszWhy = "no display could be opened";
        return nullptr;
    }
    return &kGtk3;
}
