// Calc2 on arbitrary text, with a store built from the same input: the interpreter's evaluation
// (name index, indexed stages, nesting as levels on the heap) must give exactly what the literal
// walks and recursive stages give, the same lines on the console and the same end, and neither may
// crash or hang. Memory is bounded as on a small machine; an input that runs out of it, or nests
// deeper than the literal walk goes, is only run, not compared.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/console.h"
#include "runtime/process.h"
#include "runtime/random.h"
#include "runtime/text.h"
#include "tests/testlib/zunt/literal_walks.h"
#include "tests/testlib/memory_budget.h"
#include "zunt/script.h"
#include "zunt/store.h"

using namespace orvelt;

namespace {

constexpr std::size_t kMemory = std::size_t{64} << 20;

struct Outcome {
  std::string console;
  std::vector<std::string> results;
  int exitStatus = 1000;  // none
  bool compared = true;   // false when memory ran out or the literal walk went too deep
};

// Every line but the last declares or assigns; the last line, and each line's text, is evaluated.
Outcome Evaluate(const std::vector<Text>& lines, bool literal) {
  char* buffer = nullptr;
  std::size_t length = 0;
  std::FILE* out = open_memstream(&buffer, &length);
  SetConsoleStreams(nullptr, out, out);
  Outcome outcome;
  {
    zunt::TScript script;
    zunt::reference::LiteralWalks walks(script);
    testing::MemoryBudget budget(kMemory);
    try {
      for (std::size_t i = 0; i < lines.size(); ++i) {
        const Text& line = lines[i];
        SeedRandom(static_cast<int32_t>(i) + 1);
        if (i + 1 < lines.size()) {
          Text word = LowerText(LeftText(line, FindText(line, u" ") - 1));
          zunt::ElementType type = word == u"int"      ? zunt::ElementType::Integer
                                   : word == u"float"  ? zunt::ElementType::Float
                                   : word == u"string" ? zunt::ElementType::String
                                                       : zunt::ElementType::None;
          if (type != zunt::ElementType::None) {
            if (literal) walks.DeclareFromLine(line, type);
            else zunt::DeclareFromLine(script, line, type);
          } else {
            if (literal) walks.AssignFromLine(line);
            else zunt::AssignFromLine(script, line);
          }
        }
        outcome.results.push_back(EncodeUtf8(literal ? walks.Calc2(line) : script.Calc2(line)));
      }
    } catch (const ProgramExit& exit) {
      outcome.exitStatus = exit.status;
    } catch (const std::bad_alloc&) {
      outcome.compared = false;
    } catch (const zunt::reference::GaveUp&) {
      outcome.compared = false;
    }
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
  if (!fast.compared || !literal.compared) return 0;
  if (fast.results != literal.results || fast.console != literal.console || fast.exitStatus != literal.exitStatus)
    std::abort();
  return 0;
}
