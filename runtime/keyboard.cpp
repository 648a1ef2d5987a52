// The keyboard state machine: one hit per press however long the key is held, a ring of 256 typed
// characters that drops the overflow, and a close request that is answered once (or insisted on by a
// second one before that).
#include "runtime/internal/keyboard.h"

#include <climits>

namespace orvelt {

namespace {

bool IsKeyCode(int code) { return code >= 0 && code < KeyboardState::kKeys; }

}  // namespace

// Auto-repeat only repeats; a key counts again after it was released.
void KeyboardState::Press(int code, bool repeat) {
  if (code < 1 || code >= kKeys || repeat || down_[code]) return;
  down_[code] = 1;
  if (hits_[code] < INT32_MAX) ++hits_[code];
}

void KeyboardState::Release(int code) {
  if (IsKeyCode(code)) down_[code] = 0;
}

void KeyboardState::Type(int code) {
  if (written_ - read_ >= kQueueSize) return;
  queue_[written_ % kQueueSize] = static_cast<uint16_t>(code);
  ++written_;
}

void KeyboardState::RequestClose() {
  if (closeRequested_) closeInsisted_ = true;
  closeRequested_ = true;
}

void KeyboardState::Clear() {
  down_.fill(0);
  hits_.fill(0);
  read_ = written_;
}

int KeyboardState::TakeHits(int code) {
  if (!IsKeyCode(code)) return 0;
  int hits = hits_[code];
  hits_[code] = 0;
  return hits;
}

int KeyboardState::IsDown(int code) const { return IsKeyCode(code) ? down_[code] : 0; }

int KeyboardState::NextChar() {
  if (read_ == written_) return 0;
  return queue_[read_++ % kQueueSize];
}

int KeyboardState::TakeCloseRequest() {
  int requested = closeRequested_ ? 1 : 0;
  closeRequested_ = false;
  return requested;
}

int KeyboardState::TakeLowestHit() {
  for (int code = 1; code < kKeys; ++code) {
    if (hits_[code] != 0) {
      hits_[code] = 0;
      return code;
    }
  }
  return 0;
}

KeyboardState& Keyboard() {
  static KeyboardState keyboard;
  return keyboard;
}

}  // namespace orvelt
