// The checker: for each kind of finding a small program with the exact lines it reports, and
// programs that hold nothing to report.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "pelko/check.h"
#include "pelko/instructions.h"
#include "tests/support/findings.h"
#include "tests/support/run.h"

using namespace orvelt;

namespace {

std::vector<std::string> Findings(const std::string& source) {
  return ReportLines(u"p.pel", pelko::CheckSource(DecodeBytes(source)));
}

void ExpectFindings(const std::vector<FindingCase>& cases) {
  ::ExpectFindings([](const Text& source) { return pelko::CheckSource(source); }, u"p.pel", cases);
}

TEST(Check, CleanProgramsHaveNoFinding) {
  ExpectFindings({
      {".data\nn int 3\n.text\nmain:\n  mov cx, n\nloop:\n  dec cx\n  cmp cx, 0\n  jl loop\n  jne __FUNC__\n  end\n", {}},
      {"' comment\n/'\nblock\n'/\n.data\ns string \"a b\\'s\"\nv single 1.5\n.text\n  mov cmd, s\n  int print\n", {}},
  });
}

// A line with three operands is too long for every instruction, so each must know its operands.
TEST(Check, EveryInstructionKnowsItsOperands) {
  for (int i = 0; i < pelko::kInstructionCount; ++i) {
    std::string mnemonic = EncodeUtf8(pelko::kInstructions[i].mnemonic);
    EXPECT_FALSE(Findings(".text\n  " + mnemonic + " a, b, c\n").empty()) << mnemonic;
  }
}

TEST(Check, Mnemonics) {
  ExpectFindings({
      {".text\n  MOV cx, 1\n",
       {"p.pel:2:3: Warnung: Unbekannter Befehl 'MOV', die Zeile tut nichts; Befehle werden klein geschrieben: 'mov'"}},
      {".text\n  shift cx\n",
       {"p.pel:2:3: Warnung: Unbekannter Befehl 'shift', die Zeile tut nichts"}},
      {".text\n  mov\tcx, 1\n",
       {"p.pel:2:3: Warnung: Unbekannter Befehl 'mov' mit Tabulator, die Zeile tut nichts: nur ein Leerzeichen trennt den Befehl von den Operanden"}},
      {".text\nmain: end\n",
       {"p.pel:2:7: Warnung: Nach der Marke 'main:' wird der Rest der Zeile ignoriert"}},
  });
}

TEST(Check, OperandCounts) {
  ExpectFindings({
      {".text\n  mov cmd x\n",
       {"p.pel:2:7: Warnung: Komma fehlt: 'cmd x' ist ein einziger Operand"}},
      {".text\n  mov cx\n",
       {"p.pel:2:3: Warnung: 'mov' braucht zwei Operanden, durch ein Komma getrennt"}},
      {".text\n  text Hallo, Welt\n",
       {"p.pel:2:13: Warnung: 'text' hat nur einen Operanden: was nach dem Komma steht, wird ignoriert"}},
      {".text\n  cls jetzt\n",
       {"p.pel:2:7: Warnung: 'cls' hat keine Operanden: der Rest der Zeile wird ignoriert"}},
      {".text\n  dot 1, 2, 3\n",
       {"p.pel:2:10: Warnung: Nur das erste Komma trennt: '2, 3' ist ein einziger zweiter Operand"}},
  });
}

TEST(Check, Labels) {
  ExpectFindings({
      {".text\nLoop:\n  jmp loop\n",
       {"p.pel:3:7: Warnung: Keine Zeile definiert die Marke 'loop:': hier bricht das Programm ab (pelko kann das Label nicht finden); gemeint ist wohl 'Loop'"}},
      {".text\nloop:\n  jmp loop:\n",
       {"p.pel:3:7: Warnung: Keine Zeile definiert die Marke 'loop::': hier bricht das Programm ab (pelko kann das Label nicht finden); im Sprung steht die Marke ohne ':'"}},
      {".text\n  jmp main\n",
       {"p.pel:2:7: Warnung: Es gibt keine Marke 'main:': der Sprung tut nichts"}},
      {".data\ni int 0\nt[0] string x\n.text\n  je t[i]\n  je __TIMER__\n",
       {}},
      {".text\nx:\nx:\n",
       {"p.pel:3:1: Warnung: Die Marke 'x:' steht schon in Zeile 2: Sprünge gehen dorthin"}},
  });
}

TEST(Check, Destinations) {
  ExpectFindings({
      {".text\n  mov nix, 1\n",
       {"p.pel:2:7: Warnung: 'nix' ist keine Variable und kein Register: 'mov' ändert nichts"}},
      {".text\n  inc dx\n",
       {"p.pel:2:7: Warnung: 'inc' ändert keine string-Variable: 'dx' bleibt unverändert"}},
      {".text\n  cos cx\n",
       {"p.pel:2:7: Warnung: 'cos' rechnet nur mit single-Variablen: 'cx' bleibt unverändert"}},
      {".data\na[2] int 0\ns string x\n.text\n  mov a[s], 1\n",
       {"p.pel:5:7: Warnung: Der Index 's' ist keine int- oder single-Variable: 'a[s]' wird nicht ersetzt"}},
  });
}

TEST(Check, Services) {
  ExpectFindings({
      {".text\n  int downkey, esc\n  int hitkey, SPACE\n",
       {"p.pel:2:16: Warnung: Unbekannte Taste 'esc': die Abfrage ergibt immer 0 (Tasten: LEFT, RIGHT, UP, DOWN, ESC, A, S, D, W); gemeint ist wohl 'ESC'", "p.pel:3:15: Warnung: Unbekannte Taste 'SPACE': die Abfrage ergibt immer 0 (Tasten: LEFT, RIGHT, UP, DOWN, ESC, A, S, D, W)"}},
      {".text\n  int prnt\n",
       {"p.pel:2:7: Warnung: Unbekannter Dienst 'prnt' für 'int', die Zeile tut nichts"}},
      {".text\n  int hitkey\n",
       {"p.pel:2:7: Warnung: 'int hitkey' braucht ein Argument nach einem Komma"}},
      {".text\n  int print, cmd\n",
       {"p.pel:2:12: Warnung: 'int print' hat kein Argument: was nach dem Komma steht, wird ignoriert"}},
      {".text\n  gfx cx, 200\n",
       {"p.pel:2:7: Warnung: 'gfx' nimmt seine Operanden, wie sie dastehen: 'cx' ist hier die Zahl 0, nicht die Variable"}},
  });
}

TEST(Check, StringCells) {
  ExpectFindings({
      {".text\n  sub cx, dx\n",
       {"p.pel:2:11: Warnung: 'sub' übergeht die string-Variable 'dx': gerechnet wird mit dem Text 'dx', also 0"}},
      {".text\n  cmp dx, 5\n",
       {"p.pel:2:3: Warnung: 'cmp' vergleicht eine string-Variable mit einer Zahl: hier bricht das Programm ab (Abfrage ungueltig); in Anführungszeichen wird als Text verglichen"}},
  });
}

TEST(Check, Sections) {
  ExpectFindings({
      {".Data\nx int 1\n.text\n",
       {"p.pel:1:1: Warnung: Unbekannter Abschnitt '.Data': nur .data und .text gelten, genau so geschrieben; die Zeilen danach werden ignoriert", "p.pel:2:1: Warnung: Die Zeile steht in keinem Abschnitt (.data oder .text) und wird ignoriert"}},
      {"x int 1\n.text\n",
       {"p.pel:1:1: Warnung: Die Zeile steht in keinem Abschnitt (.data oder .text) und wird ignoriert"}},
      {".text\n  end\n.data\nx int 1\n",
       {"p.pel:3:1: Warnung: Die Zeile wird nie gelesen: pelko liest nur bis zur letzten Zeile des Abschnitts .text (.data gehört davor)", "p.pel:4:1: Warnung: Die Zeile wird nie gelesen: pelko liest nur bis zur letzten Zeile des Abschnitts .text (.data gehört davor)"}},
      {".data\nx int 1\n",
       {"p.pel:1:1: Warnung: Das Programm hat keinen Abschnitt .text: pelko liest nichts davon und tut nichts"}},
  });
}

TEST(Check, Declarations) {
  ExpectFindings({
      {".data\ns string \"a, b\"\n.text\n",
       {"p.pel:2:12: Warnung: Komma in der Deklaration: sie legt nichts an (ein Wert kann kein Komma enthalten)"}},
      {".data\nx  int 5\n.text\n",
       {"p.pel:2:3: Warnung: Zwei Leerzeichen nach dem Namen: die Deklaration legt nichts an"}},
      {".data\nx Int 5\n.text\n",
       {"p.pel:2:3: Warnung: Unbekannter Typ 'Int': die Deklaration legt nichts an (Typen: int, string, single; gemeint ist wohl 'int')"}},
      {".data\na[-1] int 0\n.text\n",
       {"p.pel:2:2: Warnung: Die Feldgröße -1 ist kleiner als 0: die Deklaration legt nichts an"}},
      {".data\na[n] int 0\n.text\n",
       {"p.pel:2:3: Warnung: Die Feldgröße 'n' ist keine Zahl: gelesen wird 0"}},
      {".data\nx int 5\n\n.text\n",
       {"p.pel:3:1: Warnung: Leere Zeile (oder nur Kommentar) im Abschnitt .data: sie legt eine Variable mit leerem Namen an, mit Typ und Wert der Zeile davor"}},
      {".data\nx int 5\ny\n.text\n",
       {"p.pel:3:1: Warnung: Die Zeile ohne Leerzeichen legt 'y' an, mit Typ und Wert der Zeile davor"}},
      {".data\ncx int 5\n.text\n",
       {"p.pel:2:1: Warnung: 'cx' ist ein Register: Ziele ändern beide Zellen, gelesen wird die erste"}},
      {".data\nx int 5\nx string a\n.text\n",
       {"p.pel:3:1: Warnung: 'x' ist schon in Zeile 2 deklariert: Ziele ändern beide Zellen, gelesen wird die erste"}},
  });
}

TEST(Check, Comments) {
  ExpectFindings({
      {".text\n  mov cmd, \"it's\"\n  mov cmd, \"it\\'s\"\n",
       {"p.pel:2:15: Warnung: Das ' beginnt einen Kommentar, auch zwischen Anführungszeichen: der Rest der Zeile fällt weg (\\' schreibt ein ')"}},
      {".text\n/' open\n  end\n",
       {"p.pel:2:1: Warnung: Der Blockkommentar wird nie geschlossen: alle Zeilen bis zum Ende sind Kommentar (eine Zeile, die mit '/ beginnt, schließt ihn)"}},
  });
}

TEST(Check, Reachability) {
  ExpectFindings({
      {".text\n  end\n  inc cx\n  inc cx\nx:\n  inc cx\n",
       {"p.pel:3:3: Warnung: Die Zeile wird nie ausgeführt: davor steht 'end' (Zeile 2), und keine Marke führt hierher"}},
      {".text\n  inc cx\nmain:\n  end\n",
       {"p.pel:2:3: Warnung: Die Zeile wird nie ausgeführt: das Programm beginnt bei 'main:' (Zeile 3), und keine Marke führt hierher"}},
  });
}
// The program itself: the report on standard output, nothing on standard error, the exit status;
// every bundled example passes.
TEST(CheckCommand, ReportsOnStandardOutputWithTheExitStatus) {
  TempDir dir;
  const std::string bad = dir.Write("bad.pel", ".text\n  MOV cx, 1\n");
  const std::string missing = dir.path() + "/missing.pel";
  std::vector<CheckRun> runs = {
      {bad, bad + ":2:3: Warnung: Unbekannter Befehl 'MOV', die Zeile tut nichts; Befehle werden klein geschrieben: 'mov'\n", "", 1},
      {missing, "", "DEBUG >> pelko kann die Datei '" + missing + "' nicht oeffnen!", 255},
  };
  for (const auto& entry : std::filesystem::directory_iterator(std::string(SOURCE_DIR) + "/examples/pelko"))
    if (entry.path().extension() == ".pel") runs.push_back({entry.path().string(), "", "", 0});
  ExpectCheckRuns(PELKO_BIN, runs);
}

}  // namespace
