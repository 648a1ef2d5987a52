// In-process tests point the console at temporary files and read back what was written.
#pragma once
#include <cstdio>
#include <string>

#include "runtime/console.h"

namespace orvelt::zunt {

class ConsoleCapture {
 public:
  explicit ConsoleCapture(const std::string& input = "")
      : in_(std::tmpfile()), out_(std::tmpfile()), err_(std::tmpfile()) {
    std::fwrite(input.data(), 1, input.size(), in_);
    std::rewind(in_);
    SetConsoleStreams(in_, out_, err_);
  }
  ~ConsoleCapture() {
    SetConsoleStreams(nullptr, nullptr, nullptr);
    std::fclose(in_);
    std::fclose(out_);
    std::fclose(err_);
  }
  ConsoleCapture(const ConsoleCapture&) = delete;
  ConsoleCapture& operator=(const ConsoleCapture&) = delete;

  std::string Out() const { return Read(out_); }
  std::string Err() const { return Read(err_); }

 private:
  static std::string Read(std::FILE* f) {
    std::fflush(f);
    long end = std::ftell(f);
    std::string bytes(static_cast<std::size_t>(end > 0 ? end : 0), '\0');
    std::rewind(f);
    std::size_t got = std::fread(bytes.data(), 1, bytes.size(), f);
    bytes.resize(got);
    std::fseek(f, 0, SEEK_END);
    return bytes;
  }

  std::FILE* in_;
  std::FILE* out_;
  std::FILE* err_;
};

}  // namespace orvelt::zunt
