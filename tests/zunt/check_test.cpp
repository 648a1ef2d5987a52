// The checker: for each kind of finding a small script with the exact lines it reports, and a
// script that holds nothing to report.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/findings.h"
#include "tests/support/run.h"
#include "zunt/check.h"

using namespace orvelt;

namespace {

void ExpectFindings(const std::vector<FindingCase>& cases) { ::ExpectFindings(zunt::CheckSource, u"s.cf", cases); }

TEST(Check, CleanScriptHasNoFinding) {
  ExpectFindings({
      {"; ok\nwindow 320,240\nint k = 0\n#count\nk = k + 1\nif k = 1\ngoto count\nendif\nprint \"Hallo\",10,50\n", {}},
  });
}

TEST(Check, Lines) {
  ExpectFindings({
      {"int k = 1\n  k = 2\n",
       {"s.cf:2:1: Warnung: Die Zeile beginnt mit einem Leerzeichen und wird ignoriert"}},
      {"\tprint \"x\",1,1\n",
       {"s.cf:1:1: Warnung: Die Zeile beginnt mit einem Tabulator: zunt meldet 'Befehl <\tprint> nicht vorhanden' und wartet auf eine Taste"}},
      {"prnt \"x\",1,1\n",
       {"s.cf:1:1: Warnung: Unbekannter Befehl 'prnt': zunt meldet 'Befehl <prnt> nicht vorhanden' und wartet auf eine Taste"}},
      {"int a = 1\nif(a = 1)\n",
       {"s.cf:2:3: Warnung: '(' trennt den Befehl nur in einer Zeile ohne Leerzeichen: hier ist 'if(a' das Befehlswort, und die Zeile gilt als Zuweisung"}},
  });
}

TEST(Check, Assignments) {
  ExpectFindings({
      {"zz = 5\n",
       {"s.cf:1:1: Warnung: Zuweisung an 'zz', das nirgends deklariert ist: zunt meldet 'Befehl <zz> nicht vorhanden' und wartet auf eine Taste"}},
      {"int zz = 1\nzz=5\n",
       {"s.cf:2:4: Warnung: Das Zeichen direkt nach '=' wird übersprungen: '5' geht verloren; schreibe ein Leerzeichen nach '='"}},
      {"int zz = 1\nzz 5\n",
       {"s.cf:2:1: Warnung: Ohne '=' ändert die Zeile nichts: zunt meldet 'Befehl <zz> nicht vorhanden' und wartet auf eine Taste"}},
      {"string s = \"a\"\ns = t\n",
       {"s.cf:2:1: Warnung: Ein Text für 's' braucht Anführungszeichen: ohne ändert die Zeile nichts, und zunt meldet 'Befehl <s> nicht vorhanden' und wartet auf eine Taste"}},
  });
}

TEST(Check, Labels) {
  ExpectFindings({
      {"goto nirgends\n",
       {"s.cf:1:6: Warnung: Keine Marke heißt 'nirgends': goto tut hier nichts"}},
      {"#loop\ngoto Loop\n",
       {"s.cf:2:6: Warnung: Keine Marke heißt 'Loop': goto tut hier nichts; Marken werden klein geschrieben: 'loop'"}},
      {"#Loop\ngoto loop\n",
       {"s.cf:1:2: Warnung: Die Marke heißt 'loop', nicht 'Loop': Marken werden klein geschrieben, und jedes pi wird ersetzt"}},
      {"#spiel\ngoto spiel\n",
       {"s.cf:1:2: Warnung: Die Marke heißt 's3.1415926535897931el', nicht 'spiel': Marken werden klein geschrieben, und jedes pi wird ersetzt", "s.cf:2:6: Warnung: Keine Marke heißt 'spiel': goto tut hier nichts; die Marke in Zeile 1 heißt 's3.1415926535897931el'"}},
      {"#loop ; Schleife\ngoto loop\n",
       {"s.cf:1:2: Warnung: Die Marke heißt 'loop ; schleife', nicht 'loop': ein Kommentar gehört hier zum Namen", "s.cf:2:6: Warnung: Keine Marke heißt 'loop': goto tut hier nichts; die Marke in Zeile 1 heißt 'loop ; schleife'"}},
      {"#a\n#a\ngoto a\n",
       {"s.cf:1:1: Warnung: Eine spätere Marke heißt ebenso (Zeile 2): goto springt dorthin"}},
  });
}

TEST(Check, IfAndEndif) {
  ExpectFindings({
      {"int k = 1\nif k = 2\nk = 3\n",
       {"s.cf:2:1: Warnung: Nach diesem if kommt kein endif: ist die Bedingung falsch, wird der ganze Rest des Scripts übersprungen"}},
      {"endif\n",
       {"s.cf:1:1: Warnung: Zu diesem endif gehört kein if"}},
      {"int k = 1\nif k = 2\nif k = 3\nendif\nendif\n",
       {"s.cf:5:1: Warnung: Zu diesem endif gehört kein if: ein falsches if überspringt nur bis zum ersten endif danach (Zeile 4), ifs lassen sich nicht schachteln"}},
  });
}

TEST(Check, Names) {
  ExpectFindings({
      {"int i = 0\nprint input_text,1,1\n",
       {"s.cf:1:5: Warnung: Der Name 'i' steckt in 'input_text': jedes Vorkommen wird durch den Wert ersetzt, auch darin"}},
      {"int x = 1\nint xy = 2\nxy = 3\n",
       {"s.cf:1:5: Warnung: Der Name 'x' steckt in 'xy': jedes Vorkommen wird durch den Wert ersetzt, auch darin", "s.cf:1:5: Warnung: Eine Zuweisung an 'xy' setzt auch 'x': sie trifft jeden Namen, mit dem die Zeile beginnt"}},
  });
}

TEST(Check, Texts) {
  ExpectFindings({
      {"print \"a, b\",10,10\n",
       {"s.cf:1:9: Warnung: Das Komma beendet den Text, auch zwischen Anführungszeichen: 'print' liest danach die Koordinaten"}},
      {"print \"a;b\",10,10\n",
       {"s.cf:1:9: Warnung: Das ';' beendet die Zeile, auch zwischen Anführungszeichen: der Rest fällt weg"}},
      {"int k = 2 * 3\n",
       {"s.cf:1:11: Warnung: Leerzeichen um '*': so wird nicht gerechnet ('2 * 3' ergibt 2); schreibe es ohne Leerzeichen"}},
  });
}

TEST(Check, Conditions) {
  ExpectFindings({
      {"int k = 1\nif k < 2\nendif\nif k > 0\nendif\n",
       {"s.cf:2:6: Hinweis: '<' gilt auch bei Gleichheit ('if a < 10' gilt für a = 10), '>' ebenso: einen strengen Vergleich gibt es nicht"}},
      {"int k = 1\nif k <= 2\nendif\n",
       {"s.cf:2:7: Warnung: Verglichen wird nur mit '=', das vor '<' und '>' geht: '<=' und '>=' gibt es nicht, '<' und '>' gelten schon bei Gleichheit"}},
      {"int k = 1\nif k\nendif\n",
       {"s.cf:2:1: Warnung: Die Bedingung vergleicht nichts (=, <, > oder !): sie gilt immer"}},
      {"input \"Name?\",1,1\nif input_text = \"ja\"\nendif\n",
       {"s.cf:2:17: Warnung: Verglichen werden Zahlen: ein Text zählt als 0, die Bedingung vergleicht keine Texte"}},
  });
}

// The one note of the examples: bounce.cf's "if bx > 300" holds at 300 too, which it does not mind.
const std::string kBounceNote =
    ":19:7: Hinweis: '<' gilt auch bei Gleichheit ('if a < 10' gilt für a = 10), '>' ebenso: einen strengen "
    "Vergleich gibt es nicht\n";

// The program itself: the report on standard output, nothing on standard error, the exit status;
// every bundled example passes.
TEST(CheckCommand, ReportsOnStandardOutputWithTheExitStatus) {
  TempDir dir;
  const std::string bad = dir.Write("bad.cf", "prnt \"x\",1,1\n");
  const std::string missing = dir.path() + "/missing.cf";
  std::vector<CheckRun> runs = {
      {bad, bad + ":1:1: Warnung: Unbekannter Befehl 'prnt': zunt meldet 'Befehl <prnt> nicht vorhanden' und wartet auf eine Taste\n", "", 1},
      {missing, "", missing + "\nScript konnte nicht geladen werden!\n", 255},
  };
  for (const auto& entry : std::filesystem::directory_iterator(std::string(SOURCE_DIR) + "/examples/zunt")) {
    const std::string path = entry.path().string();
    if (entry.path().extension() == ".cf") runs.push_back({path, entry.path().filename() == "bounce.cf" ? path + kBounceNote : "", "", 0});
  }
  ExpectCheckRuns(ZUNT_BIN, runs);
}

}  // namespace
