// The real program in its terminal user interface, driven through tmux as a user would drive it.
#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/run_program.h"
#include "tests/support/tmux_session.h"

namespace {

using Rows = std::vector<std::string>;

constexpr char kWindowTitle[] = "Quorvel Scanner Test";
constexpr size_t kPageColumns = 54;
constexpr size_t kPageRows = 16;

// The page as shown: the rows inside the main window's frame, without trailing blanks. The
// page starts three rows under the title line (menu bar, frame) in the title's column.
Rows PageRows(const ScreenLines& screen) {
  for (size_t row = 0; row < screen.size(); ++row) {
    const size_t column = screen[row].find(kWindowTitle);
    if (column == std::string::npos) continue;
    Rows page;
    for (size_t i = 0; i < kPageRows && row + 3 + i < screen.size(); ++i) {
      const std::string& line = screen[row + 3 + i];
      std::string cells = column < line.size() ? line.substr(column, kPageColumns) : "";
      page.push_back(cells.substr(0, cells.find_last_not_of(' ') + 1));
    }
    return page;
  }
  return {};
}

// A line of the screen with its attributes taken out: the escape sequences that set them, and
// the shifts to and from line drawing.
std::string WithoutAttributes(const std::string& line) {
  std::string text;
  for (size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '\x1b') {
      i = line.find('m', i);
      if (i == std::string::npos) break;
    } else if (line[i] != '\x0e' && line[i] != '\x0f') {
      text += line[i];
    }
  }
  return text;
}

// The first `count` rows of the page, then blank rows only.
Rows PageStart(const Rows& rows) {
  Rows page = rows;
  page.resize(kPageRows);
  return page;
}

const Rows kWelcomePage = PageStart(
    {"  **** Quorvel Scanner Testing Program ****", "", "       Select the item to be tested",
     "       from the Function menu.", "", "", "        (Scanner : Tessaline T1/T2)"});

class TerminalUiTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(std::system("tmux -V >/dev/null 2>&1"), 0)
        << "these tests need tmux (make test installs it)";
  }

  TmuxSession& Start(const std::vector<std::string>& arguments,
                     const TerminalOptions& terminal = {}) {
    session_ = std::make_unique<TmuxSession>(SCAN_FS_BINARY, arguments, terminal);
    return *session_;
  }
  // Waits for the page to become `expected`; on failure shows the screen.
  void ExpectPage(const Rows& expected) {
    Rows shown;
    const bool reached = session_->WaitFor([&](const ScreenLines& screen) {
      shown = PageRows(screen);
      return shown == expected;
    });
    EXPECT_TRUE(reached) << Dump();
    EXPECT_EQ(shown, expected);
  }
  void ExpectText(const std::string& text) {
    EXPECT_TRUE(session_->WaitForText(text)) << "no \"" << text << "\" in\n" << Dump();
  }
  void ExpectNoText(const std::string& text) {
    EXPECT_TRUE(session_->WaitForNoText(text)) << "still \"" << text << "\" in\n" << Dump();
  }
  void ExpectExitStatus(int expected) {
    const std::optional<int> status = session_->WaitForExit();
    ASSERT_TRUE(status.has_value()) << "the program did not end\n" << Dump();
    EXPECT_EQ(*status, expected) << session_->ErrorOutput();
  }
  std::string Dump() const {
    std::string text;
    for (const std::string& line : session_->Screen()) text += line + "\n";
    return text;
  }

  std::unique_ptr<TmuxSession> session_;
};

// Boxes close with Escape or their access letter; a box over the page leaves what is drawn.
TEST_F(TerminalUiTest, BoxesCloseWithEscapeOrTheirAccessLetter) {
  TmuxSession& startUp = Start({"--simulate=aspi=E8"});
  ExpectText("(X) ASPI driver for Windows is not properly working.");
  startUp.Press({"Escape"});
  ExpectNoText("(X)");
  ExpectPage(PageStart({}));  // start-up stopped before the welcome page

  // F10 selects the menu bar, Enter opens the first menu and chooses its first item.
  TmuxSession& board = Start({"--simulate=adapters=3,reject=1"});
  ExpectPage(kWelcomePage);
  board.Press({"F10", "Enter", "Enter"});
  for (const char* text : {"Warning", "(X) SCSI Board Information was not gained.",
                           "      Check if the board is properly set",
                           "      and the driver is properly installed.", "[ OK ]"}) {
    ExpectText(text);
  }
  // The box stands over the page, whose first block is already drawn.
  EXPECT_EQ(PageRows(board.Screen()).at(1), "  Host Adapter ID(Board# 0) : 7");
  board.Press({"o"});
  ExpectNoText("(X)");
  ExpectPage(PageStart({" ** SCSI Board Information **", "  Host Adapter ID(Board# 0) : 7",
                        "  ASPI Manager              : Sim ASPI Manager",
                        "  ASPI Manager Name         : Sim SCSI Host 0", "", "", "",
                        "  Host Adapter ID(Board# 2) : 7",
                        "  ASPI Manager              : Sim ASPI Manager",
                        "  ASPI Manager Name         : Sim SCSI Host 2"}));
}

