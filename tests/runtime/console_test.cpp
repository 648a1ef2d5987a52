// Tests of console lines: UTF-8 out with CR LF and a flush, UTF-8 in up to a line feed.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "runtime/console.h"
#include "tests/testlib/runtime/console_capture.h"

using namespace orvelt;

namespace {

TEST(ConsoleTest, PrintLineWritesUtf8UnitByUnitThenCrLfAndFlushes) {
  ConsoleCapture console;
  struct Row { Text text; std::string expected; } rows[] = {
      {u"", "\r\n"},
      {u"ä", "\xC3\xA4\r\n"},
      {u"Hallo Welt", "Hallo Welt\r\n"},
      {u"\u20AC", "\xE2\x82\xAC\r\n"},
      {u"\U0001F600", "\xED\xA0\xBD\xED\xB8\x80\r\n"},
      {Text(u"a\0b", 3), std::string("a\0b\r\n", 5)},
      {u"x\ny", "x\ny\r\n"}};
  std::string expected;
  for (const Row& row : rows) {
    PrintLine(row.text);
    expected += row.expected;
    EXPECT_EQ(console.Out(), expected);
  }
}

TEST(ConsoleTest, WriteTextHasNoLineEnd) {
  ConsoleCapture console;
  WriteText(u"Größe: ");
  EXPECT_EQ(console.Out(), "Gr\xC3\xB6\xC3\x9F" "e: ");
}

TEST(ConsoleTest, ReadLineWithPromptWritesThePromptAndFlushes) {
  ConsoleCapture console("Otto\n");
  EXPECT_EQ(ReadLineWithPrompt(u"Name? "), u"Otto");
  EXPECT_EQ(console.Out(), "Name? ");
}

TEST(ConsoleTest, LinesDecodeUtf8AndEndAtLineFeedZeroOrEnd) {
  struct Row { std::string input; std::vector<Text> lines; } rows[] = {
      {"abc\r\n", {u"abc", u""}},
      {"a\rb\n", {u"ab", u""}},
      {"", {u""}},
      {"abc", {u"abc", u""}},
      {"one\ntwo\n\nthree", {u"one", u"two", u"", u"three", u""}},
      {"\xC3\xA4x\n", {u"äx"}},
      {"\xE2\x82\xAC\n", {u"\u20AC"}},
      // A four-byte sequence: its first three bytes give the character 0, its last starts the
      // next line as a two-byte lead.
      {"\xF0\x9F\x98\x80rest\n", {u"", u"2est"}},
      {std::string("ab\0cd\n", 6), {u"ab", u"cd"}},
      {"\r\r\r", {u"", u""}},
      {"x\xC3", {u"x", u""}},
      {"x\xE2\x82", {u"x", u""}},
      // A lead byte takes its following bytes whatever they are, a line feed included.
      {"\xFC\x61\nz\n", {u"", u"z"}},
      {"\xC3\n!\n", {u"\u00CA!", u""}},
      {"\xE0\x80\x8D\xC0\x8A", {u""}}};
  for (const Row& row : rows) {
    ConsoleCapture console(row.input);
    for (const Text& line : row.lines) EXPECT_EQ(ReadLineWithPrompt(u""), line) << row.input;
  }
}

TEST(ConsoleTest, ReadConsoleLineTellsTheEndOfInputApart) {
  struct Row { std::string input; std::vector<std::optional<Text>> lines; } rows[] = {
      {"", {std::nullopt}},
      {"\n", {u"", std::nullopt}},
      {"a\nb", {u"a", u"b", std::nullopt}},
      {"\r", {u"", std::nullopt}}};
  for (const Row& row : rows) {
    ConsoleCapture console(row.input);
    for (const std::optional<Text>& line : row.lines) EXPECT_EQ(ReadConsoleLine(), line) << row.input;
  }
}

TEST(ConsoleStreamsTest, NullRestoresTheStandardStreams) {
  SetConsoleStreams(nullptr, nullptr, nullptr);
  EXPECT_EQ(ConsoleIn(), stdin);
  EXPECT_EQ(ConsoleOut(), stdout);
  EXPECT_EQ(ConsoleErr(), stderr);
}

}  // namespace
