// The programs' own flags, matched only as the whole command line, and the project's version.
#include "runtime/command_flags.h"

#include "runtime/console.h"

#ifndef ORVELT_VERSION
#error "ORVELT_VERSION is set by the build from the project's version"
#endif

namespace orvelt {

std::optional<int> AnswerCommandFlag(const std::vector<Text>& arguments, std::span<const CommandFlag> flags) {
  for (const CommandFlag& flag : flags)
    if (arguments.size() == 2 + flag.operands && arguments[1] == flag.name)
      return flag.answer(std::vector<Text>(arguments.begin() + 2, arguments.end()));
  return std::nullopt;
}

std::optional<int> AnswerCommandFlag(const std::vector<Text>& arguments, const ProgramHelp& help,
                                     std::span<const CommandFlag> flags) {
  if (arguments.size() == 2 && (arguments[1] == u"--help" || arguments[1] == u"-h")) {
    WriteText(Text(help.usage));
    return 0;
  }
  if (arguments.size() == 2 && arguments[1] == u"--version") {
    WriteText(Text(help.name) + u" " + ProjectVersion() + u"\n");
    return 0;
  }
  return AnswerCommandFlag(arguments, flags);
}

Text ProjectVersion() { return TextFromLatin1(ORVELT_VERSION); }

}  // namespace orvelt
