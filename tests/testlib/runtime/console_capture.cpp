// The console pointed at temporary files, read back from the files themselves.
#include "tests/testlib/runtime/console_capture.h"

#include <unistd.h>

#include "runtime/console.h"

namespace orvelt {

namespace {

// What reached the file itself, bypassing the stream's buffer; the file's position is kept (no
// pread on Windows, so the descriptor is moved and put back).
std::string Written(std::FILE* file) {
  std::string bytes;
  char buffer[4096];
  int fd = fileno(file);
  off_t end = lseek(fd, 0, SEEK_CUR);
  lseek(fd, 0, SEEK_SET);
  for (auto n = read(fd, buffer, sizeof buffer); n > 0; n = read(fd, buffer, sizeof buffer))
    bytes.append(buffer, static_cast<std::size_t>(n));
  lseek(fd, end, SEEK_SET);
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
