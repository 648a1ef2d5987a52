// The pelko program: runs the assembly-language interpreter over the process's arguments.
#include "pelko/entry.h"
#include "runtime/process.h"

int main(int argc, char** argv) { return orvelt::RunProgram(argc, argv, orvelt::pelko::Main); }
