// The dialogs: the filter text parsed into groups, the initial path split, message line ends,
// and the console forms used when no display can show a dialog.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "runtime/console.h"
#include "runtime/dialogs.h"
#include "runtime/internal/dialog_texts.h"
#include "runtime/window.h"
#include "tests/support/run.h"
#include "tests/testlib/runtime/console_capture.h"
#include "tests/testlib/runtime/memory_display.h"

using namespace orvelt;

namespace {

using orvelt::FilterGroup;

std::string Describe(const std::vector<FilterGroup>& groups) {
  std::string text;
  for (const FilterGroup& group : groups) {
    text += "[" + EncodeUtf8(group.description) + ":";
    for (const Text& pattern : group.patterns) text += " " + EncodeUtf8(pattern);
    text += "]";
  }
  return text;
}

TEST(Dialogs, FilterTextBecomesGroups) {
  struct Row {
    Text filter;
    std::string groups;
  };
  const Row rows[] = {
      {u"Scripte:cf; Textdateien:txt; Alle Dateien:*",
       "[Scripte: *.[cC][fF]][Textdateien: *.[tT][xX][tT]][Alle Dateien: *]"},
      {u"Bilder:png,JPG", "[Bilder: *.[pP][nN][gG] *.[jJ][pP][gG]]"},
      {u"Bilder: png , jpg ", "[Bilder: *.[pP][nN][gG] *.[jJ][pP][gG]]"},
      {u"cf", "[Files: *.[cC][fF]]"},
      {u"cf,txt", "[Files: *.[cC][fF] *.[tT][xX][tT]]"},
      {u"", "[Files: *]"},
      {u"Alles:", "[Alles: *]"},
      {u"Scripte:cf;ohne", "[Scripte: *.[cC][fF]]"},
      {u"A:b1_2", "[A: *.[bB]1_2]"},
      {u"\u00dcbersicht:\u00e4x", "[\u00dcbersicht: *.\u00e4[xX]]"},
  };
  for (const Row& row : rows) {
    std::string expected = row.groups;
    EXPECT_EQ(Describe(orvelt::ParseFileFilter(row.filter)), EncodeUtf8(DecodeBytes(expected)))
        << EncodeUtf8(row.filter);
  }
}

TEST(Dialogs, InitialPathSplitsAtTheLastSlash) {
  struct Row {
    Text path, directory, name;
  };
  const Row rows[] = {
      {u"", u"", u""},
      {u"script.cf", u"", u"script.cf"},
      {u"/home/anna/script.cf", u"/home/anna", u"script.cf"},
      {u"/script.cf", u"/", u"script.cf"},
      {u"ordner/", u"ordner", u""},
      {u"a\\b.cf", u"", u"a\\b.cf"},
  };
  for (const Row& row : rows) {
    orvelt::InitialPath parts = orvelt::SplitInitialPath(row.path);
    EXPECT_EQ(parts.directory, row.directory) << EncodeUtf8(row.path);
    EXPECT_EQ(parts.name, row.name) << EncodeUtf8(row.path);
  }
}

TEST(Dialogs, MessageLineEnds) {
  struct Row {
    Text text;
    std::string console, box;
  };
  const Row rows[] = {
      {u"", "\r\n", ""},
      {u"eins", "eins\r\n", "eins"},
      {u"datei.cf\rScript konnte nicht geladen werden!", "datei.cf\r\nScript konnte nicht geladen werden!\r\n",
       "datei.cf\nScript konnte nicht geladen werden!"},
      {u"a\r\nb", "a\r\nb\r\n", "a\nb"},
      {u"a\nb", "a\r\nb\r\n", "a\nb"},
      {u"a\r\rb", "a\r\n\r\nb\r\n", "a\n\nb"},
      {u"a\r", "a\r\n\r\n", "a\n"},
      {u"gr\u00fc\u00df", "gr\xC3\xBC\xC3\x9F\r\n", "gr\xC3\xBC\xC3\x9F"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(orvelt::MessageForConsole(row.text), row.console);
    EXPECT_EQ(orvelt::MessageForBox(row.text), row.box);
  }
}

TEST(Dialogs, ChooserOnTheConsoleWritesTheTitleAndReadsALine) {
  struct Row {
    std::string input;
    Text chosen;
  };
  const Row rows[] = {
      {"/tmp/mein script.cf\nrest\n", u"/tmp/mein script.cf"},
      {"ohne Zeilenende", u"ohne Zeilenende"},
      {"\n", u""},
      {"", u""},
      {"/tmp/\xC3\xA4.cf\r\n", u"/tmp/\u00e4.cf"},
  };
  orvelt::memory::Install();
  for (const Row& row : rows) {
    ConsoleCapture console(row.input);
    EXPECT_EQ(ChooseFileToOpen(u"Script \u00f6ffnen:", u"Scripte:cf; Textdateien:txt; Alle Dateien:*", u""), row.chosen);
    EXPECT_EQ(console.Out(), "Script \xC3\xB6" "ffnen:\r\n");
    EXPECT_EQ(console.Err(), "");
  }
  orvelt::memory::Remove();
}

TEST(Dialogs, MessageOnTheConsoleGoesToStandardError) {
  orvelt::memory::Install();
  ConsoleCapture console("");
  ShowMessage(u"pfad.cf\rScript konnte nicht geladen werden!", true);
  ShowMessage(u"Hinweis", false);
  EXPECT_EQ(console.Err(), "pfad.cf\r\nScript konnte nicht geladen werden!\r\nHinweis\r\n");
  EXPECT_EQ(console.Out(), "");
  orvelt::memory::Remove();
}

// Without a display (the child runs with DISPLAY removed) both dialogs take their console forms.
TEST(Dialogs, WithoutADisplayTheProgramAsksOnTheConsole) {
  RunResult chooser = RunBinary(WINDOW_PROBE_BIN, {"dialog"}, std::string("/tmp/x.cf\n"));
  EXPECT_EQ(chooser.status, 0);
  EXPECT_EQ(chooser.out, "Script \xC3\xB6" "ffnen:\r\n/tmp/x.cf\r\n");
  EXPECT_EQ(chooser.err, "");
  RunResult cancelled = RunBinary(WINDOW_PROBE_BIN, {"dialog"}, std::string());
  EXPECT_EQ(cancelled.out, "Script \xC3\xB6" "ffnen:\r\n\r\n");
  RunResult message = RunBinary(WINDOW_PROBE_BIN, {"message"}, std::string());
  EXPECT_EQ(message.status, 0);
  EXPECT_EQ(message.err, "datei.cf\r\nScript konnte nicht geladen werden!\r\n");
  EXPECT_EQ(message.out, "ok\r\n");
}

}  // namespace
