// The zunt program: runs one script, named on the command line or chosen in a dialog.
#include "runtime/process.h"
#include "zunt/entry.h"

int main(int argc, char** argv) {
  // On a line of its own, as zunt's other console messages are.
  orvelt::SetOutOfMemoryText("Kein Speicher mehr!\r\n");
  return orvelt::RunProgram(argc, argv, orvelt::zunt::Main);
}
