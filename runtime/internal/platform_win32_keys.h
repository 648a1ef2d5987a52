// The Windows virtual-key code of a key message, for the Win32 backend.
#pragma once

namespace orvelt {

// Shift, Control and Alt come as one code each (16, 17, 18) and are told apart by side (160 to
// 165) from the message's scan code and extended bit; codes outside 1 to 255 give 0.
int VirtualKeyFromWin32(int virtualKey, int scanCode, bool extended);

}  // namespace orvelt