TEST_F(TerminalUiTest, GrayedItemsOfAT1AreMarkedSkippedAndRefused) {
  for (const char* term : {"screen", "vt100"}) {
    SCOPED_TRACE(term);
    TmuxSession& tui = Start({"--simulate=model=t1"}, {80, 24, term});
    ExpectPage(kWelcomePage);
    tui.Press({"M-f"});
    ExpectText("Save Scanner Data");
    // Grayed items are dim; a terminal without dim shows them in parentheses.
    const bool canDim = term == std::string("screen");
    for (const std::string& line : tui.ScreenWithAttributes()) {
      const std::string text = WithoutAttributes(line);
      const bool marked = canDim
                              ? line.find("\x1b[2m") != std::string::npos
                              : text.find("(Save Scanner Data)") != std::string::npos ||
                                    text.find("(Scanner Self-diagnostics 2)") != std::string::npos;
      for (const char* grayed : {"Save Scanner Data", "Scanner Self-diagnostics 2"}) {
        EXPECT_TRUE(text.find(grayed) == std::string::npos || marked) << text;
      }
      for (const char* enabled : {"Scanner Information", "Scanner Self-diagnostics 1"}) {
        EXPECT_TRUE(text.find(enabled) == std::string::npos || !marked) << text;
      }
    }
    // Their access keys do nothing: the menu stays, the page does not change.
    tui.Press({"s", "g"});
    tui.Press({"Home", "Down", "Down", "Down", "Enter"});
    // From Scanner Information, two steps down pass both grayed items to the scan command.
    ExpectText("Scan (Negative Film)");
    ExpectText("Resolution");
  }
}

TEST_F(TerminalUiTest, ScanDialogRadioButtonsCheckOnePerGroup) {
  TmuxSession& tui = Start({"--simulate"}, {56, 20});
  ExpectPage(kWelcomePage);
  tui.Press({"M-f", "n"});
  ExpectText("Scan (Negative Film)");
  for (const char* text :
       {"Resolution", "How to Scan", "340 dpi", "680 dpi", "1360 dpi", "2720 dpi",
        "Read in memory (no file)", "Save to Tiff file", "[ Scan ]", "[ Cancel ]"}) {
    ExpectText(text);
  }
  // Tab passes Cancel to the resolution group; the arrows move the check.
  tui.Press({"Tab", "Tab", "Down", "Down"});
  ExpectText("(*) 1360 dpi");
  const ScreenLines screen = tui.Screen();
  for (const char* other : {"( ) 340 dpi", "( ) 680 dpi", "( ) 2720 dpi"}) {
    EXPECT_TRUE(ScreenHas(screen, other)) << other;
  }
  tui.Press({"Up"});
  ExpectText("(*) 680 dpi");
  ExpectText("( ) 1360 dpi");
  tui.Press({"Escape"});
  ExpectNoText("Scan (Negative Film)");
  ExpectPage(PageStart({}));  // the command cleared the page before the dialog
}

TEST_F(TerminalUiTest, TooSmallTerminalShowsAMessageAndKeysWaitUntilItGrows) {
  TmuxSession& tui = Start({"--simulate"}, {50, 15});
  ExpectText("The terminal is too small.");
  tui.Press({"M-f", "c"});  // kept, in order, for the large enough terminal
  tui.Resize(80, 24);
  ExpectPage(PageStart({" ** Scanner Information **", "  Scanner ID(Board# 0) : 2",
                        "  Vendor  ID           : QUORVEL",
                        "  Product ID           : ZR-40123B(Tessaline T2)",
                        "  ROM Version          : 1.32"}));
  ExpectNoText("Exit");  // the menu closed
  tui.Resize(56, 19);
  ExpectText("The terminal is too small.");
  tui.Resize(56, 20);
  ExpectText("** Scanner Information **");
}

// At the smallest terminal a scan shows its progress and the busy mark, not the ended dialog.
// Ctrl+C stops it at the next request: the scanner is positioned and released, img_fs.tif is
// plainly no TIFF, and the program closes as its close box does.
TEST_F(TerminalUiTest, AScanShowsItsProgressAndCtrlCStopsItCleanly) {
  TmuxSession& tui = Start({"--simulate=readtime=60", "--trace", "t.jsonl"}, {56, 20});
  ExpectPage(kWelcomePage);
  tui.Press({"M-f", "n"});
  ExpectText("[ Scan ]");
  tui.Press({"Enter"});
  ExpectText("Please wait...");
  ExpectText(" of 472392 bytes");
  ExpectNoText("Resolution");
  tui.Press({"C-c"});
  ExpectExitStatus(0);
  EXPECT_NE(tui.TerminalSettingsAfterExit().find(" icanon"), std::string::npos);
  const std::string trace = tui.File("t.jsonl");
  const size_t position = trace.find("\"cdb\":\"31000000000000000000\"");
  ASSERT_NE(position, std::string::npos) << trace;
  EXPECT_NE(trace.find("\"cdb\":\"170000000000\"", position), std::string::npos);
  EXPECT_EQ(tui.File("img_fs.tif").substr(0, 4), std::string("II\0\0", 4));
}

