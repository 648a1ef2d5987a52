// Running pelko sources in-process for tests: the console captured, a fake clock, a fixed random
// seed, and runs through both the literal walks and the decoded rows.
#pragma once
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "pelko/entry.h"
#include "runtime/clock.h"
#include "runtime/console.h"
#include "runtime/process.h"
#include "runtime/random.h"
#include "tests/testlib/pelko/run_ways.h"
#include "tests/testlib/runtime/console_capture.h"
#include "tests/testlib/runtime/fake_clock.h"

namespace orvelt::pelko_test {

struct Outcome {
  std::string out;
  std::string err;
  int status = 0;
  bool ended = true;  // false when the row budget ran out

  bool operator==(const Outcome& other) const {
    return out == other.out && err == other.err && status == other.status && ended == other.ended;
  }
};

inline std::ostream& operator<<(std::ostream& os, const Outcome& o) {
  return os << "{out=\"" << o.out << "\" err=\"" << o.err << "\" status=" << o.status
            << (o.ended ? "" : " budget spent") << "}";
}

struct RunSetup {
  std::string input;
  bool literal = false;
  uint64_t rowBudget = 100000;
  int32_t seed = 12345;
  bool frameTimer = false;  // a 60 Hz frame timer on the fake clock for "wait"
  bool traced = false;      // the decoded rows with the trace on standard error
};

// Runs a source (UTF-8 bytes, decoded as a file is) and captures what it writes.
inline Outcome RunPelko(const std::string& source, const RunSetup& setup = {}) {
  ConsoleCapture console(setup.input);
  FakeClock clock(1000, 1);  // 1 ms per reading
  SeedRandom(setup.seed);
  pelko::SourceRun run;
  run.startTime = 777;
  pelko::RunWay way;
  way.literal = setup.literal;
  way.rowBudget = setup.rowBudget;
  way.traced = setup.traced;
  if (setup.frameTimer) run.frameTimer = CreateTickTimer(60);
  Outcome outcome;
  try {
    pelko::RunSourceWay(DecodeBytes(source), run, way);
    outcome.ended = false;
  } catch (const ProgramExit& exit) {
    outcome.status = exit.status;
  }
  ReleaseTickTimer(run.frameTimer);
  outcome.out = console.Out();
  outcome.err = console.Err();
  return outcome;
}

// Runs through the literal walks and through the decoded rows, expects the same outcome from both
// and the same output and end from a traced run, and returns the decoded run's outcome.
inline Outcome RunBothWays(const std::string& source, RunSetup setup = {}) {
  setup.literal = true;
  Outcome literal = RunPelko(source, setup);
  setup.literal = false;
  Outcome decoded = RunPelko(source, setup);
  EXPECT_EQ(literal, decoded) << "literal and decoded runs differ for:\n" << source;
  setup.traced = true;
  Outcome traced = RunPelko(source, setup);
  traced.err = decoded.err;  // the trace lines come on top of the messages
  EXPECT_EQ(traced, decoded) << "the traced run differs for:\n" << source;
  return decoded;
}

// Console lines as pelko writes them.
inline std::string Lines(std::initializer_list<const char*> lines) {
  std::string text;
  for (const char* line : lines) text += std::string(line) + "\r\n";
  return text;
}

}  // namespace orvelt::pelko_test
