// The programs' own flags, such as --help and --version, which count only as the whole command
// line; and the version both programs share.
#pragma once
#include <cstddef>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "runtime/text.h"

namespace orvelt {

struct CommandFlag {
  std::u16string_view name;
  std::size_t operands;                               // the words that follow the flag
  int (*answer)(const std::vector<Text>& operands);  // gives the exit status
};

// When the command line (arguments, program path first) is exactly one of the flags with its
// operands, runs that flag's answer and gives its exit status; otherwise nothing, and the command
// line keeps its meaning.
std::optional<int> AnswerCommandFlag(const std::vector<Text>& arguments, std::span<const CommandFlag> flags);

// What a program says of itself when asked: its name and its usage text.
struct ProgramHelp {
  std::u16string_view name;
  std::u16string_view usage;
};

// As above, with "--help" and "-h" (the usage text) and "--version" (the name and the project's
// version) answered first, on standard output and with status 0.
std::optional<int> AnswerCommandFlag(const std::vector<Text>& arguments, const ProgramHelp& help,
                                     std::span<const CommandFlag> flags);

// The version of the project, the same for both programs.
Text ProjectVersion();

}  // namespace orvelt
