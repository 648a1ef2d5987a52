// The key table end to end under a real X server: a pelko program prints the code of every key
// "waitkey" returns, for keys pressed with xdotool, until Escape ends it.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <thread>

#include "tests/support/run.h"
#include "tests/support/x11.h"

namespace {

const char kProgram[] =
    ".text\n"
    "app \"pelko Tastencodes\"\n"
    "gfx 64, 48\n"
    "next:\n"
    "int waitkey\n"
    "mov cmd, kbd\n"
    "int print\n"
    "cmp kbd, 27\n"
    "jne next\n";

struct KeyRow {
  std::string key;  // X keysym name, as xdotool takes it
  int code;
};

std::vector<KeyRow> KeyTable() {
  std::vector<KeyRow> rows;
  for (char letter = 'a'; letter <= 'z'; ++letter) rows.push_back({std::string(1, letter), letter - 'a' + 65});
  for (char digit = '0'; digit <= '9'; ++digit) rows.push_back({std::string(1, digit), digit});
  for (int f = 1; f <= 12; ++f) rows.push_back({"F" + std::to_string(f), 111 + f});
  std::vector<KeyRow> named = {{"Left", 37},    {"Up", 38},         {"Right", 39},     {"Down", 40},
                               {"Return", 13},  {"space", 32},      {"Shift_L", 160},  {"Control_L", 162},
                               {"Alt_L", 164},  {"Escape", 27}};
  rows.insert(rows.end(), named.begin(), named.end());
  return rows;
}

long Lines(const x11::BackgroundProcess& program) {
  std::string out = program.Out();
  return std::count(out.begin(), out.end(), '\n');
}

// Pressed until the program has printed one more line (or has ended).
bool PressUntilALine(x11::BackgroundProcess& program, x11::WindowId window, const std::string& key) {
  long before = Lines(program);
  return x11::PressKeyUntil(window, key, [&] { return Lines(program) > before || !program.Running(); });
}

// Held until the program has printed one more line; pressed again while it has not.
bool HoldUntilALine(x11::BackgroundProcess& program, x11::WindowId window, const std::string& key) {
  long before = Lines(program);
  for (int attempt = 0; attempt < 20; ++attempt) {
    if (!x11::KeyDown(window, key)) return false;
    for (int poll = 0; poll < 10; ++poll) {
      if (Lines(program) > before) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    x11::KeyUp(window, key);
  }
  return false;
}

// The program running with its window found; skipped without a display.
class KeyCodes : public ::testing::Test {
 protected:
  void SetUp() override {
    REQUIRE_X11_DISPLAY();
    run_ = std::make_unique<x11::WindowedProgram>(PELKO_BIN, "tasten.pel", kProgram, "pelko Tastencodes");
    ASSERT_TRUE(run_->window) << run_->program.Err();
    program_ = &run_->program;
    window_ = *run_->window;
  }

  std::unique_ptr<x11::WindowedProgram> run_;
  x11::BackgroundProcess* program_ = nullptr;
  x11::WindowId window_ = 0;
};

TEST_F(KeyCodes, EveryKeyOfTheTableGivesItsCode) {
  std::string expected;
  for (const KeyRow& row : KeyTable()) {
    // "waitkey" forgets keys hit before it, so a key is pressed until its line has come.
    ASSERT_TRUE(PressUntilALine(*program_, window_, row.key)) << row.key;
    expected += std::to_string(row.code) + "\r\n";
    ASSERT_EQ(program_->Out(), expected) << row.key;
  }
  ASSERT_TRUE(program_->WaitForExit());
  EXPECT_EQ(program_->Status(), 0);
}

// xdotool presses a right-hand modifier together with the left one, which "waitkey", taking the
// lowest code, reports; with the left one already held, only the right one is a new hit.
TEST_F(KeyCodes, RightHandModifiersAreToldFromTheLeftOnes) {
  const std::pair<std::string, std::string> sides[] = {
      {"Shift_L", "Shift_R"}, {"Control_L", "Control_R"}, {"Alt_L", "Alt_R"}};
  for (const auto& [left, right] : sides) {
    ASSERT_TRUE(HoldUntilALine(*program_, window_, left)) << left;
    ASSERT_TRUE(HoldUntilALine(*program_, window_, right)) << right;
    x11::KeyUp(window_, right);
    x11::KeyUp(window_, left);
  }
  ASSERT_TRUE(PressUntilALine(*program_, window_, "Escape"));
  ASSERT_TRUE(program_->WaitForExit());
  EXPECT_EQ(program_->Out(), "160\r\n161\r\n162\r\n163\r\n164\r\n165\r\n27\r\n");
}

}  // namespace
