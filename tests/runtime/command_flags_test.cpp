// The programs' own flags count only as the whole command line, each with exactly its operands.
#include <gtest/gtest.h>

#include "runtime/command_flags.h"

using namespace orvelt;

namespace {

std::vector<Text> gSeen;  // the operands the last answer was given

int AnswerOne(const std::vector<Text>& operands) {
  gSeen = operands;
  return 1;
}
int AnswerTwo(const std::vector<Text>& operands) {
  gSeen = operands;
  return 2;
}

constexpr CommandFlag kFlags[] = {{u"--eins", 0, AnswerOne}, {u"-e", 0, AnswerOne}, {u"--zwei", 1, AnswerTwo}};

TEST(CommandFlags, OnlyAWholeCommandLineIsAFlag) {
  struct Row { std::vector<Text> arguments; std::optional<int> status; std::vector<Text> operands; } rows[] = {
      {{u"prog", u"--eins"}, 1, {}},
      {{u"prog", u"-e"}, 1, {}},
      {{u"prog", u"--zwei", u"a b.pel"}, 2, {u"a b.pel"}},
      {{u"prog"}, std::nullopt, {}},
      {{}, std::nullopt, {}},
      {{u"prog", u"--eins", u"x.pel"}, std::nullopt, {}},
      {{u"prog", u"x.pel", u"--eins"}, std::nullopt, {}},
      {{u"prog", u"--zwei"}, std::nullopt, {}},
      {{u"prog", u"--zwei", u"a", u"b"}, std::nullopt, {}},
      {{u"prog", u"--eins "}, std::nullopt, {}},
      {{u"prog", u"--EINS"}, std::nullopt, {}},
      {{u"prog", u"\"--eins\""}, std::nullopt, {}},
  };
  for (const Row& row : rows) {
    gSeen = {u"untouched"};
    std::vector<Text> untouched = gSeen;
    std::string line;
    for (const Text& argument : row.arguments) line += NarrowBytes(argument) + " ";
    EXPECT_EQ(AnswerCommandFlag(row.arguments, kFlags), row.status) << line;
    EXPECT_EQ(gSeen, row.status ? row.operands : untouched) << line;
  }
}

}  // namespace
