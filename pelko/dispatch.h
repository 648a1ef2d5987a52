// The dispatch table of an execution path: the handler of every entry of the instruction list, at
// the entry's index.
#pragma once
#include "pelko/instructions.h"
#include "pelko/instructions_data.h"
#include "pelko/instructions_flow.h"
#include "pelko/instructions_io.h"

namespace orvelt::pelko {

template <class Path>
inline constexpr Handler kHandlers[] = {
#define PELKO_HANDLER(mnemonic, handler, condition, operands, effect) &Run##handler<Path>,
    PELKO_INSTRUCTIONS(PELKO_HANDLER)
#undef PELKO_HANDLER
};

}  // namespace orvelt::pelko
