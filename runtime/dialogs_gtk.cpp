// The dialog backend through GTK 3: the file-open dialog as GTK's native file chooser (the
// desktop's own dialog where one is offered) and the message box as GTK's message dialog, which
// draws with the desktop's fonts. Needs a display and libgtk-3.so.0, loaded the first time a
// dialog is asked for (without either it declines, and SDL's box or the console forms follow);
// opens no window of its own for drawing. A display that goes away while a dialog shows ends the
// program (x11_connection.cpp).
#include <gtk/gtk.h>

#include <cstring>
#include <string>

#include "runtime/internal/dialog_texts.h"
#include "runtime/internal/platform.h"
#include "runtime/internal/shared_library.h"
#include "runtime/internal/x11_connection.h"

namespace orvelt {

namespace {

// Only functions: GTK's cast macros would call its type checks, so pointers are cast directly.
#define ORVELT_GTK_FUNCTIONS(X)                                                                     \
  X(gtk_init_check) X(g_log_set_writer_func) X(g_log_writer_default) X(g_free) X(g_object_unref)    \
  X(gtk_events_pending) X(gtk_main_iteration) X(gtk_file_chooser_native_new)                         \
  X(gtk_native_dialog_run) X(gtk_file_chooser_set_local_only) X(gtk_file_chooser_add_filter)         \
  X(gtk_file_chooser_set_current_folder) X(gtk_file_chooser_set_filename)                            \
  X(gtk_file_chooser_get_filename) X(gtk_file_filter_new) X(gtk_file_filter_set_name)                \
  X(gtk_file_filter_add_pattern) X(gtk_message_dialog_new) X(gtk_dialog_set_default_response)        \
  X(gtk_dialog_run) X(gtk_window_set_title) X(gtk_window_set_keep_above) X(gtk_widget_destroy)

struct GtkLibrary {
  ORVELT_LIBRARY_TABLE(ORVELT_GTK_FUNCTIONS)
};

const GtkLibrary* Gtk() { return LoadLibraryTable<GtkLibrary>("libgtk-3.so.0"); }

bool FromDconf(const GLogField* fields, gsize count) {
  for (gsize i = 0; i < count; ++i) {
    if (std::strcmp(fields[i].key, "GLIB_DOMAIN") != 0) continue;
    return fields[i].length < 0 && std::strcmp(static_cast<const char*>(fields[i].value), "dconf") == 0;
  }
  return false;
}

// The file chooser stores its view settings through dconf; with no session bus (a virtual X
// server, a bare login) every attempt writes a warning to standard error, though nothing is lost
// but the chooser's own settings. Everything else is written as GLib always does.
GLogWriterOutput WriteLogEntry(GLogLevelFlags level, const GLogField* fields, gsize count, gpointer data) {
  if ((level & G_LOG_LEVEL_WARNING) && FromDconf(fields, count)) return G_LOG_WRITER_HANDLED;
  return Gtk()->g_log_writer_default(level, fields, count, data);
}

// GTK, started once; nullptr without the library or a display it can open.
const GtkLibrary* StartedGtk() {
  static const GtkLibrary* const started = []() -> const GtkLibrary* {
    const GtkLibrary* gtk = DisplayNamed() ? Gtk() : nullptr;
    if (!gtk) return nullptr;
    gtk->g_log_set_writer_func(WriteLogEntry, nullptr, nullptr);
    if (!gtk->gtk_init_check(nullptr, nullptr)) return nullptr;
    // GTK puts in Xlib handlers that write their own message and exit with status 1.
    GuardX11Connections();
    return gtk;
  }();
  return started;
}

void AddFilters(const GtkLibrary& gtk, GtkFileChooser* chooser, const Text& filter) {
  for (const FilterGroup& group : ParseFileFilter(filter)) {
    GtkFileFilter* gtkFilter = gtk.gtk_file_filter_new();
    gtk.gtk_file_filter_set_name(gtkFilter, EncodeUtf8(group.description).c_str());
    for (const Text& pattern : group.patterns) gtk.gtk_file_filter_add_pattern(gtkFilter, EncodeUtf8(pattern).c_str());
    gtk.gtk_file_chooser_add_filter(chooser, gtkFilter);
  }
}

void ApplyInitialPath(const GtkLibrary& gtk, GtkFileChooser* chooser, const Text& initialPath) {
  InitialPath parts = SplitInitialPath(initialPath);
  if (!parts.directory.empty()) gtk.gtk_file_chooser_set_current_folder(chooser, EncodeUtf8(parts.directory).c_str());
  if (!parts.name.empty()) gtk.gtk_file_chooser_set_filename(chooser, EncodeUtf8(initialPath).c_str());
}

// A dialog closes its window only when the main loop next runs, so the loop is drained before
// the program goes on.
void DrainEvents(const GtkLibrary& gtk) {
  while (gtk.gtk_events_pending()) gtk.gtk_main_iteration();
}

class GtkDialogs final : public Platform {
 public:
  std::optional<Text> ChooseFileToOpen(const Text& title, const Text& filter, const Text& initialPath) override {
    const GtkLibrary* gtk = StartedGtk();
    if (!gtk) return std::nullopt;
    GtkFileChooserNative* dialog = gtk->gtk_file_chooser_native_new(
        EncodeUtf8(title).c_str(), nullptr, GTK_FILE_CHOOSER_ACTION_OPEN, "_\xC3\x96" "ffnen", "_Abbrechen");
    auto* chooser = reinterpret_cast<GtkFileChooser*>(dialog);
    gtk->gtk_file_chooser_set_local_only(chooser, TRUE);
    AddFilters(*gtk, chooser, filter);
    ApplyInitialPath(*gtk, chooser, initialPath);
    Text chosen;
    if (gtk->gtk_native_dialog_run(reinterpret_cast<GtkNativeDialog*>(dialog)) == GTK_RESPONSE_ACCEPT) {
      if (char* path = gtk->gtk_file_chooser_get_filename(chooser)) {
        chosen = DecodeBytes(path);
        gtk->g_free(path);
      }
    }
    gtk->g_object_unref(dialog);
    DrainEvents(*gtk);
    return chosen;
  }

  // Kept above other windows, as it has no owner among them; Enter and Escape both close it.
  bool ShowMessage(const Text& caption, const Text& text, bool serious) override {
    const GtkLibrary* gtk = StartedGtk();
    if (!gtk) return false;
    std::string message = MessageForBox(text);
    GtkWidget* box = gtk->gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL, serious ? GTK_MESSAGE_WARNING : GTK_MESSAGE_INFO,
                                                 GTK_BUTTONS_OK, "%s", message.c_str());
    auto* window = reinterpret_cast<GtkWindow*>(box);
    gtk->gtk_window_set_title(window, EncodeUtf8(caption).c_str());
    gtk->gtk_window_set_keep_above(window, TRUE);
    gtk->gtk_dialog_set_default_response(reinterpret_cast<GtkDialog*>(box), GTK_RESPONSE_OK);
    gtk->gtk_dialog_run(reinterpret_cast<GtkDialog*>(box));
    gtk->gtk_widget_destroy(box);
    DrainEvents(*gtk);
    return true;
  }
};

}  // namespace

Platform& GtkDialogsBackend() {
  static GtkDialogs backend;
  return backend;
}

}  // namespace orvelt
