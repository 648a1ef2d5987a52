// The keyboard state machine with injected events: one hit per press, auto-repeat ignored,
// release, focus flushing, the 256-character queue, the close request answered once.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/internal/keyboard.h"

namespace {

using orvelt::KeyboardState;

// A session of events, one letter each: "d65" press, "r65" auto-repeat, "u65" release,
// "c97" typed character, "f" focus change, "x" close request.
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

}  // namespace
