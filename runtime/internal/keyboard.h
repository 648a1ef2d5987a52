// The keyboard state that window events feed: key-down flags, hit counters, the queue of typed
// characters and the close request.
#pragma once
#include <array>
#include <cstdint>

namespace orvelt {

class KeyboardState {
 public:
  static constexpr int kKeys = 256;
  static constexpr int kQueueSize = 256;

  // Events from the window.
  void Press(int code, bool repeat);
  void Release(int code);
  void Type(int code);
  void RequestClose();
  // Focus lost or gained: every key state is forgotten.
  void Clear();

  // Queries; codes outside 0..255 find nothing.
  int TakeHits(int code);
  int IsDown(int code) const;
  int NextChar();
  int TakeCloseRequest();
  // A second close request came while the first was still unanswered.
  bool CloseInsisted() const { return closeInsisted_; }
  // The lowest code with a hit (its counter then 0), or 0 when there is none.
  int TakeLowestHit();

 private:
  std::array<uint8_t, kKeys> down_{};
  std::array<int32_t, kKeys> hits_{};
  std::array<uint16_t, kQueueSize> queue_{};
  uint32_t written_ = 0;
  uint32_t read_ = 0;
  bool closeRequested_ = false;
  bool closeInsisted_ = false;
};

// The state the open window's events feed.
KeyboardState& Keyboard();

}  // namespace orvelt
