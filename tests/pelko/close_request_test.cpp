// Closing a pelko program's window under a real X server: the first close request changes nothing
// (the program, which never asks for it, goes on and still answers keys); a second one before the
// first was answered ends the program with status 0.
#include <gtest/gtest.h>

#include "tests/support/run.h"
#include "tests/support/x11.h"

namespace {

// Loops for good; A held prints "weiter".
const char kEndless[] =
    ".text\n"
    "main:\n"
    "app \"pelko Schliessen\"\n"
    "gfx 100, 80\n"
    "mov cmd, \"bereit\"\n"
    "int print\n"
    "loop:\n"
    "wait\n"
    "int hitkey, A\n"
    "cmp kbd, 1\n"
    "jne loop\n"
    "mov cmd, \"weiter\"\n"
    "int print\n"
    "jmp loop\n";

TEST(CloseRequest, SecondOneEndsTheProgram) {
  REQUIRE_X11_DISPLAY();
  x11::WindowedProgram run(PELKO_BIN, "endlos.pel", kEndless, "pelko Schliessen");
  ASSERT_TRUE(run.window);
  ASSERT_TRUE(run.program.WaitForOutput("bereit\r\n"));
  ASSERT_TRUE(x11::RequestClose(*run.window));
  // The key comes after the request, so the program saw the request before it printed this.
  auto wentOn = [&] { return run.program.Out().find("weiter") != std::string::npos; };
  ASSERT_TRUE(x11::PressKeyUntil(*run.window, "a", wentOn)) << run.program.Err();
  EXPECT_TRUE(run.program.Running());
  ASSERT_TRUE(x11::RequestClose(*run.window));
  ASSERT_TRUE(run.program.WaitForExit());
  EXPECT_EQ(run.program.Status(), 0);
  EXPECT_EQ(run.program.Out().rfind("bereit\r\nweiter\r\n", 0), 0u) << run.program.Out();
  EXPECT_EQ(run.program.Err(), "");
}

}  // namespace
