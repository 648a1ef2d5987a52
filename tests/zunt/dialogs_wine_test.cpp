// Windows' own file-open dialog under Wine and a real X server: zunt.exe started without a script
// asks for one with it. Runs only when the tests run the Windows programs (ORVELT_WINE_BUILD); the
// message box is the same test for both systems (WindowX11.ZuntLoadFailureShowsItsMessageBox).
#include <gtest/gtest.h>

#include <string>

#include "tests/support/run.h"
#include "tests/support/x11.h"
#include "tests/zunt/run_harness.h"

namespace {

using orvelt::zunt::testing::kSuccessLine;
using orvelt::zunt::testing::StartLine;

#define REQUIRE_WINDOWS_PROGRAMS()                                                   \
  do {                                                                               \
    REQUIRE_X11_DISPLAY();                                                           \
    if (!RunsWindowsPrograms()) GTEST_SKIP() << "runs only the Windows programs";   \
  } while (0)

// The path as a Windows program sees a Linux one: Wine's drive Z: is the root.
std::string WindowsPath(std::string path) {
  for (char& c : path)
    if (c == '/') c = '\\';
  return "Z:" + path;
}

TEST(WindowsDialogs, TheFileOpenDialogRunsTheChosenScript) {
  REQUIRE_WINDOWS_PROGRAMS();
  TempDir dir;
  std::string path = WindowsPath(dir.Write("gewaehlt.cf", "end\n"));
  x11::BackgroundProcess program(ZUNT_BIN, {});
  std::optional<x11::WindowId> dialog = x11::FindWindow("Script \xC3\xB6" "ffnen:", 15000, program.Pid());
  ASSERT_TRUE(dialog) << program.Err();
  ASSERT_TRUE(x11::WaitUntilSettled(*dialog));
  // The name field has the focus; what is typed there before the dialog is ready is lost.
  for (int attempt = 0; attempt < 5 && program.Running(); ++attempt) {
    ASSERT_TRUE(x11::TypeText(*dialog, path));
    ASSERT_TRUE(x11::PressKey(*dialog, "Return"));
    if (program.WaitForExit(3000)) break;
    x11::PressKey(*dialog, "ctrl+a");
  }
  ASSERT_TRUE(program.WaitForExit());
  EXPECT_EQ(program.Out(), StartLine(path) + kSuccessLine);
  EXPECT_EQ(program.Status(), 0);
}

}  // namespace
