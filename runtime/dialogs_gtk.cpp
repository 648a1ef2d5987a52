// The file-open dialog through GTK 3's native file chooser (the desktop's own dialog where one is
// offered) and the message box through SDL, each with a console form when no display shows it.
#include <gtk/gtk.h>

#include <cstdio>

#include "runtime/console.h"
#include "runtime/dialogs.h"
#include "runtime/internal/dialog_texts.h"
#include "runtime/internal/platform.h"
#include "runtime/internal/platform_memory.h"
#include "runtime/window.h"

namespace {

bool GtkReady() {
  static const bool ready = gtk_init_check(nullptr, nullptr) != FALSE;
  return ready;
}

Text ChooseOnConsole(const Text& title) {
  PrintLine(title);
  return ReadConsoleLine().value_or(Text());
}

void AddFilters(GtkFileChooser* chooser, const Text& filter) {
  for (const orvelt::FilterGroup& group : orvelt::ParseFileFilter(filter)) {
    GtkFileFilter* gtkFilter = gtk_file_filter_new();
    gtk_file_filter_set_name(gtkFilter, EncodeUtf8(group.description).c_str());
    for (const Text& pattern : group.patterns) gtk_file_filter_add_pattern(gtkFilter, EncodeUtf8(pattern).c_str());
    gtk_file_chooser_add_filter(chooser, gtkFilter);
  }
}

void ApplyInitialPath(GtkFileChooser* chooser, const Text& initialPath) {
  orvelt::InitialPath parts = orvelt::SplitInitialPath(initialPath);
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
  if (orvelt::memory::Installed() || !GtkReady()) return ChooseOnConsole(title);
  return ChooseWithGtk(title, filter, initialPath);
}

void ShowMessage(const Text& text, bool serious) {
  if (!orvelt::memory::Installed() && orvelt::ShowSdlMessage(WindowTitle(), orvelt::MessageForBox(text), serious)) return;
  std::FILE* err = ConsoleErr();
  std::string bytes = orvelt::MessageForConsole(text);
  std::fwrite(bytes.data(), 1, bytes.size(), err);
  std::fflush(err);
}
