// The trace of a run: each executed line's entry made when the line starts, the variables it set
// added as it sets them, and the entries written to standard error in batches.
#include "zunt/trace.h"

#include <cstdio>
#include <string_view>

#include "runtime/console.h"

namespace orvelt::zunt {
namespace {

// A batch this long is written even when no output or wait comes to write it.
constexpr std::size_t kBatchBytes = std::size_t{1} << 16;

// Blanks and tabs at either end are not part of the line as written; everything else is.
TextView TrimBlanksAndTabs(TextView line) {
  auto blank = [](char16_t c) { return c == u' ' || c == u'\t'; };
  while (!line.empty() && blank(line.front())) line.remove_prefix(1);
  while (!line.empty() && blank(line.back())) line.remove_suffix(1);
  return line;
}

// A string as the commands show it, every double quote dropped, between double quotes.
Text Quoted(const Text& value) {
  Text quoted(1, u'"');
  quoted.reserve(value.size() + 2);
  for (char16_t c : value)
    if (c != u'"') quoted.push_back(c);
  quoted.push_back(u'"');
  return quoted;
}

// A failed write leaves no mark on the stream: standard error that cannot be written must not turn
// a run into a failure.
void WriteToStandardError(std::string_view bytes) {
  std::FILE* err = ConsoleErr();
  const bool failedBefore = std::ferror(err) != 0;
  std::fwrite(bytes.data(), 1, bytes.size(), err);
  std::fflush(err);
  if (!failedBefore) std::clearerr(err);
}

}  // namespace

Trace::Trace(const Text& file) : file_(EncodeUtf8(file) + ":") {}

// The program may end inside a line (the end of the input, a second close request, memory run
// out); its entry is written then, without what the line did not get to set. Nothing here needs
// memory.
Trace::~Trace() {
  Flush();
  if (entry_.empty()) return;
  WriteToStandardError(entry_);
  WriteToStandardError("\n");
}

void Trace::Begin(int32_t index, TextView line) {
  entry_ = file_ + std::to_string(int64_t{index} + 1) + ": " + EncodeUtf8(Text(TrimBlanksAndTabs(line)));
}

void Trace::Set(const IVar& v) { Changed(v.Name, IntToText(v.value)); }
void Trace::Set(const FVar& v) { Changed(v.Name, FloatToText(v.Value)); }
void Trace::Set(const SVar& v) { Changed(v.Name, Quoted(v.value)); }

void Trace::Set(const Array& array, int32_t index) {
  const Text name = array.name + u"[" + IntToText(index) + u"]";
  switch (array.typ) {
    case ElementType::Integer: Changed(name, IntToText(array.iarray.Get(index))); break;
    case ElementType::Float: Changed(name, FloatToText(array.farray.Get(index))); break;
    case ElementType::String: Changed(name, Quoted(array.sarray.Get(index))); break;
    case ElementType::None: break;
  }
}

void Trace::Changed(const Text& name, const Text& value) {
  if (!entry_.empty()) entry_ += "  |  " + EncodeUtf8(name + u"=" + value);
}

void Trace::End() {
  if (entry_.empty()) return;
  batch_ += entry_;
  batch_ += '\n';
  entry_.clear();
  if (batch_.size() >= kBatchBytes) Flush();
}

void Trace::Flush() {
  if (batch_.empty()) return;
  WriteToStandardError(batch_);
  batch_.clear();
}

}  // namespace orvelt::zunt
