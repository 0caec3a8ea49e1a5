// The maintenance commands of the real program in batch mode on the simulated T2: output, exit
// status, test_dat.txt and the request trace.
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>

#include "tests/support/run_program.h"
#include "tests/support/test_text.h"

namespace {

using Lines = std::vector<std::string>;

ProgramRun ScanFs(const std::string& config, const std::string& commands,
                  const RunOptions& options = {}) {
  return RunProgram(SCAN_FS_BINARY,
                    {"--simulate=" + config, "--batch", commands, "--trace", "trace.jsonl"},
                    options);
}

// One field of each line of the trace, without quotes; "" where the line has none.
Lines Trace(const ProgramRun& run, const std::string& key) {
  Lines fields;
  for (const std::string& line : SplitLines(run.File("trace.jsonl"))) {
    const size_t at = line.find("\"" + key + "\":\"");
    const size_t begin = at == std::string::npos ? line.size() : at + key.size() + 4;
    fields.push_back(line.substr(begin, line.find('"', begin) - begin));
  }
  return fields;
}

// test_dat.txt holds what the scanner sent, as the trace saw it arrive (the requests themselves:
// the unit tables): the product, two empty lines, 256 little-endian words, an empty line and two
// big-endian counters, each line ending in CR LF.
TEST(DiagnosticsEndToEnd, T2DumpHoldsWhatTheScannerSent) {
  const ProgramRun run = ScanFs("", "save,diag1,diag2");
  EXPECT_EQ(run.exitStatus, 0) << run.err;
  const Lines received = Trace(run, "in");
  ASSERT_EQ(received.size(), 11u);
  const std::vector<uint8_t> words = HexBytes(received[4]);
  const std::vector<uint8_t> pair = HexBytes(received[5]);
  ASSERT_EQ(words.size(), 512u);
  ASSERT_EQ(pair.size(), 4u);
  std::string expected = "ZR-40123B\r\n\r\n\r\n";
  for (size_t k = 0; k < 256; ++k) {
    expected += std::to_string(words[2 * k] | words[2 * k + 1] << 8) + "\r\n";
  }
  expected += "\r\n" + std::to_string(pair[0] << 8 | pair[1]) + "\r\n" +
              std::to_string(pair[2] << 8 | pair[3]) + "\r\n";
  EXPECT_EQ(run.File("test_dat.txt"), expected);
}

// A script tells a faulty scanner from a sound one (status 0, above) by the exit status, after
// either self-diagnostic.
TEST(DiagnosticsEndToEnd, AFaultyScannerEndsWithStatusOne) {
  for (const auto& [config, command, detail] :
       {std::tuple{"selftest=fail", "diag1", "line 20 55 (Lamp error)"},
        std::tuple{"logictest=22", "diag2", "line 20 55 (Error of Offset RAM)"}}) {
    const ProgramRun run = ScanFs(config, command);
    EXPECT_EQ(run.exitStatus, 1) << command;
    EXPECT_EQ(run.OutLines().back(), detail);
  }
}

// A stop asked while the search of a command finds the scanner ends the command there: the data
// dump sends nothing and writes no file. The start-up search failed at the scanner's first
// INQUIRY; every request takes two seconds, and the signal comes once that first one has ended.
TEST(DiagnosticsEndToEnd, AStopDuringTheSearchEndsTheCommand) {
  const ProgramRun run = ScanFs("scanner=0:0,fail=inquiry@1,late=2000", "save",
                                RunOptions::SignalledWhen(SIGTERM, "trace.jsonl", "\"cdb\""));
  EXPECT_EQ(run.exitStatus, 128 + SIGTERM);
  EXPECT_EQ(run.OutLines().back(), "# save");
  EXPECT_EQ(Trace(run, "cdb"), (Lines{"120000002400", "120000002400"}));
  EXPECT_EQ(run.File("test_dat.txt"), "");
}

}  // namespace
