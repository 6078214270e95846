// The GTK 3 driver's modal dialogs: the message box, the colour chooser and
// the open-file chooser, each owned by the caller's native window.
//
// A dialog is shown and left to GTK; the layer runs its own modal loop. The
// "response" handler only records the answer (through the layer's pfnDone,
// which posts) and destroys the dialog. Escape and the window manager's
// close come as GTK_RESPONSE_DELETE_EVENT and answer the dialog's escape
// answer, or are refused when it has none. A dialog destroyed without an
// answer (its owner went) answers that too, unless the layer ended it.
//
// Sections: the dialog record; the message box; the colour chooser; the
// open-file chooser.
#include <string>

#include "Gtk3Driver.h"
#include "platform/kernel/FindFile.h"
#include "platform/user/MessageBox.h"

namespace {

// ---- The dialog record -------------------------------------------------------------------

struct Dialog {
    GtkWidget* widget = nullptr;
    DisplayDialogDone done = nullptr;
    void* context = nullptr;
    int escapeAnswer = IDCANCEL;
    bool finished = false;  // answered, or ended by the layer
    // The answer for an accepted response: fills the request in.
    int (*accept)(Dialog*, int response) = nullptr;
    DisplayColorRequest* color = nullptr;
    DisplayOpenFileRequest* file = nullptr;
};

void finish(Dialog* dialog, int answer) {
    DisplayDialogDone done = dialog->done;
    void* context = dialog->context;
    dialog->finished = true;
    gtk_widget_destroy(dialog->widget);  // frees the record (onDestroy)
    done(context, answer);
}

void onResponse(GtkDialog*, gint response, gpointer data) {
    auto* dialog = static_cast<Dialog*>(data);
    if (dialog->finished) return;
    if (response == GTK_RESPONSE_DELETE_EVENT || response == GTK_RESPONSE_CANCEL) {
        if (dialog->escapeAnswer) finish(dialog, dialog->escapeAnswer);
        return;
    }
    finish(dialog, dialog->accept(dialog, response));
}

// GtkDialog answers a close with GTK_RESPONSE_DELETE_EVENT first; the
// window itself stays until the answer destroys it.
gboolean onDelete(GtkWidget*, GdkEvent*, gpointer) { return TRUE; }

void onDestroy(GtkWidget*, gpointer data) {
    auto* dialog = static_cast<Dialog*>(data);
    if (!dialog->finished) {
        dialog->finished = true;
        dialog->done(dialog->context, dialog->escapeAnswer ? dialog->escapeAnswer : IDCANCEL);
    }
    delete dialog;
}

// Shows the dialog over its owner, modal, and returns its record.
void* show(Dialog* dialog, HWND hOwner, DisplayDialogDone pfnDone, void* pContext) {
    dialog->done = pfnDone;
    dialog->context = pContext;
    GtkWindow* window = GTK_WINDOW(dialog->widget);
    if (GtkWindow* owner = gtk3::NativeWindow(hOwner)) {
        gtk_window_set_transient_for(window, owner);
        gtk_window_set_destroy_with_parent(window, TRUE);
        gtk_window_set_position(window, GTK_WIN_POS_CENTER_ON_PARENT);
    } else {
        gtk_window_set_position(window, GTK_WIN_POS_CENTER);
    }
    gtk_window_set_modal(window, TRUE);
    gtk_window_set_deletable(window, dialog->escapeAnswer != 0);
    g_signal_connect(dialog->widget, "response", G_CALLBACK(onResponse), dialog);
    g_signal_connect(dialog->widget, "delete-event", G_CALLBACK(onDelete), dialog);
    g_signal_connect(dialog->widget, "destroy", G_CALLBACK(onDestroy), dialog);
    gtk_widget_show_all(dialog->widget);
    gtk_window_present(window);
    return dialog;
}

// ---- The message box --------------------------------------------------------------------

GtkMessageType messageType(UINT icon) {
    switch (icon) {
    case MB_ICONHAND: return GTK_MESSAGE_ERROR;
    case MB_ICONQUESTION: return GTK_MESSAGE_QUESTION;
    case MB_ICONEXCLAMATION: return GTK_MESSAGE_WARNING;
    case MB_ICONASTERISK: return GTK_MESSAGE_INFO;
    default: return GTK_MESSAGE_OTHER;
    }
}

// "&Yes" becomes GTK's "_Yes"; "&&" is a literal "&", and a literal "_" is doubled.
std::string mnemonic(const std::string& label) {
    std::string out;
    for (size_t i = 0; i < label.size(); ++i) {
        if (label[i] == '&')
            out += i + 1 < label.size() && label[i + 1] == '&' ? label[++i] : '_';
        else if (label[i] == '_')
            out += "__";
        else
            out += label[i];
    }
    return out;
}

int buttonAnswer(Dialog*, int response) { return response; }

// ---- The colour chooser ----------------------------------------------------------------------

// Return answers OK with the colour shown: GTK would give it to the swatch
// with the keyboard focus, which picks that swatch's colour instead.
gboolean returnAccepts(GtkWidget* widget, GdkEventKey* event, gpointer) {
    if (event->keyval != GDK_KEY_Return && event->keyval != GDK_KEY_KP_Enter && event->keyval != GDK_KEY_ISO_Enter)
        return FALSE;
    if (event->state & gtk_accelerator_get_default_mod_mask()) return FALSE;
    gtk_dialog_response(GTK_DIALOG(widget), GTK_RESPONSE_OK);
    return TRUE;
}

int chosenColor(Dialog* dialog, int response) {
    if (response != GTK_RESPONSE_OK) return IDCANCEL;
    GdkRGBA rgba;
    gtk_color_chooser_get_rgba(GTK_COLOR_CHOOSER(dialog->widget), &rgba);
    auto channel = [](double v) { return static_cast<BYTE>(v * 255.0 + 0.5); };
    dialog->color->color = RGB(channel(rgba.red), channel(rgba.green), channel(rgba.blue));
    return IDOK;
}

// ---- The open-file chooser ---------------------------------------------------------------------

// The filter's patterns, separated by ';', matched as the layer's finder
// matches names; no pattern shows every file.
gboolean matchesPatterns(const GtkFileFilterInfo* info, gpointer data) {
    std::string patterns = static_cast<const char*>(data);
    bool any = false;
    for (size_t start = 0; start <= patterns.size();) {
        size_t end = patterns.find(';', start);
        if (end == std::string::npos) end = patterns.size();
        std::string pattern = patterns.substr(start, end - start);
        pattern.erase(0, pattern.find_first_not_of(' '));
        pattern.erase(pattern.find_last_not_of(' ') + 1);
        if (!pattern.empty()) {
            any = true;
            if (info->display_name && PlatformMatchWildcard(info->display_name, pattern.c_str())) return TRUE;
        }
        start = end + 1;
    }
    return any ? FALSE : TRUE;
}

int chosenFile(Dialog* dialog, int response) {
    if (response != GTK_RESPONSE_ACCEPT) return IDCANCEL;
    gchar* path = gtk_file_chooser_get_filename(GTK_FILE_CHOOSER(dialog->widget));
    if (!path) return IDCANCEL;
    dialog->file->path = path;
    g_free(path);
    return IDOK;
}

}  // namespace

