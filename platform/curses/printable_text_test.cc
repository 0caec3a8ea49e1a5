#include "platform/curses/printable_text.h"

#include <gtest/gtest.h>

#include "platform/curses/box_text.h"

namespace {

using Lines = std::vector<std::string>;

TEST(PrintableTextTest, OnlyPrintableAsciiPasses) {
  for (int byte = 0; byte < 256; ++byte) {
    const char c = static_cast<char>(byte);
    const bool printable = byte >= 0x20 && byte <= 0x7E;
    EXPECT_EQ(PrintableChar(c), printable ? c : kReplacementChar) << "byte " << byte;
  }
}

TEST(PrintableTextTest, EscapeSequencesCannotReachTheTerminal) {
  // ESC and the 8-bit CSI each start a sequence; a NUL must not end the text early.
  EXPECT_EQ(PrintableText(std::string("\x1b[31mRED\x9b"
                                      "2J\0!",
                                      13)),
            "?[31mRED?2J?!");
}

TEST(BoxTextTest, LineBreaksSplitTheText) {
  EXPECT_EQ(BoxLines("one\ntwo\n\nfour", 40), (Lines{"one", "two", "", "four"}));
  EXPECT_EQ(BoxLines("", 40), (Lines{""}));
  EXPECT_EQ(BoxLines("tab\there\r", 40), (Lines{"tab?here?"}));
}

TEST(BoxTextTest, LongLinesBreakAtSpacesOrAtTheWidth) {
  EXPECT_EQ(BoxLines("Check if the board is properly set", 16),
            (Lines{"Check if the", "board is", "properly set"}));
  EXPECT_EQ(BoxLines("ABCDEFGHIJ KL", 4), (Lines{"ABCD", "EFGH", "IJ", "KL"}));
  EXPECT_EQ(BoxLines("exactly ten", 11), (Lines{"exactly ten"}));
}

}  // namespace
