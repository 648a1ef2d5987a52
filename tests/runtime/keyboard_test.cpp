// The keyboard state machine with injected events: one hit per press, auto-repeat ignored,
// release, focus flushing, the 256-character queue, the close request answered once.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/internal/keyboard.h"
#include "runtime/internal/platform_sdl_keys.h"
#include "runtime/internal/platform_win32_keys.h"

using namespace orvelt;

namespace {

using orvelt::KeyboardState;

constexpr int kNumLock = 0x1000;  // SDL's KMOD_NUM

// A session of events, one letter each: "d65" press, "r65" auto-repeat, "u65" release,
// "c97" typed character, "f" focus change, "x" close request, "t" the program asks for it.
void Play(KeyboardState& keys, const std::vector<std::string>& events) {
  for (const std::string& event : events) {
    int code = event.size() > 1 ? std::stoi(event.substr(1)) : 0;
    switch (event[0]) {
      case 'd': keys.Press(code, false); break;
      case 'r': keys.Press(code, true); break;
      case 'u': keys.Release(code); break;
      case 'c': keys.Type(code); break;
      case 'f': keys.Clear(); break;
      case 'x': keys.RequestClose(); break;
      case 't': keys.TakeCloseRequest(); break;
    }
  }
}

TEST(Keyboard, HitsAndDownFlags) {
  struct Row {
    std::vector<std::string> events;
    int code;
    int hits;
    int down;
  };
  const Row rows[] = {
      {{}, 65, 0, 0},
      {{"d65"}, 65, 1, 1},
      {{"d65", "u65"}, 65, 1, 0},
      {{"d65", "r65", "r65", "r65"}, 65, 1, 1},           // held with auto-repeat: one hit
      {{"d65", "d65", "d65"}, 65, 1, 1},                  // a press while down changes nothing
      {{"d65", "u65", "d65", "u65"}, 65, 2, 0},           // pressed again: a second hit
      {{"r65"}, 65, 0, 0},                                // a repeat alone is no press
      {{"d65", "f"}, 65, 0, 0},                           // focus change forgets everything
      {{"d65", "f", "d65"}, 65, 1, 1},
      {{"d27", "d37"}, 37, 1, 1},
      {{"d0"}, 0, 0, 0},                                  // code 0 is no key
      {{"d256"}, 256, 0, 0},
      {{"d255"}, 255, 1, 1},
      {{"d65"}, -1, 0, 0},
      {{"d65"}, 1000, 0, 0},
  };
  for (const Row& row : rows) {
    KeyboardState keys;
    Play(keys, row.events);
    EXPECT_EQ(keys.IsDown(row.code), row.down) << ::testing::PrintToString(row.events);
    EXPECT_EQ(keys.TakeHits(row.code), row.hits) << ::testing::PrintToString(row.events);
    EXPECT_EQ(keys.TakeHits(row.code), 0) << "asking resets the counter";
  }
}

TEST(Keyboard, LowestHitComesFirst) {
  struct Row {
    std::vector<std::string> events;
    std::vector<int> answers;
  };
  const Row rows[] = {
      {{}, {0}},
      {{"d90", "d65", "d27"}, {27, 65, 90, 0}},
      {{"d65", "u65", "d65", "u65"}, {65, 0}},  // two hits of one key: one answer
      {{"d255", "d1"}, {1, 255, 0}},
  };
  for (const Row& row : rows) {
    KeyboardState keys;
    Play(keys, row.events);
    std::vector<int> answers;
    for (size_t i = 0; i < row.answers.size(); ++i) answers.push_back(keys.TakeLowestHit());
    EXPECT_EQ(answers, row.answers);
  }
}

TEST(Keyboard, TypedCharactersQueueInOrder) {
  KeyboardState keys;
  Play(keys, {"c72", "c105", "c8", "c13", "c228"});
  std::vector<int> read;
  for (int i = 0; i < 6; ++i) read.push_back(keys.NextChar());
  EXPECT_EQ(read, (std::vector<int>{72, 105, 8, 13, 228, 0}));
}

TEST(Keyboard, QueueKeeps256AndDropsTheOverflow) {
  KeyboardState keys;
  for (int i = 0; i < 300; ++i) keys.Type(1000 + i);
  for (int i = 0; i < 256; ++i) ASSERT_EQ(keys.NextChar(), 1000 + i);
  EXPECT_EQ(keys.NextChar(), 0);
  // Once read, the ring takes characters again.
  keys.Type(7);
  EXPECT_EQ(keys.NextChar(), 7);
  EXPECT_EQ(keys.NextChar(), 0);
}

TEST(Keyboard, FocusChangeEmptiesTheQueue) {
  KeyboardState keys;
  Play(keys, {"c65", "c66", "f", "c67"});
  EXPECT_EQ(keys.NextChar(), 67);
  EXPECT_EQ(keys.NextChar(), 0);
}

TEST(Keyboard, CloseRequestIsAnsweredOnce) {
  struct Row {
    std::vector<std::string> events;
    std::vector<int> answers;
  };
  const Row rows[] = {
      {{}, {0, 0}},
      {{"x"}, {1, 0, 0}},
      {{"x", "x"}, {1, 0}},
      {{"x", "f"}, {1, 0}},  // a focus change keeps the request
  };
  for (const Row& row : rows) {
    KeyboardState keys;
    Play(keys, row.events);
    std::vector<int> answers;
    for (size_t i = 0; i < row.answers.size(); ++i) answers.push_back(keys.TakeCloseRequest());
    EXPECT_EQ(answers, row.answers) << ::testing::PrintToString(row.events);
  }
}

TEST(Keyboard, SecondCloseRequestBeforeTheFirstIsAnsweredInsists) {
  struct Row {
    std::vector<std::string> events;
    bool insisted;
  };
  const Row rows[] = {
      {{}, false},
      {{"x"}, false},
      {{"x", "x"}, true},
      {{"x", "f", "d65", "x"}, true},
      {{"x", "t", "x"}, false},  // the first was answered: this one is a first again
      {{"x", "t", "x", "x"}, true},
      {{"t", "x"}, false},
  };
  for (const Row& row : rows) {
    KeyboardState keys;
    Play(keys, row.events);
    EXPECT_EQ(keys.CloseInsisted(), row.insisted) << ::testing::PrintToString(row.events);
  }
}

#ifndef _WIN32
// SDL numbers keys by USB usage (scancode) and by symbol (Unicode for printable keys, else the
// scancode with bit 30 set); the rows give the raw numbers.
TEST(Keyboard, SdlKeysMapToVirtualKeyCodes) {
  constexpr int kSymbolOfScancode = 1 << 30;
  struct Row {
    int scancode, keysym, code;
  };
  const Row rows[] = {
      {4, 'a', 65},   {29, 'z', 90},  {20, 'a', 65},   // letters follow the label: Q's place says A on AZERTY
      {30, '1', 49},  {39, '0', 48},  {30, '&', 49},   // a digit's place without a digit label: by place
      {31, '2', 50},  {40, '\r', 13}, {41, 27, 27},    {42, 8, 8},      {43, 9, 9},     {44, ' ', 32},
      {45, '-', 189}, {46, '=', 187}, {51, ';', 186},  {52, '\'', 222}, {53, '`', 192}, {54, ',', 188},
      {55, '.', 190}, {56, '/', 191}, {47, '[', 219},  {48, ']', 221},  {49, '\\', 220},
      {58, 58 | kSymbolOfScancode, 112}, {69, 69 | kSymbolOfScancode, 123},
      {73, 73 | kSymbolOfScancode, 45},  {74, 74 | kSymbolOfScancode, 36},  {75, 75 | kSymbolOfScancode, 33},
      {76, 127, 46},                     {77, 77 | kSymbolOfScancode, 35},  {78, 78 | kSymbolOfScancode, 34},
      {79, 79 | kSymbolOfScancode, 39},  {80, 80 | kSymbolOfScancode, 37},  {81, 81 | kSymbolOfScancode, 40},
      {82, 82 | kSymbolOfScancode, 38},  {89, 89 | kSymbolOfScancode, 97},  {98, 98 | kSymbolOfScancode, 96},
      {88, 88 | kSymbolOfScancode, 13},  {84, 84 | kSymbolOfScancode, 111}, {99, 99 | kSymbolOfScancode, 110},
      {225, 225 | kSymbolOfScancode, 160}, {229, 229 | kSymbolOfScancode, 161},
      {224, 224 | kSymbolOfScancode, 162}, {228, 228 | kSymbolOfScancode, 163},
      {226, 226 | kSymbolOfScancode, 164}, {230, 230 | kSymbolOfScancode, 165},
      {100, '<', 226}, {0, 0, 0}, {-5, 0, 0}, {100000, 0, 0}, {290, 0, 0},
  };
  for (const Row& row : rows)
    EXPECT_EQ(orvelt::VirtualKeyFromSdl(row.scancode, row.keysym, kNumLock), row.code) << row.scancode << " " << row.keysym;
}

// The keypad's keys as SDL reports them, with the modifier state the event carries: with NumLock
// off the digits and the point move the cursor, as the cursor block's keys do.
TEST(Keyboard, KeypadFollowsNumLock) {
  constexpr int kShift = 0x0001, kCaps = 0x2000;
  struct Row {
    int scancode, numLockOn, numLockOff;
  };
  const Row rows[] = {
      {89, 97, 35},   {90, 98, 40},   {91, 99, 34},   {92, 100, 37},  {93, 101, 12}, {94, 102, 39},
      {95, 103, 36},  {96, 104, 38},  {97, 105, 33},  {98, 96, 45},   {99, 110, 46},
      {84, 111, 111}, {85, 106, 106}, {86, 109, 109}, {87, 107, 107}, {88, 13, 13},   // the rest stays
      {80, 37, 37},   {74, 36, 36},   {30, 49, 49},                                   // off the keypad
  };
  for (const Row& row : rows) {
    int keysym = row.scancode | 1 << 30;
    for (int others : {0, kShift, kCaps}) {
      EXPECT_EQ(orvelt::VirtualKeyFromSdl(row.scancode, keysym, kNumLock | others), row.numLockOn) << row.scancode;
      EXPECT_EQ(orvelt::VirtualKeyFromSdl(row.scancode, keysym, others), row.numLockOff) << row.scancode;
    }
  }
}
#endif

// Windows' key messages carry the code itself; Shift, Control and Alt come as one code each and
// are told apart by the scan code (Shift) or the extended bit (Control, Alt).
TEST(Keyboard, Win32KeyMessagesGiveVirtualKeyCodes) {
  struct Row {
    int virtualKey, scanCode;
    bool extended;
    int code;
  };
  const Row rows[] = {
      {65, 30, false, 65},   {27, 1, false, 27},    {112, 59, false, 112}, {37, 75, true, 37},
      {16, 42, false, 160},  {16, 54, false, 161},  {17, 29, false, 162},  {17, 29, true, 163},
      {18, 56, false, 164},  {18, 56, true, 165},   {160, 42, false, 160}, {0, 0, false, 0},
      {256, 0, false, 0},    {-1, 0, false, 0},
  };
  for (const Row& row : rows)
    EXPECT_EQ(orvelt::VirtualKeyFromWin32(row.virtualKey, row.scanCode, row.extended), row.code) << row.virtualKey;
}

}  // namespace
