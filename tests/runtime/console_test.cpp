// Tests of console lines: UTF-8 out with CR LF and a flush, UTF-8 in up to a line feed.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "runtime/console.h"

using namespace orvelt;

namespace {

// Points the console at temporary files for one test and back at the standard streams after it.
class ConsoleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    in_ = std::tmpfile();
    out_ = std::tmpfile();
    ASSERT_NE(in_, nullptr);
    ASSERT_NE(out_, nullptr);
    SetConsoleStreams(in_, out_, nullptr);
  }
  void TearDown() override {
    SetConsoleStreams(nullptr, nullptr, nullptr);
    std::fclose(in_);
    std::fclose(out_);
  }
  void GiveInput(const std::string& bytes) {
    std::fwrite(bytes.data(), 1, bytes.size(), in_);
    std::rewind(in_);
  }
  // What reached the file itself, bypassing the stream's buffer: only flushed bytes count.
  std::string Written() const {
    std::string bytes;
    char buffer[4096];
    off_t offset = 0;
    ssize_t n;
    while ((n = pread(fileno(out_), buffer, sizeof buffer, offset)) > 0) {
      bytes.append(buffer, static_cast<std::size_t>(n));
      offset += n;
    }
    return bytes;
  }

  std::FILE* in_ = nullptr;
  std::FILE* out_ = nullptr;
};

TEST_F(ConsoleTest, PrintLineWritesUtf8UnitByUnitThenCrLfAndFlushes) {
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
    EXPECT_EQ(Written(), expected);
  }
}

TEST_F(ConsoleTest, WriteTextHasNoLineEnd) {
  WriteText(u"Größe: ");
  EXPECT_EQ(Written(), "Gr\xC3\xB6\xC3\x9F" "e: ");
}

TEST_F(ConsoleTest, ReadLineWithPromptWritesThePromptAndFlushes) {
  GiveInput("Otto\n");
  EXPECT_EQ(ReadLineWithPrompt(u"Name? "), u"Otto");
  EXPECT_EQ(Written(), "Name? ");
}

TEST_F(ConsoleTest, LinesDecodeUtf8AndEndAtLineFeedZeroOrEnd) {
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
    std::rewind(in_);
    ASSERT_EQ(ftruncate(fileno(in_), 0), 0);
    GiveInput(row.input);
    for (const Text& line : row.lines) EXPECT_EQ(ReadLineWithPrompt(u""), line) << row.input;
  }
}

TEST_F(ConsoleTest, ReadConsoleLineTellsTheEndOfInputApart) {
  struct Row { std::string input; std::vector<std::optional<Text>> lines; } rows[] = {
      {"", {std::nullopt}},
      {"\n", {u"", std::nullopt}},
      {"a\nb", {u"a", u"b", std::nullopt}},
      {"\r", {u"", std::nullopt}}};
  for (const Row& row : rows) {
    std::rewind(in_);
    ASSERT_EQ(ftruncate(fileno(in_), 0), 0);
    GiveInput(row.input);
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
