// The command-line text, the version request and the source path read off it.
#include <gtest/gtest.h>

#include "pelko/entry.h"

using namespace orvelt;

namespace {

struct CommandLineCase {
  std::vector<std::string> arguments;  // after the program path
  std::string text;
  bool version;
  std::string path;
};

TEST(CommandLine, JoinsArgumentsAndDecidesVersionOrPath) {
  const CommandLineCase cases[] = {
      {{}, "", true, ""},
      {{"-v"}, "-v ", true, "-v"},
      {{" -v\t"}, " -v\t ", true, " -v\t"},
      {{"-V"}, "-V ", false, "-V"},
      {{"-v", "x.pel"}, "-v x.pel ", false, "-v x.pel"},
      {{"mein", "programm.pel"}, "mein programm.pel ", false, "mein programm.pel"},
      {{"a.pel  "}, "a.pel   ", false, "a.pel"},
      {{"", ""}, "  ", true, ""},
      {{" a.pel"}, " a.pel ", false, " a.pel"},
  };
  for (const CommandLineCase& c : cases) {
    std::vector<Text> arguments{u"/bin/pelko"};
    for (const std::string& argument : c.arguments) arguments.push_back(TextFromLatin1(argument));
    Text text = pelko::CommandLineText(arguments);
    EXPECT_EQ(EncodeUtf8(text), c.text);
    EXPECT_EQ(pelko::IsVersionRequest(text), c.version) << c.text;
    EXPECT_EQ(EncodeUtf8(pelko::SourcePath(text)), c.path) << c.text;
  }
}

}  // namespace
