// The maintenance commands of the real program in batch mode on the simulated T1 and T2: output,
// exit status, test_dat.txt and the request trace.
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <sstream>

#include "tests/support/hex_text.h"
#include "tests/support/run_program.h"

namespace {

using Lines = std::vector<std::string>;

constexpr char kConfirm1[] =
    "box Scanner Self-diagnostics1: Scanner Self-diagnostics1 is executed. \\nPlease don't set a "
    "film. \\nIt takes tens of seconds.";
constexpr char kConfirm2[] =
    "box Scanner Self-diagnostics2: Scanner Self-diagnostics2 is executed. \\nPlease don't set a "
    "film. ";
constexpr size_t kStartLines = 5;      // "# start" and the welcome page
constexpr size_t kSearchRequests = 3;  // INQUIRY of targets 0 to 2

ProgramRun ScanFs(const std::string& config, const std::string& commands,
                  const std::string& prepare = "") {
  return RunProgram(SCAN_FS_BINARY,
                    {"--simulate=" + config, "--batch", commands, "--trace", "trace.jsonl"},
                    RunOptions::Prepared(prepare));
}

Lines AfterStart(const ProgramRun& run) {
  const Lines lines = run.OutLines();
  return Lines(lines.begin() + std::min(kStartLines, lines.size()), lines.end());
}

// A text field of one trace line ("" when the line has none).
std::string Field(const std::string& line, const std::string& key) {
  const std::string quoted = "\"" + key + "\":";
  const size_t at = line.find(quoted);
  if (at == std::string::npos) return "";
  const size_t begin = at + quoted.size();
  const size_t end = line.find_first_of(",}", begin);
  std::string value = line.substr(begin, end - begin);
  value.erase(std::remove(value.begin(), value.end(), '"'), value.end());
  return value;
}

// The trace after the start-up search, each request as "FLAGS BUFLEN CDB".
Lines Requests(const ProgramRun& run, std::vector<std::string>* received = nullptr) {
  std::istringstream trace(run.File("trace.jsonl"));
  Lines requests;
  size_t index = 0;
  for (std::string line; std::getline(trace, line); ++index) {
    if (index < kSearchRequests) continue;
    requests.push_back(Field(line, "flags") + " " + Field(line, "buflen") + " " +
                       Field(line, "cdb"));
    if (received != nullptr) received->push_back(Field(line, "in"));
  }
  return requests;
}

TEST(DiagnosticsEndToEnd, T2DumpHoldsWhatTheScannerSentAndEveryRequestIsAsBuilt) {
  const ProgramRun run = ScanFs("", "save,diag1,diag2");
  EXPECT_EQ(run.exitStatus, 0) << run.err;
  EXPECT_EQ(
      AfterStart(run),
      (Lines{"# save", "box Information: Scanner Data has saved.\\n (Filename : test_dat.txt)",
             "# diag1", kConfirm1, "line 10 10 ** Scanner Self-diagnostics1 **",
             "line 20 35 Scanner has no problem.    ", "# diag2", kConfirm2,
             "line 10 10 ** Scanner Self-diagnostics2 **",
             "line 20 35 Scanner has no problem.    "}));

  std::vector<std::string> received;
  EXPECT_EQ(Requests(run, &received),
            (Lines{"0 0 000000000000", "8 512 3c02f900000000020000", "8 4 3c020500000000000400",
                   "0 0 000000000000", "24 0 1d0400000000", "0 0 000000000000", "24 0 1d1200000000",
                   "8 5 3c020400000000000500"}));
  ASSERT_EQ(received.size(), 8u);
  const std::vector<uint8_t> words = HexBytes(received[1]);
  const std::vector<uint8_t> pair = HexBytes(received[2]);
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

TEST(DiagnosticsEndToEnd, AFullDiskIsAWarningNotASuccess) {
  const ProgramRun run = ScanFs("", "save", "ln -s /dev/full test_dat.txt");
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_EQ(AfterStart(run), (Lines{"# save", "box Warning: File was not closed.",
                                    "line 10 10 ** Save Scanner Data **"}));
}

// A script tells a faulty scanner from a sound one by the exit status; a result block is never
// taken from an earlier run when the test did not reach the scanner. The pages themselves are the
// unit tests' (diagnostics/self_diagnostics_test.cc).
TEST(DiagnosticsEndToEnd, VerdictsAndExitStatuses) {
  struct Case {
    const char* config;
    const char* commands;
    int exitStatus;
    const char* lastLine;
  };
  const std::vector<Case> cases = {
      {"", "diag1,diag2", 0, "line 20 35 Scanner has no problem.    "},
      {"selftest=fail", "diag1", 1, "line 20 55 (Lamp error)"},
      {"logictest=40", "diag2", 1, "line 20 55 (Error of Gatearrey(CMOS))"},
      {"logictest=40,fail=diag@2:04:11", "diag2,diag2", 1,
       "line 10 10 ** Scanner Self-diagnostics2 **"},
      {"model=none", "diag1", 1,
       "box Warning: Scanner is not found.\\nCheck if the cable is properly connected\\nand the "
       "power is on."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.config);
    const ProgramRun run = ScanFs(c.config, c.commands);
    EXPECT_EQ(run.exitStatus, c.exitStatus);
    EXPECT_EQ(run.OutLines().back(), c.lastLine);
  }
}

// A stop asked while the search of a command finds the scanner ends the command there: the data
// dump sends nothing and writes no file. The start-up search failed at the scanner's first
// INQUIRY; every request takes two seconds, and the signal comes once that first one has ended.
TEST(DiagnosticsEndToEnd, AStopDuringTheSearchEndsTheCommand) {
  const ProgramRun run = RunProgram(SCAN_FS_BINARY,
                                    {"--simulate=scanner=0:0,fail=inquiry@1,late=2000", "--batch",
                                     "save", "--trace", "trace.jsonl"},
                                    RunOptions::SignalledWhen(SIGTERM, "trace.jsonl", "\"cdb\""));
  EXPECT_EQ(run.exitStatus, 128 + SIGTERM);
  EXPECT_EQ(run.OutLines().back(), "# save");
  std::istringstream trace(run.File("trace.jsonl"));
  Lines cdbs;
  for (std::string line; std::getline(trace, line);) cdbs.push_back(Field(line, "cdb"));
  EXPECT_EQ(cdbs, (Lines{"120000002400", "120000002400"}));
  EXPECT_EQ(run.File("test_dat.txt"), "");
}

}  // namespace
