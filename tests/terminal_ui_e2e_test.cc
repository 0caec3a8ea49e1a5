// The real program in its terminal user interface, driven through tmux as a user would drive it.
#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/tmux_session.h"

namespace {

using Rows = std::vector<std::string>;

constexpr char kWindowTitle[] = "Quorvel Scanner Test";
constexpr size_t kPageColumns = 54;
constexpr size_t kPageRows = 16;

// The page as shown, without trailing blanks: the rows inside the main window's frame, which
// start three rows under the title line (menu bar, frame) in the title's column.
Rows PageRows(const std::string& screenText) {
  const Rows screen = SplitLines(screenText);
  for (size_t row = 0; row < screen.size(); ++row) {
    const size_t column = screen[row].find(kWindowTitle);
    if (column == std::string::npos) continue;
    Rows page;
    for (size_t i = row + 3; i < row + 3 + kPageRows && i < screen.size(); ++i) {
      const std::string cells =
          column < screen[i].size() ? screen[i].substr(column, kPageColumns) : "";
      page.push_back(cells.substr(0, cells.find_last_not_of(' ') + 1));
    }
    return page;
  }
  return {};
}

const Rows kWelcomePage({"  **** Quorvel Scanner Testing Program ****", "",
                         "       Select the item to be tested", "       from the Function menu.",
                         "", "", "        (Scanner : Tessaline T1/T2)"});

class TerminalUiTest : public testing::Test {
 protected:
  TmuxSession& Start(const Rows& command, int columns = 80, int rows = 24) {
    session_ = std::make_unique<TmuxSession>(command, columns, rows);
    return *session_;
  }
  // Waits for the page to show `rows`, then blank rows.
  void ExpectPage(Rows expected) {
    expected.resize(kPageRows);
    EXPECT_TRUE(session_->WaitFor([&] { return PageRows(session_->ScreenText()) == expected; }))
        << session_->ScreenText();
  }
  // Waits for the screen to show `text`, or, with `shown` false, to show it no more.
  void ExpectText(const std::string& text, bool shown = true) {
    EXPECT_TRUE(session_->WaitForText(text, shown))
        << (shown ? "no \"" : "still \"") << text << "\" in\n"
        << session_->ScreenText();
  }
  // The program ended with `status` and left the terminal as it found it (endwin gives back the
  // saved modes together, so one of them tells).
  void ExpectEnd(int status) {
    EXPECT_EQ(session_->WaitForExit(), status)
        << session_->File("stderr.txt") << session_->ScreenText();
    const std::string settings = session_->File("stty.txt");
    EXPECT_NE(settings.find(" icanon"), std::string::npos) << settings;
  }

