// Console lines: UTF-8 out unit by unit with CR LF and a flush, UTF-8 in up to a line feed.
#include "runtime/console.h"

#include <string>

#include "runtime/lines.h"
#include "runtime/process.h"

namespace orvelt {

namespace {

std::FILE* gIn = nullptr;
std::FILE* gOut = nullptr;
std::FILE* gErr = nullptr;

// How many bytes follow a lead byte; a lead byte of 240 or more yields the character 0.
int TrailingBytes(int lead) {
  if (lead < 128) return 0;
  if (lead < 224) return 1;
  return 2;
}

// Builds a character from its lead byte and the bytes after it; -1 when the input ends inside it.
long DecodeFrom(std::FILE* in, int lead) {
  int trailing = TrailingBytes(lead);
  long code = trailing == 0 ? lead : trailing == 1 ? (lead & 0x1F) : (lead & 0x0F);
  for (int k = 0; k < trailing; ++k) {
    int next = std::getc(in);
    if (next == EOF) return -1;
    code = (code << 6) | (next & 0x3F);
  }
  return lead >= 240 ? 0 : code;
}

// Output that cannot be written (a full disk, a closed descriptor) ends the program as a failure,
// never as a success; a closed pipe ends it before that, by SIGPIPE, as usual.
void WriteBytes(const std::string& bytes) {
  std::FILE* out = ConsoleOut();
  std::fwrite(bytes.data(), 1, bytes.size(), out);
  if (std::fflush(out) != 0 || std::ferror(out))
    RaiseFatalError(u"Fehler: Die Ausgabe des Programms konnte nicht geschrieben werden.\r\n");
}

}  // namespace

std::FILE* ConsoleIn() { return gIn ? gIn : stdin; }
std::FILE* ConsoleOut() { return gOut ? gOut : stdout; }
std::FILE* ConsoleErr() { return gErr ? gErr : stderr; }

void SetConsoleStreams(std::FILE* in, std::FILE* out, std::FILE* err) {
  gIn = in;
  gOut = out;
  gErr = err;
}

void PrintLine(const Text& text) { WriteBytes(EncodeUtf8Units(text) + "\r\n"); }

void WriteText(const Text& text) { WriteBytes(EncodeUtf8Units(text)); }

// The line rule of source files; a character cut off by the end of input ends the line too.
std::optional<Text> ReadConsoleLine() {
  std::FILE* in = ConsoleIn();
  Text line;
  bool readAny = false;
  for (int lead = std::getc(in); lead != EOF; lead = std::getc(in)) {
    readAny = true;
    long code = DecodeFrom(in, lead);
    if (code < 0) break;
    LineChar kind = ClassifyLineChar(static_cast<uint32_t>(code));
    if (kind == LineChar::EndsLine) break;
    if (kind == LineChar::Kept) line.push_back(static_cast<char16_t>(code));
  }
  if (!readAny) return std::nullopt;
  return line;
}

Text ReadLineWithPrompt(const Text& prompt) {
  WriteText(prompt);
  return ReadConsoleLine().value_or(Text());
}

}  // namespace orvelt
