// The desktop's clipboard (X11's CLIPBOARD selection) for the GTK 3 driver.
//
// Taking the clipboard offers the text in every text form GTK knows
// (UTF8_STRING, STRING, text/plain, ...); GTK answers other programs' requests
// from its event handlers, with no host code involved. Reading waits for the
// owner's answer in GLib iterations of its own, up to the time-out; an answer
// that comes later goes to a record that outlives the wait. When the
// process exits holding text, the text is handed to the desktop's clipboard
// manager (gtk_clipboard_store, which does nothing where there is none).
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>

#include "Gtk3Driver.h"
#include "platform/shared/NoDestructor.h"

namespace {

struct Offer {
    bool owned = false;  // this process holds the clipboard
    bool hasText = false;
    std::string text;
    std::thread::id thread;  // the display's thread
};

Offer& offer() {
    static NoDestructor<Offer> o;  // read at exit, after static destructors may have run
    return *o;
}

GtkClipboard* board() { return gtk_clipboard_get(GDK_SELECTION_CLIPBOARD); }

void answer(GtkClipboard*, GtkSelectionData* data, guint, gpointer) {
    if (offer().hasText)
        gtk_selection_data_set_text(data, offer().text.c_str(), static_cast<gint>(offer().text.size()));
}

// Another program took the clipboard, or this process is putting something new on it.
void lost(GtkClipboard*, gpointer) {
    offer().owned = false;
    offer().hasText = false;
    offer().text.clear();
}

void handOverAtExit() {
    if (offer().owned && offer().hasText && offer().thread == std::this_thread::get_id()) gtk_clipboard_store(board());
}

struct Read {
    bool done = false;
    bool hasText = false;
    std::string text;
};

void received(GtkClipboard*, const gchar* text, gpointer data) {
    auto* read = static_cast<std::shared_ptr<Read>*>(data);
    (*read)->done = true;
    if (text) {
        (*read)->hasText = true;
        (*read)->text = text;
    }
    delete read;
}

gboolean onTimeout(gpointer) { return G_SOURCE_REMOVE; }

}  // namespace

namespace gtk3 {

void SetClipboardText(const char* pszText) {
    static const bool registered = [] {
        offer().thread = std::this_thread::get_id();
        return std::atexit(handOverAtExit) == 0;
    }();
    (void)registered;
    GtkTargetList* list = gtk_target_list_new(nullptr, 0);
    if (pszText)
        gtk_target_list_add_text_targets(list, 0);
    else
        gtk_target_list_add(list, gdk_atom_intern_static_string("application/x-cbasis-nothing"), 0, 0);
    int count = 0;
    GtkTargetEntry* targets = gtk_target_table_new_from_list(list, &count);
    gtk_target_list_unref(list);
    bool taken = gtk_clipboard_set_with_data(board(), targets, static_cast<guint>(count), answer, lost, nullptr);
    gtk_target_table_free(targets, count);
    // Set after the previous offer's lost() ran.
    offer().owned = taken;
    offer().hasText = taken && pszText;
    offer().text = offer().hasText ? pszText : "";
    if (offer().hasText) gtk_clipboard_set_can_store(board(), nullptr, 0);
}

DisplayClipboard GetClipboardText(DWORD dwMilliseconds, std::string* pText) {
    if (offer().owned) return DisplayClipboard::Own;
    auto read = std::make_shared<Read>();
    gtk_clipboard_request_text(board(), received, new std::shared_ptr<Read>(read));
    gint64 deadline = g_get_monotonic_time() + static_cast<gint64>(dwMilliseconds) * 1000;
    while (!read->done) {
        gint64 left = deadline - g_get_monotonic_time();
        if (left <= 0) break;
        guint timeout = g_timeout_add(static_cast<guint>((left + 999) / 1000), onTimeout, nullptr);
        g_main_context_iteration(nullptr, TRUE);
        if (GSource* source = g_main_context_find_source_by_id(nullptr, timeout)) g_source_destroy(source);
    }
    if (!read->hasText) return DisplayClipboard::NoText;
    *pText = std::move(read->text);
    return DisplayClipboard::Text;
}

}  // namespace gtk3
