// The console pointed at temporary files, read back from the files themselves.
#include "tests/testlib/runtime/console_capture.h"

#include <unistd.h>

#include "runtime/console.h"

namespace orvelt {

namespace {

std::string Written(std::FILE* file) {
  std::string bytes;
  char buffer[4096];
  off_t offset = 0;
  ssize_t n;
  while ((n = pread(fileno(file), buffer, sizeof buffer, offset)) > 0) {
    bytes.append(buffer, static_cast<std::size_t>(n));
    offset += n;
  }
  return bytes;
}

}  // namespace

ConsoleCapture::ConsoleCapture(const std::string& input)
    : in_(std::tmpfile()), out_(std::tmpfile()), err_(std::tmpfile()) {
  std::fwrite(input.data(), 1, input.size(), in_);
  std::rewind(in_);
  SetConsoleStreams(in_, out_, err_);
}

ConsoleCapture::~ConsoleCapture() {
  SetConsoleStreams(nullptr, nullptr, nullptr);
  for (std::FILE* file : {in_, out_, err_}) std::fclose(file);
}

std::string ConsoleCapture::Out() const { return Written(out_); }
std::string ConsoleCapture::Err() const { return Written(err_); }

}  // namespace orvelt
