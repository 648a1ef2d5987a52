// The Windows virtual-key code of an SDL key, for the SDL backend.
#pragma once

namespace orvelt {

// For an SDL scancode and key symbol; 0 for keys without one.
int VirtualKeyFromSdl(int scancode, int keysym);

}  // namespace orvelt
