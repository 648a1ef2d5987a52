// Calc2 on arbitrary text, with a store built from the same input: the fast evaluation (name
// index, indexed stages) must give exactly what the literal walks and recursive stages give, the
// same lines on the console and the same end, and neither may crash or hang.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/console.h"
#include "runtime/process.h"
#include "runtime/random.h"
#include "runtime/text.h"
#include "zunt/script.h"
#include "zunt/store.h"

using namespace orvelt;

namespace {

// Small bounds, so that one input stays quick.
zunt::RunLimits FuzzLimits(bool literal) {
  zunt::RunLimits limits;
  limits.noWaiting = true;
  limits.maxNesting = 16;
  limits.nestedWork = 1 << 14;
  limits.maxTextLength = 1 << 16;
  limits.literalWalks = literal;
  return limits;
}

struct Outcome {
  std::string console;
  std::vector<std::string> results;
  int exitStatus = 1000;  // none
};

// Every line but the last declares or assigns; the last line, and each line's text, is evaluated.
Outcome Evaluate(const std::vector<Text>& lines, bool literal) {
  char* buffer = nullptr;
  std::size_t length = 0;
  std::FILE* out = open_memstream(&buffer, &length);
  SetConsoleStreams(nullptr, out, out);
  Outcome outcome;
  zunt::TScript script;
  script.limits = FuzzLimits(literal);
  try {
    for (std::size_t i = 0; i < lines.size(); ++i) {
      const Text& line = lines[i];
      SeedRandom(static_cast<int32_t>(i) + 1);
      if (i + 1 < lines.size()) {
        Text word = LowerText(LeftText(line, FindText(line, u" ") - 1));
        if (word == u"int") zunt::DeclareFromLine(script, line, 1);
        else if (word == u"float") zunt::DeclareFromLine(script, line, 2);
        else if (word == u"string") zunt::DeclareFromLine(script, line, 3);
        else zunt::AssignFromLine(script, line);
      }
      outcome.results.push_back(EncodeUtf8(script.Calc2(line)));
    }
  } catch (const ProgramExit& exit) {
    outcome.exitStatus = exit.status;
  }
  SetConsoleStreams(nullptr, nullptr, nullptr);
  std::fclose(out);
  outcome.console.assign(buffer, length);
  std::free(buffer);
  return outcome;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  if (size > 4096) return 0;
  Text all = DecodeBytes(std::string_view(reinterpret_cast<const char*>(data), size));
  std::vector<Text> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= all.size() && lines.size() < 64; ++i) {
    if (i == all.size() || all[i] == u'\n') {
      lines.push_back(all.substr(start, i - start));
      start = i + 1;
    }
  }
  Outcome fast = Evaluate(lines, false);
  Outcome literal = Evaluate(lines, true);
  if (fast.results != literal.results || fast.console != literal.console || fast.exitStatus != literal.exitStatus)
    std::abort();
  return 0;
}
