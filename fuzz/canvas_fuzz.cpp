// Drives the window's drawing, presenting and keyboard operations on the in-memory display with
// arbitrary coordinates, sizes, colours, texts and injected events.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "runtime/clock.h"
#include "runtime/window.h"
#include "tests/testlib/runtime/fake_clock.h"
#include "tests/testlib/runtime/memory_display.h"

using namespace orvelt;

namespace {

class Input {
 public:
  Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  bool Empty() const { return at_ >= size_; }
  uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
  int32_t Int() {
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value = value << 8 | Byte();
    return static_cast<int32_t>(value);
  }
  // Any bit pattern: NaN, infinities and huge values included.
  float Float() {
    uint32_t bits = static_cast<uint32_t>(Int());
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
  }
  Text Units() {
    Text text;
    for (size_t n = Byte(); n > 0 && !Empty(); --n) text += static_cast<char16_t>(Byte() << 8 | Byte());
    return text;
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t at_ = 0;
};

// Each operation is a byte followed by its arguments.
void Step(Input& in) {
  switch (in.Byte() % 16) {
    case 0: OpenGraphicsWindow(1 + in.Byte(), 1 + in.Byte(), in.Byte() % 2, in.Int(),
                               in.Byte() % 2 ? WindowPlacement::Corner32 : WindowPlacement::Centred); break;
    case 1: SetDrawColor(in.Int(), in.Int(), in.Int()); break;
    case 2: SetClearColor(in.Int(), in.Int(), in.Int()); break;
    case 3: ClearCanvas(); break;
    case 4: PresentCanvas(in.Int()); break;
    case 5: DrawPoint(in.Float(), in.Float()); break;
    case 6: DrawLineSegment(in.Float(), in.Float(), in.Float(), in.Float()); break;
    case 7: DrawFilledRect(in.Float(), in.Float(), in.Float(), in.Float()); break;
    case 8: DrawFilledOval(in.Float(), in.Float(), in.Float(), in.Float()); break;
    case 9: DrawTextAt(in.Units(), in.Float(), in.Float()); break;
    case 10: TextPixelWidth(in.Units()); break;
    case 11: orvelt::memory::KeyDown(in.Int(), in.Byte() % 2); break;
    case 12: orvelt::memory::KeyUp(in.Int()); break;
    case 13: orvelt::memory::TypeChar(in.Int()); break;
    case 14: KeyHitCount(in.Int()); KeyIsDown(in.Int()); NextTypedChar(); break;
    case 15: CloseRequested(); FlushKeyboard(); orvelt::memory::Focus(in.Byte() % 2); break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FakeClock clock(0);
  orvelt::memory::Install();
  Input in(data, size);
  for (int steps = 0; steps < 4096 && !in.Empty(); ++steps) Step(in);
  orvelt::memory::Remove();
  return 0;
}