namespace gtk3 {

void* MessageBox(HWND hOwner, const DisplayMessageBoxRequest* pRequest, DisplayDialogDone pfnDone, void* pContext) {
    auto* dialog = new Dialog;
    dialog->widget = gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL, messageType(pRequest->icon), GTK_BUTTONS_NONE,
                                            "%s", pRequest->text.c_str());
    gtk_window_set_title(GTK_WINDOW(dialog->widget), pRequest->caption.c_str());
    for (const auto& [label, answer] : pRequest->buttons)
        gtk_dialog_add_button(GTK_DIALOG(dialog->widget), mnemonic(label).c_str(), answer);
    dialog->escapeAnswer = pRequest->escapeAnswer;
    dialog->accept = buttonAnswer;
    gtk_dialog_set_default_response(GTK_DIALOG(dialog->widget), pRequest->defaultAnswer);
    void* shown = show(dialog, hOwner, pfnDone, pContext);
    // Return answers the default button: it starts with the keyboard.
    if (GtkWidget* button = gtk_dialog_get_widget_for_response(GTK_DIALOG(dialog->widget), pRequest->defaultAnswer))
        gtk_widget_grab_focus(button);
    return shown;
}

void* ChooseColor(HWND hOwner, DisplayColorRequest* pRequest, DisplayDialogDone pfnDone, void* pContext) {
    auto* dialog = new Dialog;
    dialog->widget = gtk_color_chooser_dialog_new("Color", nullptr);
    GtkColorChooser* chooser = GTK_COLOR_CHOOSER(dialog->widget);
    gtk_color_chooser_set_use_alpha(chooser, FALSE);
    COLORREF start = pRequest->bInit ? pRequest->color : RGB(0, 0, 0);
    GdkRGBA rgba{GetRValue(start) / 255.0, GetGValue(start) / 255.0, GetBValue(start) / 255.0, 1.0};
    gtk_color_chooser_set_rgba(chooser, &rgba);
    if (pRequest->bFullOpen) g_object_set(dialog->widget, "show-editor", TRUE, nullptr);
    gtk_dialog_set_default_response(GTK_DIALOG(dialog->widget), GTK_RESPONSE_OK);
    g_signal_connect(dialog->widget, "key-press-event", G_CALLBACK(returnAccepts), nullptr);
    dialog->accept = chosenColor;
    dialog->color = pRequest;
    return show(dialog, hOwner, pfnDone, pContext);
}

void* OpenFile(HWND hOwner, DisplayOpenFileRequest* pRequest, DisplayDialogDone pfnDone, void* pContext) {
    auto* dialog = new Dialog;
    dialog->widget = gtk_file_chooser_dialog_new(pRequest->title.c_str(), nullptr, GTK_FILE_CHOOSER_ACTION_OPEN,
                                                 "_Cancel", GTK_RESPONSE_CANCEL, "_Open", GTK_RESPONSE_ACCEPT, nullptr);
    GtkFileChooser* chooser = GTK_FILE_CHOOSER(dialog->widget);
    gtk_file_chooser_set_local_only(chooser, TRUE);
    if (!pRequest->initialDir.empty()) gtk_file_chooser_set_current_folder(chooser, pRequest->initialDir.c_str());
    size_t index = 0;
    for (const auto& [description, patterns] : pRequest->filters) {
        GtkFileFilter* filter = gtk_file_filter_new();
        gtk_file_filter_set_name(filter, description.c_str());
        gtk_file_filter_add_custom(filter, GTK_FILE_FILTER_DISPLAY_NAME, matchesPatterns, g_strdup(patterns.c_str()),
                                   g_free);
        gtk_file_chooser_add_filter(chooser, filter);
        if (index++ == pRequest->filterIndex) gtk_file_chooser_set_filter(chooser, filter);
    }
    gtk_dialog_set_default_response(GTK_DIALOG(dialog->widget), GTK_RESPONSE_ACCEPT);
    dialog->accept = chosenFile;
    dialog->file = pRequest;
    return show(dialog, hOwner, pfnDone, pContext);
}

void EndDialog(void* pDialog) {
    auto* dialog = static_cast<Dialog*>(pDialog);
    dialog->finished = true;
    gtk_widget_destroy(dialog->widget);
}

}  // namespace gtk3
