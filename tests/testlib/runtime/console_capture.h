// Points the console at temporary files for as long as it lives, with the given text as standard
// input, and reads back what reached standard output and standard error.
//
// Usage:
//   ConsoleCapture console("eine Zeile\n");
//   PrintLine(u"Hallo");
//   EXPECT_EQ(console.Out(), "Hallo\r\n");
// Only what was flushed counts, as only that reaches a terminal before the program waits.
#pragma once
#include <cstdio>
#include <string>

namespace orvelt {

class ConsoleCapture {
 public:
  explicit ConsoleCapture(const std::string& input = "");
  ~ConsoleCapture();
  ConsoleCapture(const ConsoleCapture&) = delete;
  ConsoleCapture& operator=(const ConsoleCapture&) = delete;

  std::string Out() const;
  std::string Err() const;

 private:
  std::FILE* in_;
  std::FILE* out_;
  std::FILE* err_;
};

}  // namespace orvelt
