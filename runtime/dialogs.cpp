// The file-open dialog and the message box: the first backend that can show them, else their
// console forms.
#include "runtime/dialogs.h"

#include <cstdio>

#include "runtime/console.h"
#include "runtime/internal/dialog_texts.h"
#include "runtime/internal/platform.h"
#include "runtime/window.h"

namespace orvelt {

Text ChooseFileToOpen(const Text& title, const Text& filter, const Text& initialPath) {
  if (std::optional<Text> chosen = ChoosePlatformFile(title, filter, initialPath)) return *chosen;
  PrintLine(title);
  return ReadConsoleLine().value_or(Text());
}

void ShowMessage(const Text& text, bool serious) {
  if (ShowPlatformMessage(WindowTitle(), text, serious)) {
    RaiseGraphicsWindow();
    return;
  }
  std::FILE* err = ConsoleErr();
  std::string bytes = MessageForConsole(text);
  std::fwrite(bytes.data(), 1, bytes.size(), err);
  std::fflush(err);
}

}  // namespace orvelt
