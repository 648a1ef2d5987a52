// The Windows virtual-key code of an SDL key, for the SDL backend.
#pragma once

namespace orvelt {

// For an SDL scancode, key symbol and modifier state (SDL's KMOD_ bits, as a key event carries
// them): with NumLock off the keypad's digits and point give the cursor block's codes. 0 for keys
// without a code.
int VirtualKeyFromSdl(int scancode, int keysym, int modifiers);

}  // namespace orvelt