TEST_F(TerminalUiTest, ExitAndEveryCloseEndWithStatusZeroAndARestoredTerminal) {
  const std::vector<std::vector<std::string>> ways = {
      {"M-f", "x"},
      {"q"},
      {"C-c"},
      {"F10", "C-c"},
      {"M-h", "a", "C-c"},
      // The About dialog closes with Enter and with Escape.
      {"M-h", "a", "Enter", "q"},
      {"M-h", "a", "Escape", "q"}};
  for (const std::vector<std::string>& keys : ways) {
    TmuxSession& tui = Start({"--simulate"});
    ExpectPage(kWelcomePage);
    for (const std::string& key : keys) {
      tui.Press({key});
      if (key == "a") ExpectText("Version 1.0b");
      if (key == "Escape") ExpectNoText("Version 1.0b");  // not taken as Alt with the next key
    }
    ExpectExitStatus(0);
    EXPECT_NE(tui.TerminalSettingsAfterExit().find(" icanon"), std::string::npos) << keys[0];
    EXPECT_NE(tui.TerminalSettingsAfterExit().find(" echo "), std::string::npos) << keys[0];
  }
}

// While waiting for a key every ending signal ends the program at once. During a self-test a
// Ctrl+C or SIGTERM waits for the test, then ends the program; a second Ctrl+C does not wait.
TEST_F(TerminalUiTest, EndingSignalsAndInterruptionsGiveTheTerminalBack) {
  struct Case {
    bool duringTest;
    std::vector<std::string> keys;
    int signalNumber;  // sent after the keys, 0 for none
    int exitStatus;
    bool testEnded;  // the trace holds the completed SEND DIAGNOSTIC
  };
  const std::vector<Case> cases = {
      {false, {}, SIGTERM, 128 + SIGTERM, false},
      {false, {}, SIGHUP, 128 + SIGHUP, false},
      {true, {"C-c"}, 0, 0, true},
      {true, {}, SIGTERM, 128 + SIGTERM, true},
      {true, {"C-c", "C-c"}, 0, 128 + SIGINT, false},
  };
  for (const Case& c : cases) {
    TmuxSession& tui = Start({"--simulate=selftime=1500", "--trace", "t.jsonl"});
    ExpectPage(kWelcomePage);
    if (c.duringTest) {
      tui.Press({"M-f", "d"});
      ExpectText("is executed.");
      tui.Press({"Enter"});
      ExpectText("Please wait...");
    }
    // Apart: two Ctrl+C that arrive before the first signal is handled merge into one.
    for (const std::string& key : c.keys) {
      tui.Press({key});
      std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    if (c.signalNumber != 0) {
      ASSERT_EQ(kill(tui.ProgramPid(), c.signalNumber), 0);
    }
    ExpectExitStatus(c.exitStatus);
    EXPECT_NE(tui.TerminalSettingsAfterExit().find(" icanon"), std::string::npos);
    EXPECT_NE(tui.TerminalSettingsAfterExit().find(" echo "), std::string::npos);
    EXPECT_EQ(tui.File("t.jsonl").find("\"cdb\":\"1d0400000000\"") != std::string::npos,
              c.testEnded);
  }
}

TEST_F(TerminalUiTest, WithoutAUsableTerminalOneLineAndStatusOne) {
  for (const std::optional<std::string>& term :
       {std::optional<std::string>(), std::optional<std::string>("no-such-terminal")}) {
    TmuxSession& tui = Start({"--simulate"}, {80, 24, term});
    ExpectExitStatus(1);
    const std::string error = tui.ErrorOutput();
    EXPECT_EQ(error.rfind("scan_fs: ", 0), 0u) << error;
    EXPECT_EQ(std::count(error.begin(), error.end(), '\n'), 1) << error;
  }
  const ProgramRun piped = RunProgram(
      "/bin/sh", {"-c", std::string("exec \"$0\" --simulate </dev/null"), SCAN_FS_BINARY});
  EXPECT_EQ(piped.exitStatus, 1);
  EXPECT_EQ(piped.out, "");
  EXPECT_EQ(piped.err.rfind("scan_fs: ", 0), 0u) << piped.err;
  EXPECT_EQ(std::count(piped.err.begin(), piped.err.end(), '\n'), 1) << piped.err;
}

}  // namespace
