// Key codes of Windows' key messages: the message's own code, with the modifiers by side. Needs
// nothing of Windows, so every system builds and tests it.
#include "runtime/internal/platform_win32_keys.h"

namespace orvelt {

namespace {

constexpr int kShift = 16, kControl = 17, kAlt = 18;
constexpr int kLeftShift = 160, kRightShift = 161, kLeftControl = 162, kRightControl = 163, kLeftAlt = 164,
              kRightAlt = 165;
// Control and Alt on the right carry the extended bit; the right Shift has a scan code of its own.
constexpr int kRightShiftScanCode = 0x36;

}  // namespace

int VirtualKeyFromWin32(int virtualKey, int scanCode, bool extended) {
  switch (virtualKey) {
    case kShift: return scanCode == kRightShiftScanCode ? kRightShift : kLeftShift;
    case kControl: return extended ? kRightControl : kLeftControl;
    case kAlt: return extended ? kRightAlt : kLeftAlt;
    default: return virtualKey >= 1 && virtualKey <= 255 ? virtualKey : 0;
  }
}

}  // namespace orvelt
