// The program's start: titles, the script path, loading and running the one script.
#pragma once
#include "runtime/text.h"

namespace orvelt::zunt {

// The script path: the first argument without its double quotes, or the file-open dialog's answer.
Text ScriptPath();

// The whole program; RunProgram calls it.
int Main();

}  // namespace orvelt::zunt
