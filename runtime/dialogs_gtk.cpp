// The file-open dialog through GTK 3's native file chooser (the desktop's own dialog where one is
// offered) and the message box through SDL, each with a console form when no display shows it.
#include <gtk/gtk.h>

#include <cstdio>
#include <cstring>

#include "runtime/console.h"
#include "runtime/dialogs.h"
#include "runtime/internal/dialog_texts.h"
#include "runtime/internal/platform.h"
#include "runtime/internal/platform_memory.h"
#include "runtime/window.h"

namespace orvelt {

namespace {

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
  return g_log_writer_default(level, fields, count, data);
}

bool GtkReady() {
  static const bool ready = [] {
    g_log_set_writer_func(WriteLogEntry, nullptr, nullptr);
    return gtk_init_check(nullptr, nullptr) != FALSE;
  }();
  return ready;
}

Text ChooseOnConsole(const Text& title) {
  PrintLine(title);
  return ReadConsoleLine().value_or(Text());
}

void AddFilters(GtkFileChooser* chooser, const Text& filter) {
  for (const FilterGroup& group : ParseFileFilter(filter)) {
    GtkFileFilter* gtkFilter = gtk_file_filter_new();
    gtk_file_filter_set_name(gtkFilter, EncodeUtf8(group.description).c_str());
    for (const Text& pattern : group.patterns) gtk_file_filter_add_pattern(gtkFilter, EncodeUtf8(pattern).c_str());
    gtk_file_chooser_add_filter(chooser, gtkFilter);
  }
}

void ApplyInitialPath(GtkFileChooser* chooser, const Text& initialPath) {
  InitialPath parts = SplitInitialPath(initialPath);
  if (!parts.directory.empty()) gtk_file_chooser_set_current_folder(chooser, EncodeUtf8(parts.directory).c_str());
  if (!parts.name.empty()) gtk_file_chooser_set_filename(chooser, EncodeUtf8(initialPath).c_str());
}

// The dialog closes its window only when the main loop next runs, so the loop is drained before
// the program goes on.
void DrainGtkEvents() {
  while (gtk_events_pending()) gtk_main_iteration();
}

Text ChooseWithGtk(const Text& title, const Text& filter, const Text& initialPath) {
  GtkFileChooserNative* dialog = gtk_file_chooser_native_new(
      EncodeUtf8(title).c_str(), nullptr, GTK_FILE_CHOOSER_ACTION_OPEN, "_\xC3\x96" "ffnen", "_Abbrechen");
  GtkFileChooser* chooser = GTK_FILE_CHOOSER(dialog);
  gtk_file_chooser_set_local_only(chooser, TRUE);
  AddFilters(chooser, filter);
  ApplyInitialPath(chooser, initialPath);
  Text chosen;
  if (gtk_native_dialog_run(GTK_NATIVE_DIALOG(dialog)) == GTK_RESPONSE_ACCEPT) {
    if (char* path = gtk_file_chooser_get_filename(chooser)) {
      chosen = DecodeBytes(path);
      g_free(path);
    }
  }
  g_object_unref(dialog);
  DrainGtkEvents();
  return chosen;
}

}  // namespace

Text ChooseFileToOpen(const Text& title, const Text& filter, const Text& initialPath) {
  if (memory::Installed() || !GtkReady()) return ChooseOnConsole(title);
  return ChooseWithGtk(title, filter, initialPath);
}

void ShowMessage(const Text& text, bool serious) {
  if (!memory::Installed() && ShowSdlMessage(WindowTitle(), MessageForBox(text), serious)) return;
  std::FILE* err = ConsoleErr();
  std::string bytes = MessageForConsole(text);
  std::fwrite(bytes.data(), 1, bytes.size(), err);
  std::fflush(err);
}

}  // namespace orvelt