  std::unique_ptr<TmuxSession> session_;
};

// Boxes close with Escape; a failed start-up leaves the page blank and the commands offered, and
// a search then has no adapter to try (the simulated T2 would be found) and finds no scanner.
TEST_F(TerminalUiTest, AFailedStartUpBoxClosesWithEscape) {
  TmuxSession& tui = Start({SCAN_FS_BINARY, "--simulate=aspi=E8,adapters=3"});
  ExpectText("(X) ASPI driver for Windows is not properly working.");
  tui.Press({"Escape"});
  ExpectPage({});  // the box closed; start-up stopped before the welcome page
  tui.Press({"M-f", "c"});
  ExpectText("(X) Scanner is not found.");
}

// Grayed items are dim; a terminal without dim shows them in parentheses. Their access keys do
// nothing, and the arrows pass them and wrap around at either end.
TEST_F(TerminalUiTest, GrayedItemsOfAT1AreMarkedSkippedAndRefused) {
  for (const std::string term : {"screen", "vt100"}) {
    TmuxSession& tui = Start({"env", "TERM=" + term, SCAN_FS_BINARY, "--simulate=model=t1"});
    ExpectPage(kWelcomePage);
    tui.Press({"M-f"});
    ExpectText("Save Scanner Data");
    const Rows plain = SplitLines(tui.ScreenText()), styled = SplitLines(tui.ScreenText(true));
    for (const auto& [item, grayed] :
         {std::pair{"Save Scanner Data", true}, {"Scanner Information", false}}) {
      for (size_t row = 0; row < plain.size() && row < styled.size(); ++row) {
        if (plain[row].find(item) == std::string::npos) continue;
        EXPECT_EQ(term == "vt100"
                      ? plain[row].find("(" + std::string(item) + ")") != std::string::npos
                      : styled[row].find("\x1b[2m") != std::string::npos,
                  grayed)
            << term << ": " << plain[row];
      }
    }
    // Up wraps from the first item to Exit, then passes the grayed second self-diagnostic to the
    // first; five Down go round to it again, passing both grayed items and wrapping to the top.
    tui.Press({"s", "g", "Up", "Up", "Up", "Down", "Down", "Down", "Down", "Down", "Enter"});
    ExpectText("Scanner Self-diagnostics1 is executed.");
  }
}

// A terminal too narrow or too low by one shows a message, and keys wait until it is large
// enough. At the smallest that is, a box stands over the page, whose first block is already
// drawn; the scan dialog checks one button per group, Tab goes Scan, Cancel, then group by group,
// and the scan runs as chosen, showing its progress and the busy mark, not the ended dialog.
// Ctrl+C stops it (how a scan stops: the batch-mode scan test) and the program closes as its
// close box does.
TEST_F(TerminalUiTest, ATooSmallTerminalWaitsAndTheSmallestHoldsABoxAndAScan) {
  TmuxSession& tui = Start({SCAN_FS_BINARY, "--simulate=adapters=3,reject=1,readtime=60"}, 50, 15);
  ExpectText("The terminal is too small.");
  tui.Press({"M-f", "c"});  // kept, in order, for the large enough terminal
  tui.Resize(80, 24);
  // The menu closed too: it would cover the page.
  ExpectPage({" ** Scanner Information **", "  Scanner ID(Board# 0) : 2",
              "  Vendor  ID           : QUORVEL",
              "  Product ID           : ZR-40123B(Tessaline T2)", "  ROM Version          : 1.32"});
  for (const auto& [columns, rows] : {std::pair{55, 20}, {56, 19}}) {
    tui.Resize(columns, rows);
    ExpectText("The terminal is too small.");
    tui.Resize(56, 20);
    ExpectText("** Scanner Information **");
  }
  // F10 selects the menu bar, Enter opens the first menu and chooses its first item.
  tui.Press({"F10", "Enter", "Enter"});
  ExpectText("Warning");  // the caption
  ExpectText("(X) SCSI Board Information was not gained.");
  ExpectText("      Check if the board is properly set");
  EXPECT_EQ(PageRows(tui.ScreenText()).at(1), "  Host Adapter ID(Board# 0) : 7");
  tui.Press({"o"});
  ExpectText("Sim SCSI Host 2");  // the box closed, and the page goes on
  tui.Press({"M-f", "n"});
  ExpectText("[ Scan ]");
  tui.Press({"Tab", "Tab", "Down"});
  for (const char* text : {"( ) 340 dpi", "(*) 680 dpi", "(*) Save to Tiff file"}) ExpectText(text);
  tui.Press({"Tab", "Tab", "Enter"});
  ExpectText("Please wait...");
  ExpectText(" of 1889568 bytes");
  ExpectText("Resolution", false);
  tui.Press({"C-c"});
  ExpectEnd(0);
}

// Every way to close the program while it waits for a key ends it with status 0; any other
// ending signal ends it at once. During a self-test (the busy mark shown) a Ctrl+C or SIGTERM
// waits for the test, then ends the program; a second Ctrl+C does not wait.
TEST_F(TerminalUiTest, EveryWayToEndGivesTheTerminalBack) {
  struct Case {
    // Keys in order; "?text" waits until the screen shows the text, "!text" until it does not.
    std::vector<std::string> steps;
    int signalNumber;  // sent after the steps, 0 for none
    int exitStatus;
    bool testEnded;  // the trace holds the completed SEND DIAGNOSTIC
  };
  const Case cases[] = {
      {{"M-f", "X"}, 0, 0, false},  // access letters in either case
      {{"M-h", "a", "?Version", "Enter", "q"}, 0, 0, false},
      // Escape cancels the scan dialog and is not taken as Alt with the next key.
      {{"M-f", "n", "?dpi", "Escape", "!dpi", "M-f", "n", "?dpi", "C-c"}, 0, 0, false},
      {{"F10", "C-c"}, 0, 0, false},
      {{"C-c"}, 0, 0, false},
      {{}, SIGTERM, 128 + SIGTERM, false},
      {{}, SIGHUP, 128 + SIGHUP, false},
      {{"M-f", "d", "?executed", "Enter", "?Please wait", "C-c"}, 0, 0, true},
      {{"M-f", "d", "?executed", "Enter", "?Please wait"}, SIGTERM, 128 + SIGTERM, true},
      {{"M-f", "d", "?executed", "Enter", "?Please wait", "C-c", "C-c"}, 0, 128 + SIGINT, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "case " << &c - cases);
    TmuxSession& tui = Start({SCAN_FS_BINARY, "--simulate=selftime=1500", "--trace", "t.jsonl"});
    ExpectPage(kWelcomePage);
    for (const std::string& step : c.steps) {
      if (step[0] == '?' || step[0] == '!') {
        ExpectText(step.substr(1), step[0] == '?');
      } else {
        tui.Press({step});
        // Apart: two Ctrl+C that arrive before the first signal is handled merge into one.
        if (step == "C-c") std::this_thread::sleep_for(std::chrono::milliseconds(200));
      }
    }
    ASSERT_TRUE(c.signalNumber == 0 || kill(std::stoi(tui.File("pid")), c.signalNumber) == 0);
    ExpectEnd(c.exitStatus);
    EXPECT_EQ(tui.File("t.jsonl").find("\"cdb\":\"1d0400000000\"") != std::string::npos,
              c.testEnded);
  }
}

// In batch mode a Ctrl+C typed at the terminal ends the program as the signal does, once the
// self-test that it interrupted has ended.
TEST_F(TerminalUiTest, ACtrlCAtTheTerminalEndsBatchModeAsTheSignalDoes) {
  TmuxSession& tui = Start({SCAN_FS_BINARY, "--simulate=selftime=1500", "--batch", "board,diag1"});
  ExpectText("# diag1");
  tui.Press({"C-c"});
  ExpectEnd(128 + SIGINT);
}

// Without TERM, with an unknown TERM, and with standard input not a terminal.
TEST_F(TerminalUiTest, WithoutAUsableTerminalOneLineAndStatusOne) {
  for (const std::string setUp : {"unset TERM", "export TERM=nonexistent", "exec </dev/null"}) {
    Start({"sh", "-c", setUp + "; exec \"$0\" --simulate", SCAN_FS_BINARY});
    ExpectEnd(1);
    const std::string error = session_->File("stderr.txt");
    EXPECT_TRUE(error.rfind("scan_fs: ", 0) == 0 && error.find('\n') == error.size() - 1) << error;
  }
}

}  // namespace
