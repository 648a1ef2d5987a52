// The built pelko program end to end: banner, path check, fatal messages, the examples, console
// input on piped standard input, and bad source files; standard output, standard error and the
// exit status byte for byte.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <sstream>

#include "tests/support/run.h"

namespace {

const std::string kBanner = "PELKO version: 0.79 Gamma\r\n\r\n";

RunResult Pelko(const std::vector<std::string>& args, const std::string& input = "", const std::string& cwd = "") {
  RunOptions options;
  options.input = input;
  options.cwd = cwd;
  options.timeoutMs = 30000;
  return RunBinary(PELKO_BIN, args, options);
}

void ExpectRun(const RunResult& result, const std::string& out, const std::string& err, int status,
               const std::string& what) {
  EXPECT_EQ(result.out, out) << what;
  EXPECT_EQ(result.err, err) << what;
  EXPECT_EQ(result.status, status) << what;
  EXPECT_FALSE(result.timedOut) << what;
}

TEST(Program, VersionRequestPrintsTheBannerAndWaitsForALine) {
  ExpectRun(Pelko({}), kBanner, "", 0, "no argument");
  ExpectRun(Pelko({"-v"}, "any key\n"), kBanner, "", 0, "-v");
  ExpectRun(Pelko({" -v "}), kBanner, "", 0, "-v with blanks");
  ExpectRun(Pelko({""}), kBanner, "", 0, "an empty argument");
}

TEST(Program, APathThatOpensNothingIsAFatalError) {
  TempDir dir;
  ExpectRun(Pelko({"-v", "x.pel"}), "", "DEBUG >> pelko kann die Datei '-v x.pel' nicht oeffnen!", 255, "-v and a name");
  ExpectRun(Pelko({"/nonexistent/none.pel"}), "", "DEBUG >> pelko kann die Datei '/nonexistent/none.pel' nicht oeffnen!",
            255, "missing");
  ExpectRun(Pelko({dir.path()}), "", "DEBUG >> pelko kann die Datei '" + dir.path() + "' nicht oeffnen!", 255,
            "a directory");
}

TEST(Program, FindsRelativePathsAndJoinsArgumentsWithBlanks) {
  TempDir dir;
  dir.Write("hallo.pel", ".text\nmov cmd, \"relativ\"\nint print\n");
  dir.Write("zwei teile.pel", ".text\nmov cmd, \"zwei\"\nint print\n");
  ExpectRun(Pelko({"hallo.pel"}, "", dir.path()), "relativ\r\n", "", 0, "relative to the start directory");
  ExpectRun(Pelko({"zwei", "teile.pel"}, "", dir.path()), "zwei\r\n", "", 0, "two halves of a name");
  ExpectRun(Pelko({dir.path() + "/hallo.pel   "}), "relativ\r\n", "", 0, "trailing blanks");
  dir.Write("gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC \xE4\xB8\xAD.pel", ".text\nmov cmd, \"umlaut\"\nint print\n");
  ExpectRun(Pelko({dir.path() + "/gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC \xE4\xB8\xAD.pel"}), "umlaut\r\n", "", 0, "a name beyond ASCII");
}

struct ProgramCase {
  std::string name;
  std::string source;
  std::string input;
  std::string out;
  std::string err;
  int status;
};

void RunSources(const std::vector<ProgramCase>& cases) {
  TempDir dir;
  for (const ProgramCase& c : cases) {
    std::string path = dir.Write("p.pel", c.source);
    ExpectRun(Pelko({path}, c.input), c.out, c.err, c.status, c.name);
  }
}

TEST(Program, FatalMessagesWordForWord) {
  RunSources({
      {"label", ".text\njmp nirgends\n", "", "", "DEBUG >> pelko kann das Label 'nirgends' nicht finden!", 255},
      {"ret", ".text\n\nret\n", "", "", "DEBUG >> RET ohne CALL! LINE: 2", 255},
      {"cmp", ".data\ns string a\n.text\nmov cmd, \"vorher\"\nint print\ncmp s, 1\nmov cmd, \"danach\"\nint print\n", "",
       "vorher\r\n", "DEBUG >> Abfrage ungueltig! LINE: 3", 255},
      {"call stack", ".text\nf:\ncall f\n", "", "", "DEBUG >> CALL-Stapel voll! LINE: 2", 255},
  });
}

TEST(Program, OperandsAndInstructionsEndToEnd) {
  RunSources({
      {"predefined symbols",
       ".text\nmain:\nmov cmd, __LINE__\nint print\nmov cmd, __FUNC__\nint print\nmov cmd, __WINDOWS__\nint print\n"
       "mov cmd, __LINUX__\nint print\n",
       "", "2\r\nmain\r\n1\r\n0\r\n", "", 0},
      {"index substitution",
       ".data\ni int 0\na[2] string \"-\"\n.text\nloop:\nmov a[i], i\ninc i\ncmp i, 2\njg loop\n"
       "mov dx, a[0]\nadd dx, a[1]\nadd dx, a[2]\nmov cmd, dx\nint print\n",
       "", "01-\r\n", "", 0},
      {"chained substitution",
       ".data\nfirst string second\nsecond string third\nthird single 2.5\n.text\nmov dx, first\nmov cmd, dx\nint print\n",
       "", "2.50000000\r\n", "", 0},
      {"cmp of numbers, singles and texts",
       ".data\ns string \"abc\"\nf single 1.9\n.text\ncmp f, 1\njne bad\ncmp s, \"abc\"\njne bad\ncmp 3, 5\njl bad\n"
       "mov cmd, \"gut\"\nint print\nend\nbad:\nmov cmd, \"schlecht\"\nint print\n",
       "", "gut\r\n", "", 0},
      {"call, ret and the stack",
       ".text\npush \"A\"\ncall f\npop cmd\nint print\nend\nf:\npush \"B\"\npop cmd\nint print\nret\n", "", "B\r\nA\r\n",
       "", 0},
      {"arithmetic", ".text\nmov cx, 7\ndiv cx, 2\nmul cx, 2.5\nmov cmd, cx\nint print\nmov ax, 90\nsin ax\nmov cmd, ax\nint print\n",
       "", "7\r\n1.00000000\r\n", "", 0},
      {"UTF-8 source", ".text\nmov cmd, \"Grüße, Welt\"\nint print\n", "", "Grüße, Welt\r\n", "", 0},
      {"Latin-1 source keeps one character per byte", ".text\nmov cmd, \"gr\xfc\xdf\"\nint print\n", "",
       "gr\xc3\xbc\xc3\x9f\r\n", "", 0},
      {"end ends with status 0", ".text\nend\nret\n", "", "", "", 0},
  });
}

TEST(Program, InputPromptsOnPipedStandardInput) {
  RunSources({
      {"prompt and answer", ".text\nint input, \"Name? \"\nint print\n", "Eva\r\n", "Name? Eva\r\n", "", 0},
      {"UTF-8 typed", ".text\nint input, \"> \"\nint print\n", "Jürgen\n", "> Jürgen\r\n", "", 0},
      {"end of input", ".text\nint input, \"> \"\nint print\nint input, \"> \"\nint print\n", "", "> \r\n> \r\n", "", 0},
      {"no argument", ".text\nint input, \"1:\"\nint input\nint print\n", "x\ny\n", "1:x\r\n", "", 0},
  });
}

TEST(Program, RndStaysWithinItsBounds) {
  TempDir dir;
  std::string path = dir.Write("rnd.pel",
                               ".text\nmov cx, 500\nloop:\nrnd 6, -2\nmov cmd, ax\nint print\ndec cx\ncmp cx, 0\njl loop\n");
  RunResult result = Pelko({path});
  std::set<std::string> seen;
  std::istringstream lines(result.out);
  for (std::string line; std::getline(lines, line);) seen.insert(line);
  std::set<std::string> expected;
  for (int v = -2; v <= 6; ++v) expected.insert((v < 0 ? "-" : "") + std::to_string(std::abs(v)) + ".00000000\r");
  EXPECT_EQ(seen, expected);
}

TEST(Program, TheExamplesRun) {
  std::string examples = std::string(SOURCE_DIR) + "/examples/pelko/";
  ExpectRun(Pelko({examples + "primes.pel"}),
            "Primzahlen bis 100: 2 3 5 7 11 13 17 19 23 29 31 37 41 43 47 53 59 61 67 71 73 79 83 89 97\r\n", "", 0,
            "primes");
  ExpectRun(Pelko({examples + "greet.pel"}, "Anna\n21\n"),
            "Wie heisst du? Hallo, Anna!\r\nGib eine Zahl ein: Das Doppelte ist 42\r\n", "", 0, "greet");
}

TEST(Program, BadSourcesNeverCrash) {
  TempDir dir;
  std::mt19937 random(2024);
  std::vector<std::pair<std::string, std::string>> sources = {
      {"empty", ""},
      {"no text section", "mov cx, 5\nint print\n"},
      {"zero bytes", std::string("\0\0.text\0mov cmd, 5\0int print\0", 30)},
      {"a 1 MB line", ".text\nmov cmd, \"" + std::string(1 << 20, 'x') + "\"\n"},
      {"a 1 MB line of brackets", ".data\ni int 1\n.text\nmov cmd, " + std::string(1 << 19, '[') + std::string(1 << 19, ']') + "\n"},
      {"only carriage returns", std::string(1000, '\r')},
      // Index substitution over many cells and an operand full of brackets must not take cells
      // times length.
      {"brackets across many cells",
       ".data\na[100000] int 1\n.text\nmov cmd, " + [] {
         std::string brackets;
         for (int i = 0; i < 100000; ++i) brackets += "[a[5]]";
         return brackets;
       }() + "\nmov dx, " + std::string(300000, '[') + std::string(300000, ']') + "\n"},
  };
  for (int k = 0; k < 8; ++k) {
    std::string bytes(4096, '\0');
    for (char& b : bytes) b = static_cast<char>(random());
    sources.push_back({"random bytes " + std::to_string(k), bytes});
    sources.push_back({"random bytes after .text " + std::to_string(k), ".text\n" + bytes});
  }
  for (const auto& [name, source] : sources) {
    std::string path = dir.Write("bad.pel", source);
    RunResult result = Pelko({path});
    EXPECT_FALSE(result.timedOut) << name;
    EXPECT_TRUE(result.status == 0 || result.status == 255) << name << ": status " << result.status;
  }
  // A 1 MB operand goes through loading and printing whole.
  std::string path = dir.Write("bad.pel", ".text\nmov cmd, \"" + std::string(1 << 20, 'x') + "\"\nint print\n");
  EXPECT_EQ(Pelko({path}).out, std::string(1 << 20, 'x') + "\r\n");
}

}  // namespace
